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
// Gives the name the next id, without looking it up first. When the next id
// would be kNoSymbol the table is full: a message is shown, nothing is added
// and the answer is kNoSymbol.
SymbolId AddSymbol(const WString& name);
// Enters the pair with the given id, replacing entries of the same name or id
// (the stale entries of the other direction go too), and raises the counter
// to id + 1 when id is above it. kNoSymbol itself is refused with a message.
SymbolId AddSymbolWithId(const WString& name, SymbolId id);
// The names of the ids with the separator between them; "EMPTY" when that
// text is empty.
WString JoinSymbolNames(const std::vector<SymbolId>& ids, const WString& separator);
// Interns the reserved names in their fixed order and keeps their ids.
bool RegisterReservedSymbols();
// Layout of one record of the common symbol table file.
constexpr size_t kSymbolRecordNameUnits = 100;
constexpr size_t kSymbolRecordBytes = 2 + 2 * kSymbolRecordNameUnits;

// The common symbol table file: 202-byte records (u16 id, 100 UTF-16LE units,
// the name ending at its first zero unit), in ascending id order, then the
// file's seal (core/sealed_file.h). A name that
// does not fit (100 units or more, or holding a zero unit) is not written: a
// message names it and the save answers false after writing the others.
bool SaveSymbolTable(const std::string& path);
// Reads the records back with AddSymbolWithId, without clearing the table. A
// short last record is ignored. False when the file cannot be opened or was
// damaged after it was saved (its seal does not match): nothing is read then.
bool LoadSymbolTable(const std::string& path);
// Empties both maps and the id counter (before loading a saved table); the
// table is back in its start-up mode.
void ClearSymbolTable();

// Names of one sentence. From BeginSentenceSymbols on (the end of the engine's
// start-up) every name that AddSymbol gives an id belongs to the sentence being
// analysed: unknown words, their default readings, set elements.
// ReleaseSentenceSymbols (the per-sentence reset) removes them and gives their
// ids out again, so a stream of any length never fills the table. The names
// of start-up, whose ids the dumps and the common symbol table file hold,
// stay as they are. An id of a sentence name is therefore valid only until
// the reset: nothing that outlives the sentence may keep one.
void BeginSentenceSymbols();
void ReleaseSentenceSymbols();
// The number of names given since BeginSentenceSymbols or the last release.
size_t SentenceSymbolCount();
// Whether the id is a name of the current sentence (and so ends with it).
bool IsSentenceSymbol(SymbolId id);
// While one lives, a name that AddSymbol gives or GetSymbolId finds is
// permanent even when a sentence is being analysed: the words that data
// files name (a condition read for the first time mid-sentence) are data,
// not words of the sentence, and keep their ids through the reset. A name
// the sentence made already is kept from then on. Scopes may nest.
class CPermanentSymbols {
 public:
  CPermanentSymbols();
  ~CPermanentSymbols();
  CPermanentSymbols(const CPermanentSymbols&) = delete;
  CPermanentSymbols& operator=(const CPermanentSymbols&) = delete;
};
// The id counter: the last id given by AddSymbol, or one above the highest id
// entered by AddSymbolWithId.
uint32_t SymbolIdCounter();

// The two maps, for the loaders and dumps that walk them.
using SymbolNameMap = std::unordered_map<WString, SymbolId>;
using SymbolIdMap = std::unordered_map<SymbolId, WString>;
const SymbolNameMap& SymbolIdsByName();
const SymbolIdMap& SymbolNamesById();

// Ids of the reserved names, set by RegisterReservedSymbols.
extern SymbolId PredId, GfId, RootId, SetId, ElementId, IndexId, IndexId2, NumId, NumthId, ValueId, UValueId, ParentId,
    NullId, BreakId, FinalId;
