// The dump of a compiled mapping lexicon and its reload.
#include <set>

#include "core/string_helpers.h"
#include "platform/file_system.h"
#include "transfer/mapping/map_lexicon.h"
#include "transfer/mapping/map_lexicon_report.h"

namespace {

// The first word of every dump: the word budget per headword of the format.
constexpr uint16_t kWordBudget = 200;
// Words before the headword records: budget, N, L (two words).
constexpr size_t kHeaderWords = 4;

void AddPathSymbols(const CMapPath& path, std::set<SymbolId>& symbols) {
  symbols.insert(path.ids.begin(), path.ids.end());
}

void AddEntrySymbols(const CMapLexEntry& entry, std::set<SymbolId>& symbols) {
  for (const auto& statement : entry.statements) {
    AddPathSymbols(statement->leftPath, symbols);
    AddPathSymbols(statement->rightPath, symbols);
    symbols.insert(statement->cacheSymbol);
    symbols.insert(statement->insertHeadword);
    if (!statement->valueIsNumber) symbols.insert(statement->value);
  }
}

// Every symbol id that the headwords use (kNoSymbol left out).
std::set<SymbolId> CollectSymbols(const std::map<SymbolId, CMapLexHeadword*>& headwords) {
  std::set<SymbolId> symbols;
  for (const auto& [id, headword] : headwords) {
    symbols.insert(id);
    for (const CMapLexEntry* entry : headword->entries) AddEntrySymbols(*entry, symbols);
    if (headword->defaultEntry) AddEntrySymbols(*headword->defaultEntry, symbols);
  }
  symbols.erase(kNoSymbol);
  return symbols;
}

void PutCount32(DumpWords& words, uint32_t& index, uint32_t count) {
  PutWord(words, index, static_cast<uint16_t>(count & 0xFFFF));
  PutWord(words, index, static_cast<uint16_t>(count >> 16));
}

bool TakeCount32(const DumpWords& words, uint32_t& index, uint32_t& count) {
  uint16_t low = 0, high = 0;
  if (!TakeWord(words, index, low) || !TakeWord(words, index, high)) return false;
  count = low | (uint32_t{high} << 16);
  return true;
}

// The names of the symbols: count (two words), then per symbol its id, the
// length of its name and the name's units.
bool PutSymbolNames(DumpWords& words, uint32_t& index, const std::set<SymbolId>& symbols) {
  PutCount32(words, index, static_cast<uint32_t>(symbols.size()));
  for (SymbolId id : symbols) {
    const WString name = GetSymbolName(id);
    if (name.size() > 0xFFFF) return false;
    PutWord(words, index, id);
    PutWord(words, index, static_cast<uint16_t>(name.size()));
    for (WChar unit : name) PutWord(words, index, unit);
  }
  return true;
}

// Why the symbol names do not match this run's symbol table, or "" when they
// all do and name every id in used.
std::string CheckSymbolNames(const DumpWords& words, uint32_t& index, const std::set<SymbolId>& used) {
  uint32_t count = 0;
  if (!TakeCount32(words, index, count)) return "lacks the names of its symbols";
  std::set<SymbolId> named;
  for (uint32_t i = 0; i < count; ++i) {
    uint16_t id = 0, length = 0;
    if (!TakeWord(words, index, id) || !TakeWord(words, index, length) || !WordsLeft(words, index, length)) {
      return "lacks the names of its symbols";
    }
    WString name;
    for (uint16_t unit = 0; unit < length; ++unit) {
      uint16_t word = 0;
      TakeWord(words, index, word);
      name += static_cast<WChar>(word);
    }
    if (GetSymbolId(name, false) != id) return "was written under another symbol table";
    named.insert(id);
  }
  for (SymbolId id : used) {
    if (named.count(id) == 0) return "uses a symbol it does not name";
  }
  return {};
}

}  // namespace

bool CMapLexicon::WriteDump(const std::string& dumpFile) const {
  auto refuse = [&](const std::string& why) {
    ReportMapLexiconProblem(NarrowToWide("The mapping lexicon dump '" + dumpFile + "' " + why + "."));
    return false;
  };
  if (headwords_.size() > 0xFFFF) return refuse("cannot hold more than 65535 headwords");
  DumpWords body;
  uint32_t bodyIndex = kNoWordYet;
  for (const auto& [id, headword] : headwords_) {
    if (!headword->Serialize(body, bodyIndex)) {
      return refuse("cannot hold the entries of " + ToUtf8(GetSymbolName(id)));
    }
  }
  const size_t bodyLength = static_cast<uint32_t>(bodyIndex + 1);
  if (bodyLength > 0xFFFFFFFFu - kHeaderWords) return refuse("cannot hold this many words");
  DumpWords words;
  uint32_t index = kNoWordYet;
  PutWord(words, index, kWordBudget);
  PutWord(words, index, static_cast<uint16_t>(headwords_.size()));
  PutCount32(words, index, static_cast<uint32_t>(bodyLength));
  for (size_t i = 0; i < bodyLength; ++i) PutWord(words, index, body[i]);
  if (!PutSymbolNames(words, index, CollectSymbols(headwords_))) return refuse("cannot hold a symbol name this long");
  if (!WriteDumpWords(dumpFile, words, static_cast<uint32_t>(index + 1))) return refuse("could not be written");
  return true;
}

bool CMapLexicon::ReadDump(const std::string& dumpFile) {
  Clear();
  auto refuse = [&](const std::string& why) {
    Clear();
    ReportMapLexiconProblem(NarrowToWide("The mapping lexicon dump '" + dumpFile + "' " + why + "; it is not used."));
    // A dump that is there but cannot be read is damaged: set-up refuses the
    // lexicon rather than map without its words.
    damagedFile_ = dumpFile;
    return false;
  };
  DumpWords words;
  if (!ReadDumpWords(dumpFile, SIZE_MAX, words)) {
    refuse("could not be opened");
    damagedFile_.clear();
    return false;
  }
  if (words.empty()) return refuse("is damaged (its checksum does not match its content)");
  uint32_t index = kNoWordYet;
  uint16_t budget = 0, count = 0;
  uint32_t bodyLength = 0;
  if (!TakeWord(words, index, budget) || !TakeWord(words, index, count) || !TakeCount32(words, index, bodyLength)) {
    return refuse("is too short");
  }
  if (budget != kWordBudget) return refuse("is not a mapping lexicon dump");
  if (!WordsLeft(words, index, bodyLength)) return refuse("is shorter than its header says");
  // The records are read from their own array, so no read runs past them.
  const DumpWords body(words.begin() + kHeaderWords, words.begin() + kHeaderWords + bodyLength);
  uint32_t bodyIndex = kNoWordYet;
  for (uint16_t i = 0; i < count; ++i) {
    auto headword = std::make_unique<CMapLexHeadword>();
    if (!headword->Deserialize(body, bodyIndex)) return refuse("is damaged (a headword record is cut short)");
    const SymbolId id = headword->headword;
    if (!headwords_.empty() && id <= headwords_.rbegin()->first) {
      return refuse("is damaged (its headwords are not in ascending order)");
    }
    headwords_[id] = headword.release();
  }
  if (static_cast<uint32_t>(bodyIndex + 1) != bodyLength) return refuse("is damaged (its records and length disagree)");
  index += bodyLength;
  const std::string why = CheckSymbolNames(words, index, CollectSymbols(headwords_));
  if (!why.empty()) return refuse(why);
  if (static_cast<uint32_t>(index + 1) != words.size()) return refuse("is damaged (words follow its end)");
  return true;
}
