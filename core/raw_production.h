// Raw productions: a rule as the rule-file readers of the grammar compilers
// leave it, before it is compiled. The production owns its symbols.
#pragma once

#include <cstdint>
#include <set>
#include <vector>

#include "core/symbol_table.h"
#include "core/wide_string.h"

class CRawSymbol {
 public:
  CRawSymbol();
  CRawSymbol(const WString& text, const WString& annotation, uint8_t flag);
  ~CRawSymbol();
  CRawSymbol(const CRawSymbol& other);
  CRawSymbol& operator=(const CRawSymbol&) = default;

  CRawSymbol* Clone() const;

  WString Text;
  WString Annotation;  // functional annotation text, such as "^=!"
  uint8_t Flag = 0;

  static int liveInstances;
};

class CRawProduction {
 public:
  CRawProduction();
  // Deletes the mother and every daughter.
  ~CRawProduction();
  CRawProduction(const CRawProduction&) = delete;
  CRawProduction& operator=(const CRawProduction&) = delete;

  // "lhs ==> rhs1 rhs2 ... \n" on the console.
  void Print() const;
  // A message box "Raw Production" listing each daughter with its annotation.
  void Show() const;

  CRawSymbol* Lhs = nullptr;     // owned
  std::vector<CRawSymbol*> Rhs;  // owned, in order
  std::set<SymbolId> Lookahead;  // FIRST ids filled by the grammar compilers

  static int liveInstances;
};
