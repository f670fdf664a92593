#include "resources/lfg/lexicon.h"

#include "core/config_store.h"
#include "core/sealed_file.h"
#include "core/string_helpers.h"
#include "core/swallowing_delete.h"
#include "platform/file_system.h"

void PredFrameMapDeleter::operator()(PredFrameMap* table) const {
  if (!table) return;
  for (auto& [key, equations] : *table) {
    for (CEquation* equation : equations) DeleteSwallowingExceptions(equation);
  }
  delete table;
}

WString BareLexeme(const WString& pred) {
  if (pred.empty() || pred[0] != u'\'') return pred;
  const size_t angle = pred.find(u'<');
  if (angle != WString::npos) return pred.substr(1, angle - 1);
  if (pred.size() < 2) return WString();
  return pred.substr(1, pred.size() - 2);
}

CLexicon::CLexicon(const std::string& filePrefix, bool keyedByPred) : prefix(filePrefix), predKeyed(keyedByPred) {
  BuildFromConfiguration();
}

CLexicon::CLexicon(const std::string& filePrefix) : prefix(filePrefix) { ReadOrderedFeatureList(); }

CLexicon::~CLexicon() = default;

void CLexicon::BuildFromConfiguration() {
  const std::string compile = GetConfigValue("CompileLexicon", true);
  const std::string lexiconFile = GetConfigValue(prefix + "LexiconFileName");
  const std::string dumpFile = GetConfigValue(prefix + "LexiconDumpFileName");
  const std::string expansionsFile = GetConfigValue("Expansions");
  if (compile != "yes") {
    Load(expansionsFile);
    return;
  }
  Compile(lexiconFile, expansionsFile);
  WriteLexiconDump(dumpFile);
}

void CLexicon::Compile(const std::string& lexiconFile, const std::string& expansionsFile) {
  ReadOrderedFeatureList();
  ParseRawLexicon(lexiconFile);
  WriteLexiconInNumbers();
  if (BuildsExpansionTable()) {
    CompileExpansionTable();
    return;
  }
  ReadExpansionsFile(expansionsFile);
}

void CLexicon::Load(const std::string& expansionsFile) {
  ReadLexiconInNumbers();
  if (BuildsExpansionTable()) {
    LoadExpansionTable();
    return;
  }
  ReadExpansionsFile(expansionsFile);
}

// The table kept is the one read back from the file, so a compiled start-up
// and a later start-up from the files work on the same table.
void CLexicon::CompileExpansionTable() {
  const std::string fileName = GetConfigValue(prefix + "CommonLexFeaturesFileName");
  OwnedPredFrameMap built = ExpandLexicalEntries();
  {
    FileHandle file(OpenFile(fileName, "wb"));
    if (file) WriteExpansionTable(built.get(), file.get());
  }
  SealWrittenFile(fileName);
  LoadExpansionTable();
}

// A table file whose seal does not match leaves no table at all, so that
// set-up refuses the lexicon instead of working with a part of it.
void CLexicon::LoadExpansionTable() {
  const std::string fileName = GetConfigValue(prefix + "CommonLexFeaturesFileName");
  SealedOpen outcome = SealedOpen::kOpened;
  FileHandle file(OpenSealedFile(fileName, &outcome));
  if (outcome == SealedOpen::kDamaged) {
    expansionTable.reset();
    return;
  }
  expansionTable = ReadExpansionTable(file.get());
}

WString CLexicon::KeyOf(const CLexicalEntry& entry) const {
  if (predKeyed) return BareLexeme(entry.pred);
  return TrimWString(entry.word.substr(0, entry.word.find(u' ')));
}

void CLexicon::FileUnderKey(const WString& key, CLexicalEntry* entry) {
  EntriesUnder(key);  // the key's unread records come first
  auto& run = wordMap_[key];
  if (run.empty()) keyOrder_.push_back(key);
  run.emplace_back(entry);
}

bool CLexicon::AddEntry(CLexicalEntry* entry) {
  if (!entry) return false;
  FileUnderKey(KeyOf(*entry), entry);
  return true;
}

size_t CLexicon::EntryCount() const {
  size_t count = unreadCount_;
  for (const auto& [key, run] : wordMap_) count += run.size();
  return count;
}

std::unique_ptr<LexicalEntryList> CLexicon::LookupWord(const WString& word) const {
  const EntryRun& run = EntriesUnder(word);
  if (run.empty()) return nullptr;
  auto list = std::make_unique<LexicalEntryList>();
  for (const auto& entry : run) list->push_back(entry.get());
  return list;
}

std::unique_ptr<LexicalEntryList> CLexicon::LookupWordWithCategory(const WString& word, const WString& categoryName,
                                                                   bool* found) const {
  const int16_t category = static_cast<int16_t>(GetSymbolId(categoryName, true));
  const EntryRun& run = EntriesUnder(word);
  if (run.empty()) return nullptr;
  if (found) *found = true;
  auto list = std::make_unique<LexicalEntryList>();
  for (const auto& entry : run) {
    if (entry->category == category) list->push_back(entry.get());
  }
  return list;
}
