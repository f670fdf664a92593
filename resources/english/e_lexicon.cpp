// CELexicon: construction, compiling the raw lexicon and the default
// lexicon, and the look-ups of the CFG parser and the tokeniser.
#include "resources/english/e_lexicon.h"

#include <algorithm>

#include "constraints/p_fs_compiler.h"
#include "constraints/p_symbol_table.h"
#include "core/config_store.h"
#include "core/string_helpers.h"
#include "core/symbol_table.h"
#include "resources/compiled_errors.h"
#include "resources/english/p_grammar.h"

namespace {

constexpr WChar kCaption[] = u"Lexicon Compiler";
constexpr int kEntryBufferUnits = 1024;
// Category masks hold parts of speech 0 to 63.
constexpr int kMaskBits = 64;
constexpr uint16_t kDefaultPartSymbol = 0xFFFF;

std::string JoinNames(const std::vector<std::string>& names) {
  std::string joined;
  for (size_t i = 0; i < names.size(); ++i) joined += (i ? "," : "") + names[i];
  return joined;
}

}  // namespace

CELexicon::CELexicon(const std::string& lexiconFileName, P_Grammar* grammar) : grammar_(grammar) {
  try {
    if (!grammar_ || grammar_->HasFailed()) {
      FailCompile(u"The English lexicon needs a grammar, and the grammar failed.", kCaption, "No grammar");
    }
    ReadPOSList(GetConfigValue("POSs"));
    ReadSubcatFrames();
    CompileOrLoad(lexiconFileName);
    CompileOrLoadDummy();
  } catch (const CCompileError& error) {
    Clear();
    failed_ = true;
    failureText_ = error.what();
  }
}

CELexicon::~CELexicon() = default;

void CELexicon::Clear() {
  wordIndex_.clear();
  defaultEntries_.clear();
  ownedEntries_.clear();
}

void CELexicon::ReadPOSList(const std::string& path) {
  if (!ReadPOSNames(path, posNames_, posIds_)) {
    FailCompile(NarrowToWide("The part-of-speech list '" + path + "' could not be opened."), kCaption,
                "POS list missing", CompileLocation(path));
  }
}

void CELexicon::ReadSubcatFrames() {
  const std::string path = GetConfigValue("SubCats");
  if (!LoadSubcatFrames(path)) {
    FailCompile(NarrowToWide("The frame list '" + path + "' could not be read."), kCaption, "SubCats Error",
                CompileLocation(path));
  }
  InstallSubcatFrameSource();
}

void CELexicon::CompileOrLoad(const std::string& fileName) {
  if (GetConfigValue("CompileP_Grammar", true) == "yes") {
    CompileLexicon(fileName);
  } else {
    ReadDump(GetConfigValue("ELexiconDumpFileName"));
  }
}

void CELexicon::CompileOrLoadDummy() {
  if (GetConfigValue("CompileP_Grammar", true) == "yes") {
    CompileDummy(GetConfigValue("Dummy"));
  } else {
    ReadDummyDump(GetConfigValue("DummyDump"));
  }
}

int CELexicon::CheckPOS(const std::string& name) {
  auto found = posIds_.find(name);
  if (found != posIds_.end()) {
    if (found->second >= kMaskBits) {
      FailCompile(NarrowToWide("The part of speech " + name + " has id " + std::to_string(found->second) +
                               "; at most 63 parts of speech fit a category mask."),
                  u"Wrong POS", "Wrong POS Exception...", location_);
    }
    return found->second;
  }
  posNames_.push_back(name);
  FailCompile(u"Wrong POS" + NarrowToWide(name), u"Wrong POS", "Wrong POS Exception...", location_);
}

void CELexicon::CheckSubcatFrame(const std::vector<std::string>& names) {
  if (std::find(SubcatFrameNames.begin(), SubcatFrameNames.end(), names) != SubcatFrameNames.end()) return;
  FailCompile(NarrowToWide("Wrong SubCats: <" + JoinNames(names) + ">"), u"Wrong SubCats", "SubCats Error", location_);
}

std::vector<uint16_t> CELexicon::CompileFeatures(const std::string& description, int8_t& choiceCount) const {
  std::vector<uint16_t> ids = P_FSCompiler::CompileDescription(description, choiceCount);
  if (P_FSCompiler::LastDescriptionFailed() || choiceCount < 0 || std::find(ids.begin(), ids.end(), 0) != ids.end()) {
    FailCompile(u"The features could not be compiled (symbol table or item table full, or too many choices).", kCaption,
                "Features not compiled", location_);
  }
  return ids;
}

// The suffix ",^GF=<n>" that names the entry's frame.
std::string CELexicon::FrameSuffix(const std::vector<std::string>& names) {
  CheckSubcatFrame(names);
  std::vector<uint16_t> ids;
  for (const std::string& name : names) ids.push_back(P_SymbolTable::Intern(name));
  const int frame = GetSubcatFrameIndex(ids);
  if (frame < 0) FailCompile(u"Wrong SubCats", u"Wrong SubCats", "SubCats Error", location_);
  return ",^GF=" + IntToString(frame);
}

void CELexicon::CompileLexicon(const std::string& fileName) {
  CFileReader reader(fileName, kEntryBufferUnits);
  if (!reader.IsOpen()) {
    FailCompile(NarrowToWide("The lexicon '" + fileName + "' could not be opened."), kCaption, "Lexicon missing",
                CompileLocation(fileName));
  }
  std::vector<CERawEntry> group;
  std::string groupLocation;  // the location of the group's first entry
  WString text;
  while (ReadEntryText(reader, text)) {
    if (TrimWString(text).empty()) continue;
    location_ = CompileLocation(fileName, TrimWString(text));
    CERawEntry entry;
    std::string why;
    if (!ParseEntry(text, entry, why)) {
      FailCompile(NarrowToWide("Wrong entry: " + why), kCaption, "Entry Error", location_);
    }
    if (!entry.subcat.empty()) entry.features += FrameSuffix(entry.subcat);
    if (!group.empty() && (group[0].word != entry.word || group[0].pos != entry.pos)) {
      std::swap(location_, groupLocation);
      AddGroup(group);
      std::swap(location_, groupLocation);
      group.clear();
    }
    if (group.empty()) groupLocation = location_;
    group.push_back(std::move(entry));
  }
  location_ = groupLocation;
  if (!group.empty()) AddGroup(group);
  location_.clear();
  WriteDump(GetConfigValue("ELexiconDumpFileName"));
}

// One reading for a run of entries of the same word and part of speech; each
// further entry wraps the description as "[" + so far + "|" + its own + "]".
void CELexicon::AddGroup(const std::vector<CERawEntry>& group) {
  const CERawEntry& first = group[0];
  std::string description = first.features;
  for (size_t i = 1; i < group.size(); ++i) description = "[" + description + "|" + group[i].features + "]";
  const int pos = CheckPOS(first.pos);
  uint16_t symbol = 0;
  if (!first.pred.empty()) {
    symbol = GetSymbolId(first.pred, true);
    if (symbol == kNoSymbol) FailCompile(u"The symbol table is full.", kCaption, "Symbol table full", location_);
  }
  int8_t choiceCount = 0;
  const std::vector<uint16_t> ids = CompileFeatures(description, choiceCount);
  auto entry = std::make_unique<CELexicalEntry>(static_cast<uint16_t>(pos), ids, symbol, first.weight);
  entry->choiceCount = static_cast<uint8_t>(choiceCount);
  wordIndex_.emplace(first.word, entry.get());
  ownedEntries_.push_back(std::move(entry));
}

void CELexicon::CompileDummy(const std::string& fileName) {
  CFileReader reader(fileName, kEntryBufferUnits);
  if (!reader.IsOpen()) {
    FailCompile(NarrowToWide("The default lexicon '" + fileName + "' could not be opened."), kCaption, "Dummy missing",
                CompileLocation(fileName));
  }
  float weight = 1.0f;
  WString text;
  while (ReadEntryText(reader, text)) {
    if (TrimWString(text).empty()) continue;
    location_ = CompileLocation(fileName, TrimWString(text));
    std::string pos, features;
    ParseDefaultEntry(text, pos, features, weight);
    // Default verb readings take the frame of a subject alone.
    if (pos == "v") features += FrameSuffix({"SUBJ"});
    const int posId = CheckPOS(pos);
    int8_t choiceCount = 0;
    const std::vector<uint16_t> ids = CompileFeatures(features, choiceCount);
    auto entry = std::make_unique<CELexicalEntry>(static_cast<uint16_t>(posId), ids, kDefaultPartSymbol, weight);
    entry->choiceCount = static_cast<uint8_t>(choiceCount);
    defaultEntries_.push_back(entry.get());
    ownedEntries_.push_back(std::move(entry));
  }
  location_.clear();
  WriteDummyDump(GetConfigValue("DummyDump"));
}

std::unique_ptr<CEntryList> CELexicon::GetEntries(const WString& word) const {
  auto entries = std::make_unique<CEntryList>();
  auto [begin, end] = wordIndex_.equal_range(word);
  for (auto it = begin; it != end; ++it) entries->push_back(it->second);
  return entries;
}

std::vector<std::unique_ptr<CELexicalEntry>> CELexicon::MakeDefaultEntries(const WString& word) const {
  std::vector<std::unique_ptr<CELexicalEntry>> entries;
  for (const CELexicalEntry* source : defaultEntries_) {
    const WString name = word + u"_" + P_Grammar::StringToWString(grammar_->GetPOSName(source->posId));
    auto entry =
        std::make_unique<CELexicalEntry>(source->posId, source->itemIds, GetSymbolId(name, true), source->weight);
    entry->choiceCount = source->choiceCount;
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::unique_ptr<CELexicalEntry> CELexicon::MakeEntry(const WString& posName, const WString& features) {
  const int pos = grammar_->GetOrAddPOSId(P_Grammar::WStringToString(posName));
  if (pos < 0 || pos > 0xFFFF) return nullptr;
  int8_t choiceCount = 0;
  std::vector<uint16_t> ids = P_FSCompiler::CompileDescription(P_Grammar::WStringToString(features), choiceCount);
  if (P_FSCompiler::LastDescriptionFailed() || std::find(ids.begin(), ids.end(), 0) != ids.end()) return nullptr;
  auto entry = std::make_unique<CELexicalEntry>(static_cast<uint16_t>(pos), ids, GetSymbolId(u"EMPTY", true), 1.0f);
  entry->choiceCount = choiceCount > 0 ? static_cast<uint8_t>(choiceCount) : 0;
  return entry;
}

uint32_t CELexicon::ExpectedCompileId() const { return grammar_->Stamp().compileId; }
