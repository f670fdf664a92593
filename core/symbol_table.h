// The global symbol table: one program-wide mapping between names and
// unsigned 16-bit ids. Attribute names, values, categories and words travel
// through F-structures, equations, grammars and lexicons as these ids, and the
// common symbol table file keeps them stable between a compile and later runs.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/wide_string.h"

using SymbolId = uint16_t;
constexpr SymbolId kNoSymbol = 0xFFFF;

// The id of the name; an unknown name is added when create is set, else the
// answer is kNoSymbol.
SymbolId GetSymbolId(const WString& name, bool create);
// The name of the id, or "EMPTY" when the id has none (kNoSymbol included).
WString GetSymbolName(SymbolId id);
// Gives the name the next id, without looking it up first.
SymbolId AddSymbol(const WString& name);
// Enters the pair with the given id, replacing entries of the same name or id.
SymbolId AddSymbolWithId(const WString& name, SymbolId id);
// The names of the ids with the separator between them; "EMPTY" when that
// text is empty.
WString JoinSymbolNames(const std::vector<SymbolId>& ids, const WString& separator);
// Interns the reserved names in their fixed order and keeps their ids.
bool RegisterReservedSymbols();
// The common symbol table file: 202-byte records (u16 id, 100 UTF-16LE units).
bool SaveSymbolTable(const std::string& path);
bool LoadSymbolTable(const std::string& path);
// Empties both maps and the id counter (before loading a saved table).
void ClearSymbolTable();

// The two maps, for the loaders and dumps that walk them.
using SymbolNameMap = std::unordered_map<WString, SymbolId>;
using SymbolIdMap = std::unordered_map<SymbolId, WString>;
const SymbolNameMap& SymbolIdsByName();
const SymbolIdMap& SymbolNamesById();

// Ids of the reserved names, set by RegisterReservedSymbols.
extern SymbolId PredId, GfId, RootId, SetId, ElementId, IndexId, IndexId2, NumId, NumthId, ValueId,
    UValueId, ParentId, NullId, BreakId, FinalId;
