// Checks of the shipped Urdu lexicon: it compiles without a message, holds
// every word of the sample sentences and keeps the writing rules of its file.
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/config_store.h"
#include "core/symbol_table.h"
#include "resources/lexicon.h"
#include "resources/lexicon_test_fixture.h"

namespace {

class ShippedLexiconTest : public LexiconTest {
 protected:
  void SetUp() override {
    LexiconTest::SetUp();
    const char* source = std::getenv("LFG_SOURCE_DIR");
    ASSERT_NE(source, nullptr) << "LFG_SOURCE_DIR names the repository";
    const std::string data = std::string(source) + "/dataroot/data/";
    // Read the shipped files; everything written goes to the temporary folder.
    SetConfigValue("ULexiconFileName", data + "ULexicon.txt");
    SetConfigValue("UOrderedFeatureListFileName", data + "UOrderedFeatureList.txt");
    SetConfigValue("EOrderedFeatureListFileName", data + "EOrderedFeatureList.txt");
    SetConfigValue("Expansions", data + "Expansions.txt");
    SetConfigValue("CompileLexicon", "yes");
  }

  std::set<WString> Words(const CLexicon& lexicon) {
    std::set<WString> words;
    for (const CLexicalEntry* entry : AllEntries(lexicon)) words.insert(entry->word);
    return words;
  }
};

TEST_F(ShippedLexiconTest, CompilesWithoutAMessageAndHoldsTheSampleSentences) {
  MessageRecorder messages;
  CLexicon lexicon("U", true);
  for (const auto& message : messages.messages()) ADD_FAILURE() << Utf8(message.text);
  EXPECT_GT(lexicon.EntryCount(), 300u);

  const std::set<WString> words = Words(lexicon);
  // میں نے اس کو ایک کتاب دی — I gave him a book.
  // لڑکا کتاب پڑھتا ہے — The boy reads a book.
  for (const WString word : {u"میں", u"نے", u"اس", u"کو", u"ایک", u"کتاب", u"دی", u"لڑکا", u"پڑھتا", u"ہے"}) {
    EXPECT_TRUE(words.count(word)) << Utf8(word);
  }
  // The generator finds lemmas by PRED and category.
  const std::vector<std::pair<WString, WString>> lemmas = {
      {u"کتاب", u"n"},  {u"لڑکا", u"n"},   {u"دینا", u"v"}, {u"پڑھنا", u"v"},
      {u"میں", u"pron"}, {u"وہ", u"pron"}, {u"ایک", u"det"}, {u"میں", u"p"},
  };
  for (const auto& [lemma, category] : lemmas) {
    bool found = false;
    auto entries = lexicon.LookupWordWithCategory(lemma, category, &found);
    ASSERT_NE(entries, nullptr) << Utf8(lemma);
    EXPECT_FALSE(entries->empty()) << Utf8(lemma) << " " << Utf8(category);
  }
}

TEST_F(ShippedLexiconTest, EntriesKeepTheWritingRules) {
  MessageRecorder messages;
  CLexicon lexicon("U", true);
  const SymbolId pred = GetSymbolId(u"PRED", true);
  for (const CLexicalEntry* entry : AllEntries(lexicon)) {
    SCOPED_TRACE(Utf8(entry->word));
    // Standard Urdu letters, not the Arabic yeh, kaf, heh or alef maksura.
    for (const WString& text : {entry->word, entry->pred}) {
      EXPECT_EQ(text.find_first_of(u"\u064A\u0643\u0647\u0649"), WString::npos);
    }
    // PRED, where an entry has one, is its first equation.
    if (entry->pred.empty() || entry->pred[0] != u'\'') continue;
    ASSERT_FALSE(entry->equations.empty());
    ASSERT_NE(entry->equations[0]->left, nullptr);
    EXPECT_EQ(entry->equations[0]->left->path, std::vector<SymbolId>{pred});
  }
}

TEST_F(ShippedLexiconTest, ExpansionTableNamesTheFramesAndTheirSharedFeatures) {
  MessageRecorder messages;
  CLexicon compiled("U", true);
  SetConfigValue("CompileLexicon", "no");
  CLexicon loaded("U", true);
  EXPECT_TRUE(messages.messages().empty());
  EXPECT_EQ(loaded.EntryCount(), compiled.EntryCount());
  for (const CLexicon* lexicon : {&compiled, &loaded}) {
    const PredFrameMap* table = lexicon->ExpansionTable();
    ASSERT_NE(table, nullptr);
    // The recipient of دینا is always dative.
    ASSERT_TRUE(table->count(u"دینا<SUBJ,OBJ,OBJ2>"));
    std::vector<WString> give;
    for (const CEquation* equation : table->at(u"دینا<SUBJ,OBJ,OBJ2>")) give.push_back(equation->ToString());
    EXPECT_EQ(give, std::vector<WString>{u"^ OBJ2 CASE=v dat"});
    // A noun keeps its gender and loses its number.
    ASSERT_TRUE(table->count(u"کتاب"));
    std::vector<WString> book;
    for (const CEquation* equation : table->at(u"کتاب")) book.push_back(equation->ToString());
    EXPECT_EQ(book, std::vector<WString>{u"^ GEND=v f"});
    // The postposition میں and the pronoun میں keep separate lines.
    EXPECT_TRUE(table->count(u"میں<OBJ>"));
    EXPECT_TRUE(table->count(u"میں"));
  }
}

TEST_F(ShippedLexiconTest, EnglishLexiconOfStartUpLoads) {
  MessageRecorder messages;
  CLexicon english("E");
  EXPECT_TRUE(messages.messages().empty());
  EXPECT_EQ(english.EntryCount(), 0u);
}

}  // namespace
