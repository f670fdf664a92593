// The lexicon dumps: every entry with its word, the compile stamp, and the
// names of the global symbols that the entries' predicates use, so that a
// reload maps each predicate to the id its name has in this run.
#include <map>
#include <set>

#include "core/string_helpers.h"
#include "core/symbol_table.h"
#include "resources/compiled_errors.h"
#include "resources/english/e_lexicon.h"
#include "resources/english/p_grammar.h"

namespace {

constexpr WChar kCaption[] = u"Lexicon Compiler";
constexpr uint16_t kBlockSize = 100;
constexpr uint16_t kDefaultPartSymbol = 0xFFFF;
// A lexicon dump larger than this is not one of ours.
constexpr size_t kMaxDumpWords = size_t{1} << 28;

[[noreturn]] void FailDump(const std::string& path, const std::string& why) {
  FailCompile(NarrowToWide("The lexicon dump '" + path + "' " + why), kCaption, "Lexicon dump refused",
              CompileLocation(path));
}

bool HasNamedSymbol(const CELexicalEntry& entry) {
  return entry.part && entry.part->symbol != 0 && entry.part->symbol != kDefaultPartSymbol;
}

void PutText(DumpWords& words, uint32_t& index, const WString& text, const std::string& path) {
  if (text.size() > 0xFFFF) FailDump(path, "cannot hold a word this long: " + ToUtf8(text.substr(0, 40)));
  PutWord(words, index, static_cast<uint16_t>(text.size()));
  for (WChar unit : text) PutWord(words, index, unit);
}

bool TakeText(const DumpWords& words, uint32_t& index, WString& text) {
  uint16_t length = 0;
  if (!TakeWord(words, index, length) || !WordsLeft(words, index, length)) return false;
  text.resize(length);
  for (uint16_t i = 0; i < length; ++i) {
    uint16_t unit = 0;
    TakeWord(words, index, unit);
    text[i] = static_cast<WChar>(unit);
  }
  return true;
}

void PutSymbolNames(DumpWords& words, uint32_t& index, const std::set<uint16_t>& symbols, const std::string& path) {
  PutWord(words, index, static_cast<uint16_t>(symbols.size() & 0xFFFF));
  PutWord(words, index, static_cast<uint16_t>(symbols.size() >> 16));
  for (uint16_t id : symbols) {
    PutWord(words, index, id);
    PutText(words, index, GetSymbolName(id), path);
  }
}

// The saved id of each symbol name mapped to the id the name has now.
std::map<uint16_t, uint16_t> TakeSymbolNames(const DumpWords& words, uint32_t& index, const std::string& path) {
  uint16_t low = 0, high = 0;
  if (!TakeWord(words, index, low) || !TakeWord(words, index, high)) FailDump(path, "lacks its symbol names.");
  const uint32_t count = low | (uint32_t{high} << 16);
  std::map<uint16_t, uint16_t> mapping;
  for (uint32_t i = 0; i < count; ++i) {
    uint16_t saved = 0;
    WString name;
    if (!TakeWord(words, index, saved) || !TakeText(words, index, name)) FailDump(path, "lacks its symbol names.");
    const SymbolId now = GetSymbolId(name, true);
    if (now == kNoSymbol) FailDump(path, "names more symbols than the symbol table can take.");
    mapping[saved] = now;
  }
  return mapping;
}

void CheckStamp(const DumpWords& words, uint32_t& index, uint32_t compileId, const std::string& path) {
  CCompiledStamp stamp;
  if (!TakeStamp(words, index, stamp)) FailDump(path, "carries no compile stamp; compile again.");
  if (stamp.compileId != compileId) {
    FailDump(path, "was written by another compile than the grammar dumps; compile again.");
  }
  if (!RegistryMatchesStamp(stamp)) {
    FailDump(path, "does not belong to the item registry dump that was loaded; compile again.");
  }
}

}  // namespace

void CELexicon::WriteDump(const std::string& path) const {
  const size_t count = wordIndex_.size();
  if (count > 0xFFFFFFFFu) FailDump(path, "cannot hold this many entries.");
  DumpWords words;
  uint32_t index = kNoWordYet;
  PutWord(words, index, kBlockSize);
  PutWord(words, index, static_cast<uint16_t>(count / kBlockSize));
  PutWord(words, index, static_cast<uint16_t>(count & 0xFFFF));
  PutWord(words, index, static_cast<uint16_t>(count >> 16));
  std::set<uint16_t> symbols;
  for (const auto& [word, entry] : wordIndex_) {
    PutText(words, index, word, path);
    if (!entry->Serialise(words, index)) FailDump(path, "cannot hold the entry of " + ToUtf8(word));
    if (HasNamedSymbol(*entry)) symbols.insert(entry->part->symbol);
  }
  PutStamp(words, index, RestampRegistry(ExpectedCompileId()));
  PutSymbolNames(words, index, symbols, path);
  if (!WriteDumpWords(path, words, index + 1)) FailDump(path, "could not be written.");
}

void CELexicon::ReadDump(const std::string& path) {
  DumpWords words;
  if (!ReadDumpWords(path, kMaxDumpWords, words)) FailDump(path, "could not be opened.");
  if (words.empty()) FailDump(path, kDamagedDump);
  uint32_t index = kNoWordYet;
  uint16_t block = 0, blocks = 0, low = 0, high = 0;
  if (!TakeWord(words, index, block) || !TakeWord(words, index, blocks) || !TakeWord(words, index, low) ||
      !TakeWord(words, index, high)) {
    FailDump(path, "is too short.");
  }
  // The block count is only a hint of the writer; every one of the N
  // records is read, however many blocks they fill.
  const uint32_t count = low | (uint32_t{high} << 16);
  std::vector<std::pair<WString, std::unique_ptr<CELexicalEntry>>> read;
  read.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    WString word;
    auto entry = std::make_unique<CELexicalEntry>();
    if (!TakeText(words, index, word) || !entry->Deserialise(words, index)) FailDump(path, "is too short.");
    read.emplace_back(std::move(word), std::move(entry));
  }
  CheckStamp(words, index, ExpectedCompileId(), path);
  const std::map<uint16_t, uint16_t> mapping = TakeSymbolNames(words, index, path);
  ownedEntries_.reserve(ownedEntries_.size() + read.size());
  for (auto& [word, entry] : read) {
    if (HasNamedSymbol(*entry)) {
      auto found = mapping.find(entry->part->symbol);
      if (found == mapping.end()) FailDump(path, "uses a symbol it does not name.");
      entry->part->symbol = found->second;
    }
    // The dump holds the words in the index's order: each goes in at the end.
    wordIndex_.emplace_hint(wordIndex_.end(), std::move(word), entry.get());
    ownedEntries_.push_back(std::move(entry));
  }
}

void CELexicon::WriteDummyDump(const std::string& path) const {
  if (defaultEntries_.size() > 0xFFFF) FailDump(path, "cannot hold this many default entries.");
  DumpWords words;
  uint32_t index = kNoWordYet;
  PutWord(words, index, kBlockSize);
  PutWord(words, index, static_cast<uint16_t>(defaultEntries_.size()));
  for (const CELexicalEntry* entry : defaultEntries_) {
    if (!entry->Serialise(words, index)) FailDump(path, "cannot hold a default entry.");
  }
  PutStamp(words, index, RestampRegistry(ExpectedCompileId()));
  if (!WriteDumpWords(path, words, index + 1)) FailDump(path, "could not be written.");
}

void CELexicon::ReadDummyDump(const std::string& path) {
  DumpWords words;
  if (!ReadDumpWords(path, kMaxDumpWords, words)) FailDump(path, "could not be opened.");
  if (words.empty()) FailDump(path, kDamagedDump);
  uint32_t index = kNoWordYet;
  uint16_t block = 0, count = 0;
  if (!TakeWord(words, index, block) || !TakeWord(words, index, count)) FailDump(path, "is too short.");
  std::vector<std::unique_ptr<CELexicalEntry>> read;
  for (uint16_t i = 0; i < count; ++i) {
    auto entry = std::make_unique<CELexicalEntry>();
    if (!entry->Deserialise(words, index)) FailDump(path, "is too short.");
    read.push_back(std::move(entry));
  }
  CheckStamp(words, index, ExpectedCompileId(), path);
  for (auto& entry : read) {
    defaultEntries_.push_back(entry.get());
    ownedEntries_.push_back(std::move(entry));
  }
}
