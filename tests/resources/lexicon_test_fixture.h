// A data root for lexicon tests: every file key of the lexicons points into a
// fresh temporary folder, so tests can build lexicons without the shipped data.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/config_store.h"
#include "core/wide_string.h"
#include "resources/lexicon.h"
#include "support/test_support.h"

class LexiconTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearConfiguration();
    for (const char* key : {"EOrderedFeatureListFileName", "UOrderedFeatureListFileName"}) {
      SetFile(key, "features.txt");
    }
    WriteUtf16File(dir.File("features.txt"), u"PRED, NUM, GEND\r\n");
    SetFile("ULexiconFileName", "ULexicon.txt");
    SetFile("ULexiconDumpFileName", "ULexicon.dmp");
    SetFile("ULexiconInNumbers", "ULexiconInNumbers.bin");
    SetFile("UCommonLexFeaturesFileName", "UCommonLexFeatures.bin");
    SetFile("Expansions", "Expansions.txt");
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
    WriteUtf16File(dir.File("ULexicon.txt"), raw);
    SetConfigValue("CompileLexicon", "yes");
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
