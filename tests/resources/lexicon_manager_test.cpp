#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/config_store.h"
#include "core/symbol_table.h"
#include "resources/lexicon.h"
#include "resources/lexicon_manager.h"
#include "resources/lexicon_test_fixture.h"

namespace {

class LexiconManagerTest : public LexiconTest {
 protected:
  void SetUp() override {
    LexiconTest::SetUp();
    SetFile("NounTemplateFileName", "NounTemplate.txt");
    SetFile("DelimFileName", "Delims.txt");
    WriteUtf16File(dir.File("NounTemplate.txt"), u"^NUM = sg, ^PERS = 3");
    // The last line has no line break and still counts.
    WriteUtf16File(dir.File("Delims.txt"), u"? qmark\r\n\r\n, comma");
    lexicon = EmptyLexicon();
    lexicon->ParseLexicalEntryText(
        u"look : v, ^PRED = 'look<SUBJ>'. look up : v, ^PRED = 'look-up<SUBJ,OBJ>'. "
        u"look up : v, ^PRED = 'look-up<SUBJ,OBJ>', ^TENSE = pres. "
        u"up : adv. the : det. word : n. book : n. he : pron. apostr : gen. gone : v.");
    lexicon->expansionsMap = std::make_unique<ExpansionsMap>();
    (*lexicon->expansionsMap)[u"went"] = u"gone";
  }

  // Each token's entries as "word/category" texts joined by blanks.
  std::vector<std::string> Describe(const SentenceEntryLists& result) {
    std::vector<std::string> lists;
    for (const LexicalEntryList& list : result.lists) {
      std::string text;
      for (const CLexicalEntry* entry : list) {
        text += (text.empty() ? "" : " ") + Utf8(entry->word) + "/" +
                Utf8(GetSymbolName(static_cast<SymbolId>(entry->category)));
      }
      lists.push_back(text);
    }
    return lists;
  }

  std::unique_ptr<CLexicon> lexicon;
};

TEST(LexiconManagerTokens, NumberTokenTypes) {
  const std::vector<std::pair<WString, char>> cases = {
      {u"21", 'n'},   {u"1,000.5", 'n'}, {u",.", 'n'},    {u"\u0662\u0663", 'n'}, {u"4th", 't'},
      {u"2nd", 't'},  {u"st", 't'},      {u"th", 't'},    {u"4thx", 'f'},          {u"4x", 'f'},
      {u"book", 'f'}, {u"-3", 'f'},
  };
  for (const auto& [token, type] : cases) EXPECT_EQ(CLexiconManager::GetNumberTokenType(token), type) << Utf8(token);
}

TEST(LexiconManagerTokens, NonLettersAndSmallLetters) {
  EXPECT_FALSE(CLexiconManager::HasNonLetter(u"Book"));
  EXPECT_TRUE(CLexiconManager::HasNonLetter(u"b2b"));
  EXPECT_TRUE(CLexiconManager::HasNonLetter(u"\u06A9\u062A\u0627\u0628"));
  EXPECT_EQ(ToLowerString(u"ABC xyZ \u00C9\u06A9"), u"abc xyz \u00C9\u06A9");
}

TEST_F(LexiconManagerTest, SentencesGiveOneListPerToken) {
  struct SentenceCase {
    const char* name;
    WString sentence;
    std::vector<std::string> lists;
  };
  const std::vector<SentenceCase> cases = {
      {"two-word entry takes the next token", u"look up the word",
       {"look up/v look up/v", "the/det", "word/n"}},
      {"one-word reading when the next token differs", u"look the", {"look/v", "the/det"}},
      {"capitalised word finds the small-letter entries", u"The Book", {"the/det", "book/n"}},
      {"numbers and ordinals", u"21 4th 2nd", {"21/num", "4th/numth", "2nd/numth"}},
      {"letters with a digit", u"b2b", {"/alphanum"}},
      {"apostrophe splits off its token", u"he's", {"he/pron", "apostr/gen"}},
      {"delimiters become their tokens", u"book?", {"book/n", "qmark/n"}},
      {"every word is replaced, the last one too", u"went went", {"gone/v", "gone/v"}},
      {"unknown word becomes a noun", u"zebra", {"zebra/n"}},
  };
  CLexiconManager manager(lexicon.get());
  for (const SentenceCase& c : cases) {
    SCOPED_TRACE(c.name);
    MessageRecorder messages;
    auto result = manager.BuildSentenceEntries(c.sentence);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(Describe(*result), c.lists);
    EXPECT_TRUE(messages.messages().empty());
  }
}

TEST_F(LexiconManagerTest, MadeEntriesCarryTheirValues) {
  CLexiconManager manager(lexicon.get());
  auto result = manager.BuildSentenceEntries(u"4th b2b");
  ASSERT_NE(result, nullptr);
  ASSERT_EQ(result->lists.size(), 2u);
  const CLexicalEntry* ordinal = result->lists[0][0];
  EXPECT_EQ(ordinal->pred, u"'4'");
  ASSERT_EQ(ordinal->equations.size(), 1u);
  EXPECT_EQ(ordinal->equations[0]->ToString(), u"v _VALUE=v 4");
  EXPECT_EQ(result->lists[1][0]->equations[0]->ToString(), u"v ANUM=v b2b");
  // Made entries are not filed in the lexicon.
  EXPECT_EQ(lexicon->LookupWord(u"4th"), nullptr);
}

TEST_F(LexiconManagerTest, UnknownWordIsFiledWithTheNounTemplate) {
  CLexiconManager manager(lexicon.get());
  ASSERT_EQ(lexicon->LookupWord(u"zebra"), nullptr);
  manager.BuildSentenceEntries(u"zebra");
  auto found = lexicon->LookupWord(u"zebra");
  ASSERT_NE(found, nullptr);
  ASSERT_EQ(found->size(), 1u);
  const CLexicalEntry* entry = found->front();
  EXPECT_EQ(entry->pred, u"'zebra'");
  ASSERT_EQ(entry->equations.size(), 3u);
  EXPECT_EQ(entry->equations[2]->ToString(), u"^ PERS=v 3");
}

TEST_F(LexiconManagerTest, CheckStopsAtTheFirstMissingWord) {
  CLexiconManager manager(lexicon.get());
  MessageRecorder messages;
  auto known = manager.CheckWordInLexicon(u"the book");
  ASSERT_NE(known, nullptr);
  EXPECT_EQ(known->lists.size(), 2u);
  EXPECT_EQ(manager.CheckWordInLexicon(u"the zebra and the gnu"), nullptr);
  ASSERT_EQ(messages.messages().size(), 1u);
  EXPECT_EQ(messages.messages()[0].text, u"[ zebra ] is not available in LEXICON");
  EXPECT_EQ(messages.messages()[0].caption, u"Lexicon Manager");
  // Checking files nothing.
  EXPECT_EQ(lexicon->LookupWord(u"zebra"), nullptr);
}

}  // namespace
