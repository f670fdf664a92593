// A data root for lexicon tests: every file key of the lexicons points into a
// fresh temporary folder, so tests can build lexicons without the shipped data.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/config_store.h"
#include "core/symbol_table.h"
#include "core/wide_string.h"
#include "resources/lfg/lexicon.h"
#include "support/test_support.h"

class LexiconTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearConfiguration();
    for (const char* key : {"EOrderedFeatureListFileName", "UOrderedFeatureListFileName"}) {
      SetFile(key, "features.txt");
    }
    WriteUtf16File(dir.File("features.txt"), u"PRED, NUM, GEND\r\n");
    // The Urdu files are named after their keys.
    for (const char* key : {"ULexiconFileName", "ULexiconDumpFileName", "ULexiconInNumbers",
                            "UCommonLexFeaturesFileName", "Expansions"}) {
      SetFile(key, std::string(key) + ".txt");
    }
    WriteUtf16File(dir.File("Expansions.txt"), u"");
    SetConfigValue("CompileLexicon", "yes");
  }
  void TearDown() override { ClearConfiguration(); }

  void SetFile(const std::string& key, const std::string& name) { SetConfigValue(key, dir.File(name)); }

  // A lexicon with no entries and no files read, for the parsers.
  std::unique_ptr<CLexicon> EmptyLexicon(bool predKeyed = false) {
    auto lexicon = std::make_unique<CLexicon>("E");
    lexicon->predKeyed = predKeyed;
    return lexicon;
  }

  // Compiles the raw text as the Urdu lexicon of this data root.
  std::unique_ptr<CLexicon> CompileUrdu(const WString& raw) {
    WriteUtf16File(dir.File("ULexiconFileName.txt"), raw);
    SetConfigValue("CompileLexicon", "yes");
    return std::make_unique<CLexicon>("U", true);
  }

  // Loads the Urdu lexicon from the files a compile wrote.
  std::unique_ptr<CLexicon> LoadUrdu() {
    SetConfigValue("CompileLexicon", "no");
    return std::make_unique<CLexicon>("U", true);
  }

  TempDir dir;
};

// Every entry of the lexicon, key by key.
inline std::vector<CLexicalEntry*> AllEntries(const CLexicon& lexicon) {
  std::vector<CLexicalEntry*> entries;
  for (const WString& key : lexicon.Keys()) {
    auto found = lexicon.LookupWord(key);
    if (found) entries.insert(entries.end(), found->begin(), found->end());
  }
  return entries;
}

inline std::string Utf8(const WString& text) { return ToUtf8(text); }
inline std::string CategoryName(const CLexicalEntry& entry) {
  return Utf8(GetSymbolName(static_cast<SymbolId>(entry.category)));
}

// Each entry as "word|category|pred|constraints|equations", lists joined by ';'.
inline std::vector<std::string> DescribeAll(const CLexicon& lexicon) {
  std::vector<std::string> described;
  for (const CLexicalEntry* e : AllEntries(lexicon)) {
    std::string text = Utf8(e->word) + "|" + CategoryName(*e) + "|" + Utf8(e->pred) + "|";
    for (size_t i = 0; i < e->constraints.size(); ++i) text += (i ? ";" : "") + Utf8(e->constraints[i]);
    text += "|";
    for (size_t i = 0; i < e->equations.size(); ++i) text += (i ? ";" : "") + Utf8(e->equations[i]->ToString());
    described.push_back(text);
  }
  return described;
}
