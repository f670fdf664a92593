// Grammar productions with a dot: the compiled rules of the LFG grammar and
// the records the LFG chart parser and the Urdu generator carry in their
// edges. A production owns its mother and daughter symbols; a symbol owns
// its equations.
//
// Every copy made by CProduction::Clone enters the program-wide production
// registry, and the per-sentence reset frees them all at once with
// DeleteGlobalObjectList. A registered production deleted on its own leaves
// the registry, so nothing is freed twice. Copies made with Copy (the grammar's
// own alternative productions) never enter it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/equation.h"
#include "core/symbol_table.h"
#include "core/wide_string.h"

class CFSHandle;
class CFSNode;
class CFileWriter;
// The LFG chart's edge; productions only point at it.
class CChartEdge;

class CProductionSymbol {
 public:
  CProductionSymbol();
  ~CProductionSymbol();
  CProductionSymbol(const CProductionSymbol&) = delete;
  CProductionSymbol& operator=(const CProductionSymbol&) = delete;

  // A copy: constraint texts copied, the F-structure handle cloned when
  // there is one; the filling edge and the equations are shared.
  CProductionSymbol* Clone() const;
  // Same name and kind, pairwise equal equations and constraint texts, and
  // F-structures both absent or both present and equal. False for null.
  bool IsEqual(const CProductionSymbol* other) const;
  // Deletes the F-structure handle and forgets it.
  bool ReleaseFStructure();

  WString name;             // category or terminal name as written in the grammar
  WString word;             // the word form the scanner matched; empty in the grammar
  SymbolId id = kNoSymbol;  // grammar category id, or global id of a terminal
  uint8_t kind = 0;         // 0 category, 1 terminal (name starts 'a'..'z')
  // Owned by the symbol until its first copy, then by the block that it
  // shares with its copies. Equations are complete when a grammar is built
  // and nobody changes them afterwards, so copies need not clone them.
  std::vector<CEquation*> equations;
  std::vector<WString> constraints;  // bracketed and "=c" constraint texts
  CFSHandle* fStructure = nullptr;   // not owned: handles are freed in bulk
  // The Urdu generator's datum: the target F-structure node this daughter is
  // bound to (not owned; nodes are freed in bulk). Copied by Clone.
  CFSNode* generatorNode = nullptr;
  CChartEdge* fillingEdge = nullptr;  // the completed edge that recognised it

  static int liveInstances;

 private:
  // The equations of a symbol and its copies, deleted with the last of them.
  struct SharedEquations {
    explicit SharedEquations(std::vector<CEquation*> owned) : equations(std::move(owned)) {}
    ~SharedEquations();
    SharedEquations(const SharedEquations&) = delete;
    SharedEquations& operator=(const SharedEquations&) = delete;
    std::vector<CEquation*> equations;
  };
  bool EquationsEqual(const CProductionSymbol& other) const;
  mutable std::shared_ptr<const SharedEquations> sharedEquations_;
  bool FStructuresEqual(const CProductionSymbol& other) const;
};

class CProduction {
 public:
  CProduction();
  ~CProduction();
  CProduction(const CProduction&) = delete;
  CProduction& operator=(const CProduction&) = delete;

  // A deep copy (number, dot, mother and daughters; no lookahead set and no
  // mother attributes) entered in the production registry, which frees it
  // after the sentence.
  CProduction* Clone() const;
  // The same copy, owned by the caller and never registered.
  std::unique_ptr<CProduction> Copy() const;
  // Deletes the symbols and empties the production; it stays usable.
  bool Clear();

  // The daughter at the dot; null when the dot is past the daughters.
  CProductionSymbol* GetSymbolAfterDot() const;
  void ResetDot() { dot = 0; }
  // The dot stands on the rule end, the last daughter.
  bool IsDotOnLastDaughter() const;
  // Moves the dot one daughter on unless it stands on the last one.
  bool MoveDot();
  bool HasSingleDaughter() const { return daughters.size() == 1; }
  bool AddMotherAttribute(SymbolId attribute);

  // One trace line: prefix, mother, " ==> ", then per daughter " @ " where
  // the dot stands and " " with its name, then CR LF. Nothing without a
  // writer, a mother or daughters.
  void WriteItem(CFileWriter* writer, const WString& prefix) const;
  // The production as text in a message box under the caption.
  void ShowItem(const WString& caption) const;

  uint32_t number = 0;
  int32_t spare = -1;
  CProductionSymbol* mother = nullptr;        // owned
  std::vector<CProductionSymbol*> daughters;  // owned; the last is the rule end "."
  std::set<SymbolId> lookahead;               // terminals that can begin it
  std::set<SymbolId> motherAttributes;        // attributes required of the mother
  uint16_t dot = 0;

  static int liveInstances;

 private:
  void DeleteSymbols();

  bool registered_ = false;
  friend CProduction* RegisterProduction(std::unique_ptr<CProduction> production);
  friend void DeleteGlobalObjectList();
};

// Hands the production to the registry and returns it.
CProduction* RegisterProduction(std::unique_ptr<CProduction> production);
// Deletes every registered production and empties the registry.
void DeleteGlobalObjectList();
// The number of productions the registry holds.
size_t RegisteredProductionCount();
