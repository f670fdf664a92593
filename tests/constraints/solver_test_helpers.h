// Small builders for the solver tests: values under contexts, items, and a
// parse clock that can be moved past the time limit.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <list>
#include <string>

#include "constraints/p_fstructure.h"
#include "constraints/p_symbol_table.h"
#include "constraints/solver_hooks.h"
#include "core/feature_set.h"
#include "core/parse_clock.h"

namespace solver_test {

inline uint16_t Id(const std::string& name) { return P_SymbolTable::Intern(name); }

inline P_ConVal* WithContext(P_ConVal* value, ContextList context) {
  value->context = std::move(context);
  value->RebuildContextBits();
  return value;
}

// An atomic value named by its text, under the context.
inline P_ConVal* Atom(const std::string& name, ContextList context = {0}) {
  return WithContext(new P_ConValPlainVal(Id(name)), std::move(context));
}

// A whole-structure link (attribute 0) to the F-structure, under the context.
inline P_ConVal* Link(P_FStructure* fs, ContextList context = {0}) {
  return WithContext(new P_ConValFSLink(fs, 0), std::move(context));
}

inline P_FSItemComplex* Item(const std::string& attribute, uint8_t flags, std::initializer_list<P_ConVal*> values) {
  auto* item = new P_FSItemComplex(attribute.empty() ? 0 : Id(attribute), flags);
  for (P_ConVal* value : values) item->AddValue(value);
  return item;
}

inline CFeatureSet Bits(FeatureLiteralList literals) { return BuildFeatureSet(literals); }

// The values of the item as "name(literals)" texts, in order.
inline std::list<std::string> Texts(const P_FSItem* item) {
  std::list<std::string> texts;
  const ItemValues values(item);
  for (const P_ConVal* value : values) {
    std::string text = value->GetBoundFStructure() ? "<fs>" : value->ToString();
    text += "(";
    for (int8_t literal : ListFeatureLiterals(value->contextBits)) text += std::to_string(literal) + ",";
    if (text.back() == ',') text.pop_back();
    texts.push_back(text + ")");
  }
  return texts;
}

// The injected parse clock: at 0 the limit of 100 is not reached; Expire
// moves past it.
class ParseClockScope {
 public:
  ParseClockScope() : previous_(SetSolverClock([this] { return now_; })) {
    ParseStartTime = 0;
    ParseTimeLimit = 100;
  }
  ~ParseClockScope() {
    ParseTimeLimit = limit_;
    ParseStartTime = start_;
    SetSolverClock(previous_);
  }
  ParseClockScope(const ParseClockScope&) = delete;
  ParseClockScope& operator=(const ParseClockScope&) = delete;

  void Expire() { now_ = 101; }

 private:
  int64_t now_ = 0;
  int32_t limit_ = ParseTimeLimit;
  int64_t start_ = ParseStartTime;
  SolverClock previous_;
};

}  // namespace solver_test
