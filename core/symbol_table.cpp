#include "core/symbol_table.h"

#include <algorithm>
#include <cstdio>

#include "core/sealed_file.h"
#include "core/string_helpers.h"
#include "platform/file_system.h"
#include "platform/message_box.h"

SymbolId PredId = kNoSymbol, GfId = kNoSymbol, RootId = kNoSymbol, SetId = kNoSymbol, ElementId = kNoSymbol,
         IndexId = kNoSymbol, IndexId2 = kNoSymbol, NumId = kNoSymbol, NumthId = kNoSymbol, ValueId = kNoSymbol,
         UValueId = kNoSymbol, ParentId = kNoSymbol, NullId = kNoSymbol, BreakId = kNoSymbol, FinalId = kNoSymbol;

namespace {

const WString kEmptyName = u"EMPTY";
const WString kCaption = u"Global Symbol Table";

// The table lives in function-local statics so that other static initialisers
// may intern names safely.
SymbolNameMap& IdsByName() {
  static SymbolNameMap map;
  return map;
}

SymbolIdMap& NamesById() {
  static SymbolIdMap map;
  return map;
}

uint32_t& Counter() {
  static uint32_t counter = 0;
  return counter;
}

// The names given while a sentence is analysed, and the counter to go back
// to when they are released.
struct SentenceNames {
  bool on = false;
  uint32_t permanentCounter = 0;
  std::vector<SymbolId> ids;
  int permanentScopes = 0;  // open CPermanentSymbols
};

SentenceNames& Sentence() {
  static SentenceNames names;
  return names;
}

void ReportFullTable(const WString& name) {
  ShowMessage(u"The symbol table is full (65534 ids); the name was not added: " + name, kCaption, MessageStyle::Ok);
}

// A name fits a record when it leaves room for the zero unit that ends it and
// holds none itself (the loader would cut it there).
bool FitsRecord(const WString& name) {
  return name.size() < kSymbolRecordNameUnits && name.find(u'\0') == WString::npos;
}

void PutWord(unsigned char* at, uint16_t word) {
  at[0] = static_cast<unsigned char>(word & 0xFF);
  at[1] = static_cast<unsigned char>(word >> 8);
}

uint16_t GetWord(const unsigned char* at) { return static_cast<uint16_t>(at[0] | (at[1] << 8)); }

// The record of one pair: the id, the name's units, then zero units.
void BuildRecord(SymbolId id, const WString& name, unsigned char* record) {
  std::fill(record, record + kSymbolRecordBytes, 0);
  PutWord(record, id);
  for (size_t i = 0; i < name.size(); ++i) PutWord(record + 2 + 2 * i, name[i]);
}

// The name of a record: its units up to the first zero unit, at most the
// whole field.
WString RecordName(const unsigned char* record) {
  WString name;
  for (size_t i = 0; i < kSymbolRecordNameUnits; ++i) {
    WChar unit = GetWord(record + 2 + 2 * i);
    if (unit == 0) break;
    name += unit;
  }
  return name;
}

std::vector<unsigned char> ReadWholeFile(FILE* file) {
  std::vector<unsigned char> bytes;
  unsigned char chunk[4096];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
  return bytes;
}

// Makes the id of a name given during the sentence permanent: it leaves the
// sentence's list, and the reset goes back no lower than the id (the sentence
// ids below it are given out again only by a later table).
void KeepSentenceSymbol(SymbolId id) {
  SentenceNames& sentence = Sentence();
  const auto at = std::find(sentence.ids.begin(), sentence.ids.end(), id);
  if (at != sentence.ids.end()) sentence.ids.erase(at);
  sentence.permanentCounter = std::max(sentence.permanentCounter, static_cast<uint32_t>(id));
}

bool KeepsNamesPermanent() { return Sentence().on && Sentence().permanentScopes > 0; }

}  // namespace

CPermanentSymbols::CPermanentSymbols() { ++Sentence().permanentScopes; }

CPermanentSymbols::~CPermanentSymbols() { --Sentence().permanentScopes; }

SymbolId GetSymbolId(const WString& name, bool create) {
  auto found = IdsByName().find(name);
  if (found != IdsByName().end()) {
    if (KeepsNamesPermanent() && IsSentenceSymbol(found->second)) KeepSentenceSymbol(found->second);
    return found->second;
  }
  return create ? AddSymbol(name) : kNoSymbol;
}

WString GetSymbolName(SymbolId id) {
  auto found = NamesById().find(id);
  return found == NamesById().end() ? kEmptyName : found->second;
}

SymbolId AddSymbol(const WString& name) {
  if (Counter() + 1 >= kNoSymbol) {
    ReportFullTable(name);
    return kNoSymbol;
  }
  SymbolId id = static_cast<SymbolId>(++Counter());
  IdsByName()[name] = id;
  NamesById()[id] = name;
  if (KeepsNamesPermanent()) {
    KeepSentenceSymbol(id);
  } else if (Sentence().on) {
    Sentence().ids.push_back(id);
  }
  return id;
}

SymbolId AddSymbolWithId(const WString& name, SymbolId id) {
  if (id == kNoSymbol) {
    ShowMessage(u"The id 65535 means no symbol and cannot be given to: " + name, kCaption, MessageStyle::Ok);
    return kNoSymbol;
  }
  if (id > Counter()) Counter() = static_cast<uint32_t>(id) + 1;
  // A pair entered with its id is never a sentence's name.
  if (Sentence().on && Counter() > Sentence().permanentCounter) Sentence().permanentCounter = Counter();

  // Drop what the new pair replaces in the other direction, so that both maps
  // keep describing the same pairs.
  auto oldId = IdsByName().find(name);
  if (oldId != IdsByName().end() && oldId->second != id) NamesById().erase(oldId->second);
  auto oldName = NamesById().find(id);
  if (oldName != NamesById().end() && oldName->second != name) {
    auto reverse = IdsByName().find(oldName->second);
    if (reverse != IdsByName().end() && reverse->second == id) IdsByName().erase(reverse);
  }

  IdsByName()[name] = id;
  NamesById()[id] = name;
  return id;
}

WString JoinSymbolNames(const std::vector<SymbolId>& ids, const WString& separator) {
  WString joined;
  for (size_t i = 0; i < ids.size(); ++i) {
    if (i > 0) joined += separator;
    joined += GetSymbolName(ids[i]);
  }
  return joined.empty() ? kEmptyName : joined;
}

bool RegisterReservedSymbols() {
  PredId = GetSymbolId(u"PRED", true);
  GfId = GetSymbolId(u"GF", true);
  RootId = GetSymbolId(u"ROOT", true);
  SetId = GetSymbolId(u"SET", true);
  ElementId = GetSymbolId(u"ELEMENT", true);
  IndexId = GetSymbolId(u"INDEX", true);
  IndexId2 = IndexId;
  NumId = GetSymbolId(u"num", true);
  NumthId = GetSymbolId(u"numth", true);
  ValueId = GetSymbolId(u"VALUE", true);
  UValueId = GetSymbolId(u"_VALUE", true);
  ParentId = GetSymbolId(u"PARENT", true);
  NullId = GetSymbolId(u"NULL", true);
  BreakId = GetSymbolId(u"BREAK", true);
  FinalId = GetSymbolId(u"FINAL", true);
  return true;
}

bool SaveSymbolTable(const std::string& path) {
  FileHandle file(OpenFile(path, "wb"));
  if (!file) return false;

  // Ascending ids make the file the same for the same table.
  std::vector<SymbolId> ids;
  ids.reserve(NamesById().size());
  for (const auto& [id, name] : NamesById()) ids.push_back(id);
  std::sort(ids.begin(), ids.end());

  bool allWritten = true;
  unsigned char record[kSymbolRecordBytes];
  for (SymbolId id : ids) {
    const WString& name = NamesById().at(id);
    if (!FitsRecord(name)) {
      ShowMessage(u"The name of symbol " + IntToWString(id) +
                      u" does not fit a record of the symbol table file (at most 99 units, no zero "
                      u"unit); it was not saved: " +
                      name,
                  kCaption, MessageStyle::Ok);
      allWritten = false;
      continue;
    }
    BuildRecord(id, name, record);
    if (std::fwrite(record, 1, sizeof record, file.get()) != sizeof record) return false;
  }
  if (std::fclose(file.release()) != 0 || !SealWrittenFile(path)) return false;
  return allWritten;
}

bool LoadSymbolTable(const std::string& path) {
  // A file damaged or cut after it was saved is refused whole.
  FileHandle file(OpenSealedFile(path));
  if (!file) return false;
  std::vector<unsigned char> bytes = ReadWholeFile(file.get());
  const size_t records = bytes.size() / kSymbolRecordBytes;
  IdsByName().reserve(IdsByName().size() + records);
  NamesById().reserve(NamesById().size() + records);
  // Whole records only: a short tail was not written by SaveSymbolTable.
  for (size_t at = 0; at + kSymbolRecordBytes <= bytes.size(); at += kSymbolRecordBytes) {
    AddSymbolWithId(RecordName(&bytes[at]), GetWord(&bytes[at]));
  }
  return true;
}

void ClearSymbolTable() {
  IdsByName().clear();
  NamesById().clear();
  Counter() = 0;
  // A scope open around the clearing still closes afterwards.
  const int scopes = Sentence().permanentScopes;
  Sentence() = SentenceNames();
  Sentence().permanentScopes = scopes;
}

void BeginSentenceSymbols() {
  Sentence().on = true;
  Sentence().permanentCounter = Counter();
  Sentence().ids.clear();
}

void ReleaseSentenceSymbols() {
  SentenceNames& sentence = Sentence();
  if (!sentence.on) return;
  for (SymbolId id : sentence.ids) {
    auto named = NamesById().find(id);
    if (named == NamesById().end()) continue;
    auto reverse = IdsByName().find(named->second);
    if (reverse != IdsByName().end() && reverse->second == id) IdsByName().erase(reverse);
    NamesById().erase(named);
  }
  sentence.ids.clear();
  Counter() = sentence.permanentCounter;
}

size_t SentenceSymbolCount() { return Sentence().ids.size(); }

bool IsSentenceSymbol(SymbolId id) {
  const SentenceNames& sentence = Sentence();
  return sentence.on && std::find(sentence.ids.begin(), sentence.ids.end(), id) != sentence.ids.end();
}

uint32_t SymbolIdCounter() { return Counter(); }

const SymbolNameMap& SymbolIdsByName() { return IdsByName(); }

const SymbolIdMap& SymbolNamesById() { return NamesById(); }
