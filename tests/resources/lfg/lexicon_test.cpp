// The Urdu lexicon's entries: raw text to entries, the filing keys, the
// look-ups, the operand parsers of entries and rules, and the lexicon
// manager (one entry list per token, made entries, the check of a sentence).
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "resources/lfg/lexicon.h"
#include "resources/lfg/lexicon_manager.h"
#include "resources/lfg/lexicon_test_fixture.h"

namespace {

TEST_F(LexiconTest, RawTextGivesEntries) {
  // Raw text, its entries in filing order, and part of the report (empty for none).
  const std::tuple<WString, std::vector<std::string>, std::string> cases[] = {
      // Quoted PRED; a brace set keeps its commas.
      {u"kitab : n, ^PRED = 'kitab', ^CASE = {NOM, OBL}.", {"kitab|n|'kitab'||^ PRED=v kitab;^ CASE=v NOM OBL"}, ""},
      {u"de : v, ^PRED='de<SUBJ,OBJ>'.", {"de|v|'de<SUBJ,OBJ>'||^ PRED=v de SUBJ OBJ"}, ""},
      // The category text stands in for a missing PRED.
      {u"larka : n, ^NUM = sg.", {"larka|n|n||^ NUM=v sg"}, ""},
      // Bracketed and negated constraints swallow their comma; a constraining item becomes one.
      {u"x : v, [^SUBJ CASE =c NOM], ~[^NEG], ^NUM =c sg, ^TENSE = pres.",
       {"x|v|v|[^SUBJ CASE =c NOM];~[^NEG];[^NUM =c sg]|^ TENSE=v pres"},
       ""},
      // A constraint right before the period closes the entry.
      {u"a : n, [^NUM].\nb : n, [^GEND] .", {"a|n|n|[^NUM]|", "b|n|n|[^GEND]|"}, ""},
      // Comments on their own lines and after the period; a word broken over two lines.
      {u"/ nouns\nx : n, / the category\n ^NUM = sg. / done\nki\ntab : n.", {"x|n|n||^ NUM=v sg", "kitab|n|n||"}, ""},
      {u"a : n.\nb : ^NUM = sg.", {"a|n|n||", "b|EMPTY|||^ NUM=v sg"}, ""},
      {u"look up : v, ^PRED = 'look-up'.", {"look up|v|'look-up'||^ PRED=v look-up"}, ""},
      // Malformed entries are dropped with a report; the next one recovers.
      {u"a : n.\nx : n, ^NUM = sg / plural?\n.\ny : n.",
       {"a|n|n||", "y|n|n||"},
       "line 2: entry 'x' was dropped: a comment stands before its '.'"},
      {u"a : n, ^NUM = sg\nb : n.", {"b|n|n||"}, "line 1: entry 'a' was dropped: the next entry starts before its '.'"},
      {u"x : n, ^PRED = 'x.\ny : n.", {"y|n|n||"}, "line 1: entry 'x' was dropped: a quote or a brace is not closed"},
      {u"a : n.\nb : n, [^NUM", {"a|n|n||"}, "line 2: entry 'b' was dropped: the text ends before its '.'"},
      // A text cut before the ':' of its last word.
      {u"a : n.\nkit", {"a|n|n||"}, "line 2: the text ends inside the word 'kit'"},
      {u"a : n.\n/ done\n  \n", {"a|n|n||"}, ""},
  };
  for (const auto& [raw, entries, message] : cases) {
    SCOPED_TRACE(Utf8(raw));
    MessageRecorder messages;
    WriteUtf16File(dir.File("raw.txt"), raw);
    auto lexicon = EmptyLexicon();
    EXPECT_TRUE(lexicon->ParseRawLexicon(dir.File("raw.txt")));
    EXPECT_EQ(DescribeAll(*lexicon), entries);
    for (const CLexicalEntry* entry : AllEntries(*lexicon)) EXPECT_EQ(entry->finished, 1);
    ASSERT_EQ(messages.messages().size(), message.empty() ? 0u : 1u);
    if (!message.empty()) {
      EXPECT_NE(Utf8(messages.messages()[0].text).find(message), std::string::npos);
    }
  }
}

TEST_F(LexiconTest, FilingKeys) {
  WriteUtf16File(dir.File("raw.txt"),
                 u"look up : v, ^PRED = 'look-up'.\nde : v, ^PRED = 'de<SUBJ,OBJ>'.\nx : n, ^PRED = bare.");
  auto byWord = EmptyLexicon(false);
  byWord->ParseRawLexicon(dir.File("raw.txt"));
  EXPECT_EQ(byWord->Keys(), (std::vector<WString>{u"look", u"de", u"x"}));
  EXPECT_EQ(byWord->LookupWord(u"up"), nullptr);
  auto byPred = EmptyLexicon(true);
  byPred->ParseRawLexicon(dir.File("raw.txt"));
  EXPECT_EQ(byPred->Keys(), (std::vector<WString>{u"look-up", u"de", u"bare"}));
}

TEST_F(LexiconTest, EntryTextIsListedFiledAndLookedUpByCategory) {
  auto lexicon = EmptyLexicon();
  auto filed =
      lexicon->ParseLexicalEntryText(u"a : n, ^PRED = 'a', [b], ^NUM = sg. kya : qw. kya : v. kya : v, ^NUM = pl.");
  ASSERT_NE(filed, nullptr);
  ASSERT_EQ(filed->size(), 4u);
  EXPECT_EQ((*filed)[0].first, u"a");
  EXPECT_EQ((*filed)[0].second->ToString(), u"a,n,^PRED='a',[b],^ PRED=v a,^ NUM=v sg");
  // Text entries are neither marked finished nor given the category as PRED.
  EXPECT_EQ((*filed)[1].second->finished, 0);
  EXPECT_TRUE((*filed)[1].second->pred.empty());
  EXPECT_EQ(lexicon->LookupWord(u"kya")->front(), (*filed)[1].second);

  // Entries of the category; none of it for a known word; nothing for an unknown one.
  const std::tuple<const char16_t*, const char16_t*, int, bool> lookups[] = {
      {u"kya", u"v", 2, true}, {u"kya", u"adj", 0, true}, {u"absent", u"v", -1, false}};
  for (const auto& [word, category, count, known] : lookups) {
    bool found = false;
    auto entries = lexicon->LookupWordWithCategory(word, category, &found);
    EXPECT_EQ(entries ? static_cast<int>(entries->size()) : -1, count) << Utf8(word);
    EXPECT_EQ(found, known) << Utf8(word);
  }
}

TEST(LexiconOperands, TextsGiveKindAndPath) {
  using Parser = std::unique_ptr<CEquationOperand> (*)(const WString&);
  const Parser plain = &CLexicon::ParseOperand, rule = &CLexicon::ParseRuleOperand,
               angles = &CLexicon::ParseRuleOperandKeepAngles;
  const std::tuple<Parser, WString, char, std::vector<WString>> cases[] = {
      // A name never seen before is interned.
      {plain, u" ! ", '!', {}},
      {plain, u"^SUBJ NameNeverSeenBefore", '^', {u"SUBJ", u"NameNeverSeenBefore"}},
      {plain, u"very big", 'v', {u"very", u"big"}},
      {plain, u"'de<SUBJ,OBJ>'", 'v', {u"de", u"SUBJ", u"OBJ"}},
      {plain, u"{NOM, OBL}", 'v', {u"NOM", u"OBL"}},
      {rule, u"m::SUBJ.NUM.x", 'm', {u"SUBJ", u"NUM", u"x"}},
      {rule, u"OBJ.CASE", 's', {u"OBJ", u"CASE"}},
      {rule, u"{'de<SUBJ,OBJ>', x}", 'v', {u"de", u"SUBJ", u"OBJ", u"x"}},
      {angles, u"{de<SUBJ,OBJ>, x}", 'v', {u"de<SUBJ,OBJ>", u"x"}},
      {angles, u"a::b.c", 'a', {u"b", u"c"}},
  };
  for (const auto& [parse, text, kind, path] : cases) {
    auto operand = parse(text);
    ASSERT_NE(operand, nullptr) << Utf8(text);
    std::vector<WString> names;
    for (SymbolId id : operand->path) names.push_back(GetSymbolName(id));
    EXPECT_EQ(std::tie(operand->kind, names), std::tie(kind, path)) << Utf8(text);
  }
  for (const WString text : {u"", u"   ", u"\t\r\n"}) {
    for (const Parser parse : {plain, rule, angles}) EXPECT_EQ(parse(text), nullptr);
  }
}

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

  std::unique_ptr<CLexicon> lexicon;
};

TEST(LexiconManagerTokens, NumberTokenTypesAndLetters) {
  const std::pair<WString, char> cases[] = {{u"1,000.5", 'n'}, {u",.", 'n'},   {u"\u0662\u0663", 'n'},
                                            {u"st", 't'},      {u"4thx", 'f'}, {u"4x", 'f'},
                                            {u"-3", 'f'}};
  for (const auto& [token, type] : cases) EXPECT_EQ(CLexiconManager::GetNumberTokenType(token), type) << Utf8(token);
  // Letters other than the basic Latin ones count as non-letters.
  EXPECT_TRUE(CLexiconManager::HasNonLetter(u"\u06A9\u062A\u0627\u0628"));
  EXPECT_EQ(ToLowerString(u"ABC xyZ \u00C9\u06A9"), u"abc xyz \u00C9\u06A9");
}

TEST_F(LexiconManagerTest, SentencesGiveOneListPerToken) {
  const std::pair<WString, std::vector<std::string>> cases[] = {
      // A two-word entry takes the next token; otherwise the one-word reading.
      {u"look up the word", {"look up/v look up/v", "the/det", "word/n"}},
      {u"look the", {"look/v", "the/det"}},
      {u"The Book", {"the/det", "book/n"}},
      {u"21 4th 2nd", {"21/num", "4th/numth", "2nd/numth"}},
      {u"b2b", {"/alphanum"}},
      {u"he's", {"he/pron", "apostr/gen"}},
      {u"book?", {"book/n", "qmark/n"}},
      // Every word is replaced, the last one too; an unknown word is a noun.
      {u"went went", {"gone/v", "gone/v"}},
      {u"zebra", {"zebra/n"}},
  };
  CLexiconManager manager(lexicon.get());
  for (const auto& [sentence, expected] : cases) {
    MessageRecorder messages;
    auto result = manager.BuildSentenceEntries(sentence);
    ASSERT_NE(result, nullptr);
    std::vector<std::string> lists;
    for (const LexicalEntryList& list : result->lists) {
      std::string text;
      for (const CLexicalEntry* e : list) text += (text.empty() ? "" : " ") + Utf8(e->word) + "/" + CategoryName(*e);
      lists.push_back(text);
    }
    EXPECT_EQ(lists, expected) << Utf8(sentence);
    EXPECT_TRUE(messages.messages().empty());
  }
}

TEST_F(LexiconManagerTest, MadeEntriesCarryTheirValuesAndOnlyUnknownWordsAreFiled) {
  CLexiconManager manager(lexicon.get());
  auto result = manager.BuildSentenceEntries(u"4th b2b zebra");
  ASSERT_NE(result, nullptr);
  ASSERT_EQ(result->lists.size(), 3u);
  EXPECT_EQ(result->lists[0][0]->ToString(), u"4th,numth,^PRED='4',v _VALUE=v 4");
  EXPECT_EQ(result->lists[1][0]->ToString(), u",alphanum,v ANUM=v b2b");
  EXPECT_EQ(lexicon->LookupWord(u"4th"), nullptr);
  // An unknown word is filed with the noun template.
  auto found = lexicon->LookupWord(u"zebra");
  ASSERT_NE(found, nullptr);
  ASSERT_EQ(found->size(), 1u);
  EXPECT_EQ(found->front()->ToString(), u"zebra,n,^PRED='zebra',^ PRED=v zebra,^ NUM=v sg,^ PERS=v 3");
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
