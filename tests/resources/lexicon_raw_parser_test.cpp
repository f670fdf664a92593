#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/symbol_table.h"
#include "resources/lexicon.h"
#include "resources/lexicon_test_fixture.h"

namespace {

// One entry as "word|category|pred|constraints|equations", lists joined by ';'.
std::string Describe(const CLexicalEntry& entry) {
  std::string text = Utf8(entry.word) + "|" + Utf8(GetSymbolName(static_cast<SymbolId>(entry.category))) + "|" +
                     Utf8(entry.pred) + "|";
  for (size_t i = 0; i < entry.constraints.size(); ++i) text += (i ? ";" : "") + Utf8(entry.constraints[i]);
  text += "|";
  for (size_t i = 0; i < entry.equations.size(); ++i) text += (i ? ";" : "") + Utf8(entry.equations[i]->ToString());
  return text;
}

struct RawCase {
  const char* name;
  WString raw;
  std::vector<std::string> entries;  // in filing order
  std::string message;               // part of the report, empty for none
};

class RawLexiconTest : public LexiconTest {};

TEST_F(RawLexiconTest, RawTextGivesEntries) {
  const std::vector<RawCase> cases = {
      {"category, quoted PRED and a feature",
       u"kitab : n, ^PRED = 'kitab', ^NUM = sg.",
       {"kitab|n|'kitab'||^ PRED=v kitab;^ NUM=v sg"},
       ""},
      {"PRED with an argument list keeps its commas",
       u"de : v, ^PRED='de<SUBJ,OBJ>'.",
       {"de|v|'de<SUBJ,OBJ>'||^ PRED=v de SUBJ OBJ"},
       ""},
      {"category text stands in for a missing PRED",
       u"larka : n, ^NUM = sg.",
       {"larka|n|n||^ NUM=v sg"},
       ""},
      {"bracketed constraint between items, its comma swallowed",
       u"x : v, [^SUBJ CASE =c NOM], ^TENSE = pres.",
       {"x|v|v|[^SUBJ CASE =c NOM]|^ TENSE=v pres"},
       ""},
      {"negated constraint",
       u"x : v, ~[^NEG], ^TENSE = pres.",
       {"x|v|v|~[^NEG]|^ TENSE=v pres"},
       ""},
      {"constraining item becomes a constraint text",
       u"x : v, ^NUM =c sg.",
       {"x|v|v|[^NUM =c sg]|"},
       ""},
      {"brace set keeps its commas",
       u"x : n, ^CASE = {NOM, OBL}.",
       {"x|n|n||^ CASE=v NOM OBL"},
       ""},
      {"constraint right before the period closes the entry",
       u"a : n, [^NUM].\nb : n, [^GEND] .",
       {"a|n|n|[^NUM]|", "b|n|n|[^GEND]|"},
       ""},
      {"comments on their own lines and after the period",
       u"/ nouns\nx : n, / the category\n ^NUM = sg. / done\ny : n.",
       {"x|n|n||^ NUM=v sg", "y|n|n||"},
       ""},
      {"a word broken over two lines is one word",
       u"ki\ntab : n.",
       {"kitab|n|n||"},
       ""},
      {"entries without a category keep no category text",
       u"a : n.\nb : ^NUM = sg.",
       {"a|n|n||", "b|EMPTY|||^ NUM=v sg"},
       ""},
      {"multi-word entry keeps all its words",
       u"look up : v, ^PRED = 'look-up'.",
       {"look up|v|'look-up'||^ PRED=v look-up"},
       ""},
      {"comment before the period drops the entry",
       u"a : n.\nx : n, ^NUM = sg / plural?\n.\ny : n.",
       {"a|n|n||", "y|n|n||"},
       "line 2: entry 'x' was dropped: a comment stands before its '.'"},
      {"entry without its period is dropped, the next one recovers its word",
       u"a : n, ^NUM = sg\nb : n.",
       {"b|n|n||"},
       "line 1: entry 'a' was dropped: the next entry starts before its '.'"},
      {"unbalanced quote drops the entry",
       u"x : n, ^PRED = 'x.\ny : n.",
       {"y|n|n||"},
       "line 1: entry 'x' was dropped: a quote or a brace is not closed"},
      {"text ending inside a constraint drops the open entry",
       u"a : n.\nb : n, [^NUM",
       {"a|n|n||"},
       "line 2: entry 'b' was dropped: the text ends before its '.'"},
  };
  for (const RawCase& c : cases) {
    SCOPED_TRACE(c.name);
    MessageRecorder messages;
    WriteUtf16File(dir.File("raw.txt"), c.raw);
    auto lexicon = EmptyLexicon();
    EXPECT_TRUE(lexicon->ParseRawLexicon(dir.File("raw.txt")));
    std::vector<std::string> described;
    for (const CLexicalEntry* entry : AllEntries(*lexicon)) {
      described.push_back(Describe(*entry));
      EXPECT_EQ(entry->finished, 1);
    }
    EXPECT_EQ(described, c.entries);
    if (c.message.empty()) {
      EXPECT_TRUE(messages.messages().empty());
    } else {
      ASSERT_EQ(messages.messages().size(), 1u);
      EXPECT_NE(Utf8(messages.messages()[0].text).find(c.message), std::string::npos)
          << Utf8(messages.messages()[0].text);
    }
  }
}

TEST_F(RawLexiconTest, FilingKeys) {
  const std::string raw = "look up : v, ^PRED = 'look-up'.\nde : v, ^PRED = 'de<SUBJ,OBJ>'.\nx : n, ^PRED = bare.";
  WriteUtf16File(dir.File("raw.txt"), FromUtf8(raw));
  auto byWord = EmptyLexicon(false);
  byWord->ParseRawLexicon(dir.File("raw.txt"));
  EXPECT_EQ(byWord->Keys(), (std::vector<WString>{u"look", u"de", u"x"}));
  EXPECT_EQ(byWord->LookupWord(u"up"), nullptr);

  auto byPred = EmptyLexicon(true);
  byPred->ParseRawLexicon(dir.File("raw.txt"));
  EXPECT_EQ(byPred->Keys(), (std::vector<WString>{u"look-up", u"de", u"bare"}));
}

TEST_F(RawLexiconTest, EntryTextIsListedAndFiled) {
  auto lexicon = EmptyLexicon();
  auto filed = lexicon->ParseLexicalEntryText(u"a : n, ^NUM = sg. b : v.");
  ASSERT_NE(filed, nullptr);
  ASSERT_EQ(filed->size(), 2u);
  EXPECT_EQ((*filed)[0].first, u"a");
  EXPECT_EQ((*filed)[1].first, u"b");
  // Text entries are neither marked finished nor given the category as PRED.
  EXPECT_EQ((*filed)[1].second->finished, 0);
  EXPECT_TRUE((*filed)[1].second->pred.empty());
  auto found = lexicon->LookupWord(u"b");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->front(), (*filed)[1].second);
}

TEST_F(RawLexiconTest, LookupWithCategory) {
  auto lexicon = EmptyLexicon();
  lexicon->ParseLexicalEntryText(u"kya : qw. kya : v, ^ASPECT = perf. kya : v, ^NUM = pl.");
  bool found = false;
  auto verbs = lexicon->LookupWordWithCategory(u"kya", u"v", &found);
  ASSERT_NE(verbs, nullptr);
  EXPECT_TRUE(found);
  EXPECT_EQ(verbs->size(), 2u);

  found = false;
  auto none = lexicon->LookupWordWithCategory(u"kya", u"adj", &found);
  ASSERT_NE(none, nullptr);
  EXPECT_TRUE(none->empty());
  EXPECT_TRUE(found);

  found = false;
  EXPECT_EQ(lexicon->LookupWordWithCategory(u"absent", u"v", &found), nullptr);
  EXPECT_FALSE(found);
}

TEST(LexicalEntryText, ShowsEveryPart) {
  CLexicalEntry entry;
  entry.word = u"x";
  entry.category = static_cast<int16_t>(GetSymbolId(u"n", true));
  entry.pred = u"'x'";
  entry.constraints = {u"[a]", u"[b]"};
  auto* equation = new CEquation();
  equation->left = CLexicon::ParseOperand(u"^NUM").release();
  equation->op = u'=';
  equation->right = CLexicon::ParseOperand(u"sg").release();
  entry.equations.push_back(equation);
  EXPECT_EQ(entry.ToString(), u"x,n,^PRED='x',[a],[b],^ NUM=v sg");
}

}  // namespace
