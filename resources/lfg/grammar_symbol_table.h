// The grammar's own name space for categories: names to signed 16-bit ids
// given from 1 upwards and never reused. Words and lookahead terminals use
// the global symbol table instead.
#pragma once

#include <cstdint>
#include <unordered_map>

#include "core/wide_string.h"

class CGrammarSymbolTable {
 public:
  CGrammarSymbolTable();
  ~CGrammarSymbolTable();
  CGrammarSymbolTable(const CGrammarSymbolTable&) = delete;
  CGrammarSymbolTable& operator=(const CGrammarSymbolTable&) = delete;

  // Gives the name the next id without looking it up first. When the ids are
  // used up the table is full: the trace log says so and the answer is -1.
  int16_t AddSymbol(const WString& name);
  // The id of the name; an absent name is added when add is set, else -1.
  int16_t GetId(const WString& name, bool add);
  // Entries + 1: the size of a table indexed by id.
  int GetIdLimit() const;
  // Enters the pair under the given id.
  int16_t AddSymbolWithId(const WString& name, int16_t id);
  // The name of the id, or "EMPTY".
  WString GetName(int16_t id) const;

  static int liveInstances;

 private:
  std::unordered_map<WString, int16_t> ids_;
  std::unordered_map<int16_t, WString> names_;
  int32_t lastId_ = 0;
};
