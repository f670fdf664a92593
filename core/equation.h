// Functional equations of grammar rules and lexical entries: a left operand,
// an operator ('=' defining, 'c' constraining, '$' set membership) and a right
// operand. Each operand is a kind character ('^' mother, '!' own structure,
// 'v' a list of values; the mapping rules use further letters) and a path of
// symbol ids.
#pragma once

#include <cstdint>
#include <vector>

#include "core/symbol_table.h"
#include "core/wide_string.h"

class CEquationOperand {
 public:
  CEquationOperand();
  // Operands of the mapping rules derive from this class; their destructors
  // may throw, and the owners of operands delete them through
  // DeleteSwallowingExceptions (core/swallowing_delete.h).
  virtual ~CEquationOperand() noexcept(false);
  CEquationOperand(const CEquationOperand& other);
  CEquationOperand& operator=(const CEquationOperand&) = default;

  CEquationOperand* Clone() const;
  // The kind, a blank, then the path's names separated by blanks.
  WString ToString() const;

  std::vector<SymbolId> path;
  int8_t kind = 0;

  static int liveInstances;
};

// Deletes either operand that is not null.
void DeleteOperandPair(CEquationOperand* a, CEquationOperand* b);

class CEquation {
 public:
  CEquation();
  virtual ~CEquation();
  CEquation(const CEquation&) = delete;
  CEquation& operator=(const CEquation&) = delete;

  CEquation* Clone() const;
  // Left text (or "NULL"), the operator character, right text (or "NULL").
  WString ToString() const;
  // Same operator; per side, same kind and the paths equal as sets of ids.
  // A side missing from both equations counts as equal, a side missing from
  // one of them as different.
  bool IsEqual(const CEquation* other) const;

  CEquationOperand* left = nullptr;   // owned
  CEquationOperand* right = nullptr;  // owned
  WChar op = 0;

  static int liveInstances;
};
