// The feature-description file and the common symbol table.
#include <gtest/gtest.h>

#include "app/loaders/common_symbol_table.h"
#include "app/loaders/feature_descriptions.h"
#include "core/config_store.h"
#include "core/file_reader.h"
#include "core/symbol_table.h"
#include "platform/utf8.h"
#include "support/test_support.h"

namespace {

class FeatureDescriptions : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearConfiguration();
    ClearSymbolTable();
  }
  void TearDown() override {
    ClearConfiguration();
    ClearSymbolTable();
  }

  std::vector<std::string> Items(const std::u16string& text) {
    const std::string path = dir_.File("FDescriptions.txt");
    WriteUtf16File(path, text);
    CFileReader reader(path, 1000);
    std::vector<std::string> items;
    std::u16string item;
    while (ReadFDescriptionToken(reader, item)) items.push_back(ToUtf8(item));
    return items;
  }

  TempDir dir_;
  MessageRecorder messages_;
};

TEST_F(FeatureDescriptions, ItemsAreReadAsTheFormatSays) {
  using Items_ = std::vector<std::string>;
  const std::vector<std::pair<std::u16string, Items_>> cases = {
      {u"NUM.PERS.GEND.", {"NUM", "PERS", "GEND"}},
      {u"@skipped text@CASE.", {"CASE"}},
      {u"/ a comment. with dots\r\nTENSE.", {"TENSE"}},
      {u"/ a comment with LF only\nTENSE.", {"TENSE"}},
      {u"/ a comment with CR only\rTENSE.", {"TENSE"}},
      {u"VOICE.MOOD", {"VOICE"}},
      {u"AS\r\nPECT.", {"PECT"}},
      {u"AS\nPECT.", {"PECT"}},
      {u"A..B.", {"A", "", "B"}},
      {u"@never closed", {}},
      {u"", {}},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(Items(text), expected) << ToUtf8(text);
}

TEST_F(FeatureDescriptions, NamesGetIdsInFileOrderAndKnownNamesKeepTheirs) {
  const SymbolId known = AddSymbol(u"PERS");
  const std::string path = dir_.File("FDescriptions.txt");
  WriteUtf16File(path, u"/ features\r\nNUM.PERS.GEND.\r\n");
  SetConfigValue("FDescriptions", path);
  ASSERT_TRUE(LoadFeatureDescriptions());
  const SymbolId num = GetSymbolId(u"NUM", false);
  EXPECT_EQ(GetSymbolId(u"PERS", false), known);
  EXPECT_EQ(GetSymbolId(u"GEND", false), num + 1);
  EXPECT_EQ(num, known + 1);
}

TEST_F(FeatureDescriptions, AMissingFileIsReported) {
  SetConfigValue("FDescriptions", dir_.File("missing.txt"));
  EXPECT_FALSE(LoadFeatureDescriptions());
  EXPECT_FALSE(messages_.messages().empty());
}

TEST_F(FeatureDescriptions, TheCommonSymbolTableLoadsTheSameIdsTwice) {
  SetConfigValue("CommonSymbolTableFileName", dir_.File("Common.sym"));
  AddSymbol(u"PRED");
  AddSymbol(u"کتاب");
  const SymbolId book = GetSymbolId(u"کتاب", false);
  ASSERT_TRUE(SaveCommonSymbolTable());
  AddSymbol(u"later");
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(LoadCommonSymbolTable());
    EXPECT_EQ(GetSymbolId(u"کتاب", false), book);
    EXPECT_EQ(GetSymbolId(u"later", false), kNoSymbol);
  }
  SetConfigValue("CommonSymbolTableFileName", dir_.File("nowhere/Common.sym"));
  EXPECT_FALSE(SaveCommonSymbolTable());
}

}  // namespace
