// Reading and cutting raw entries of the CFG parser's lexicon.
#include <gtest/gtest.h>

#include "platform/utf8.h"
#include "resources/e_lexicon.h"
#include "support/test_support.h"

namespace {

using Names = std::vector<std::string>;

TEST(ELexiconParse, EntryTextsAreCutIntoTheirParts) {
  struct Case {
    std::u16string text;
    std::u16string word, pred;
    std::string pos;
    Names subcat;
    std::string features;
    float weight;
  };
  const Case cases[] = {
      {u"book: n, ^PRED='book', ^NUM=sg", u"book", u"book", "n", {}, "^NUM=sg", 1.0f},
      {u"gave : v ,  ^PRED='give< SUBJ ,OBJ,OBJ2 >' , ^TENSE=past", u"gave", u"give", "v",
       {"SUBJ", "OBJ", "OBJ2"}, "^TENSE=past", 1.0f},
      {u"the: det, ^SPEC=def @-0.5@", u"the", u"", "det", {}, "^SPEC=def", -0.5f},
      {u"@2@ran: v, ^PRED='run<SUBJ>', ^TENSE=past", u"ran", u"run", "v", {"SUBJ"}, "^TENSE=past", 2.0f},
      // A closing quote at the very end: no features, nothing read past it.
      {u"sleep: v, ^PRED='sleep<SUBJ>'", u"sleep", u"sleep", "v", {"SUBJ"}, "", 1.0f},
      // A part of speech without ',' has no features.
      {u"and: conj", u"and", u"", "conj", {}, "", 1.0f},
      // Text after the '<' ... '>' group still belongs to the predicate.
      {u"x: v, ^PRED='a<SUBJ>b', ^F=1", u"x", u"ab", "v", {"SUBJ"}, "^F=1", 1.0f},
      // "^PRE" is no predicate: the features begin at once.
      {u"x: n, ^PRE=1", u"x", u"", "n", {}, "^PRE=1", 1.0f},
      {u"?: punct", u"?", u"", "punct", {}, "", 1.0f},
  };
  for (const Case& c : cases) {
    CERawEntry entry;
    std::string why;
    ASSERT_TRUE(CELexicon::ParseEntry(c.text, entry, why)) << ToUtf8(c.text) << ": " << why;
    EXPECT_EQ(entry.word, c.word) << ToUtf8(c.text);
    EXPECT_EQ(entry.pred, c.pred) << ToUtf8(c.text);
    EXPECT_EQ(entry.pos, c.pos) << ToUtf8(c.text);
    EXPECT_EQ(entry.subcat, c.subcat) << ToUtf8(c.text);
    EXPECT_EQ(entry.features, c.features) << ToUtf8(c.text);
    EXPECT_FLOAT_EQ(entry.weight, c.weight) << ToUtf8(c.text);
  }
}

TEST(ELexiconParse, MalformedEntriesAreRefusedWithAReason) {
  const std::u16string texts[] = {
      u"no colon here",
      u"x: v, ^PRED='run<SUBJ>",        // no closing quote
      u"x: v, ^PRED='run<SUBJ'",        // no closing '>'
      u"x: v, ^PRED=run",               // no opening quote
      u"x: v, ^PRED='run' ^TENSE=past", // no ',' after the predicate
      u"x: n, ^NUM=sg @1",              // unclosed weight
      u": n, ^NUM=sg",                  // no word
      u"x: v, ^PRED='",                 // a quote at the very end
  };
  for (const std::u16string& text : texts) {
    CERawEntry entry;
    std::string why;
    EXPECT_FALSE(CELexicon::ParseEntry(text, entry, why)) << ToUtf8(text);
    EXPECT_FALSE(why.empty()) << ToUtf8(text);
  }
}

TEST(ELexiconParse, EntryTextsEndAtFullStopsAndLinesDropUnfinishedText) {
  TempDir dir;
  WriteUtf16File(dir.File("lex.txt"),
                 u"a: det, ^X=1.\r\n"
                 u"/ a comment. with a full stop\r\n"
                 u"broken: n,\r\n ^NUM=sg.\r\n"
                 u"w: n, ^NUM=sg @0.5@ .\r\n"
                 u"b: n. c: n.\r\n"
                 u"d: n, ^X=1 / comment.\r\n"
                 u"unfinished: n");
  CFileReader reader(dir.File("lex.txt"), 1024);
  std::vector<std::u16string> texts;
  std::u16string text;
  while (CELexicon::ReadEntryText(reader, text)) texts.push_back(text);
  const std::vector<std::u16string> expected = {u"a: det, ^X=1", u" ^NUM=sg", u"w: n, ^NUM=sg @0.5@ ", u"b: n",
                                                u" c: n"};
  EXPECT_EQ(texts, expected);
}

TEST(ELexiconParse, DefaultEntriesKeepTheLastWeight) {
  struct Case {
    std::u16string text;
    std::string pos, features;
    float weight;
  };
  const Case cases[] = {
      {u"n:^NUM=sg@-1@", "n", "^NUM=sg", -1.0f},
      {u"adj:", "adj", "", -1.0f},  // no weight: the last one holds on
      {u"v:^X=1@2@", "v", "^X=1", 2.0f},
      {u"pn", "pn", "", 2.0f},
  };
  float weight = 1.0f;
  for (const Case& c : cases) {
    std::string pos, features;
    CELexicon::ParseDefaultEntry(c.text, pos, features, weight);
    EXPECT_EQ(pos, c.pos) << ToUtf8(c.text);
    EXPECT_EQ(features, c.features) << ToUtf8(c.text);
    EXPECT_FLOAT_EQ(weight, c.weight) << ToUtf8(c.text);
  }
}

}  // namespace
