#include "resources/lfg/grammar_symbol_table.h"

#include <limits>

#include "core/trace_log.h"

int CGrammarSymbolTable::liveInstances = 0;

CGrammarSymbolTable::CGrammarSymbolTable() { ++liveInstances; }

CGrammarSymbolTable::~CGrammarSymbolTable() { --liveInstances; }

int16_t CGrammarSymbolTable::AddSymbol(const WString& name) {
  if (lastId_ >= std::numeric_limits<int16_t>::max()) {
    WriteTraceLog(u"Grammar symbol table full: no id for " + name);
    return -1;
  }
  ++lastId_;
  const auto id = static_cast<int16_t>(lastId_);
  ids_[name] = id;
  names_[id] = name;
  return id;
}

int16_t CGrammarSymbolTable::GetId(const WString& name, bool add) {
  const auto found = ids_.find(name);
  if (found != ids_.end()) return found->second;
  return add ? AddSymbol(name) : int16_t{-1};
}

int CGrammarSymbolTable::GetIdLimit() const { return static_cast<int>(ids_.size()) + 1; }

int16_t CGrammarSymbolTable::AddSymbolWithId(const WString& name, int16_t id) {
  // The counter moves past the id, so AddSymbol never gives it again.
  if (id > lastId_) lastId_ = id + 1;
  ids_[name] = id;
  names_[id] = name;
  return id;
}

WString CGrammarSymbolTable::GetName(int16_t id) const {
  const auto found = names_.find(id);
  return found != names_.end() ? found->second : WString(u"EMPTY");
}
