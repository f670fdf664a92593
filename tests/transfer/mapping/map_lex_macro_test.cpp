// The macro file of the mapping files and the expansion of calls.
#include "transfer/mapping/map_lex_macro.h"

#include "core/file_reader.h"
#include "transfer/mapping/map_lexicon.h"
#include "transfer/mapping/mapping_test_support.h"

namespace mapping_test {
namespace {

TEST(ReplaceAllIgnoreCase, ReplacesWholeMatchesWithoutRegardToCase) {
  struct Case {
    WString text, pattern, replacement, want;
  };
  const Case cases[] = {
      {u"x.PRED", u"x", u"SUBJ", u"SUBJ.PRED"},
      {u"X.PRED = x", u"x", u"OBJ", u"OBJ.PRED = OBJ"},
      {u"_Lemma_ and _LEMMA_", u"_lemma_", u"'a'", u"'a' and 'a'"},
      {u"aaa", u"aa", u"b", u"ba"},                        // matching goes on after a match
      {u"PRED = _le", u"_lemma_", u"'a'", u"PRED = _le"},  // cut by the end: no match
      {u"abc", u"", u"z", u"abc"},                         // an empty pattern changes nothing
      {u"", u"x", u"y", u""},
      {u"کتاب x", u"X", u"'کتاب'", u"کتاب 'کتاب'"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ToUtf8(ReplaceAllIgnoreCase(c.text, c.pattern, c.replacement)), ToUtf8(c.want)) << ToUtf8(c.text);
  }
}

class MapLexMacroTest : public MappingTest {
 protected:
  // Reads the macros, expands the raw text and returns the expanded text.
  WString Expand(const std::string& macros, const std::string& raw) {
    CMapLexicon lexicon(WriteText("macros.txt", macros), "", "", english_.get(), 1.0);
    messages_.clear();
    EXPECT_TRUE(lexicon.ReadMacroDefinitions(dir_.File("macros.txt")));
    EXPECT_TRUE(lexicon.ExpandMacros(WriteText("raw.mlr", raw), dir_.File("raw.ext")));
    CFileReader reader(16);
    return reader.ReadAll(dir_.File("raw.ext"));
  }
};

TEST_F(MapLexMacroTest, MacroRecordsGiveNameParametersAndBody) {
  CMapLexicon lexicon("", "", "", english_.get(), 1.0);
  ASSERT_TRUE(lexicon.ReadMacroDefinitions(WriteText("m.txt",
                                                     "notes are skipped\n"
                                                     "#N(x): x.PRED $\n"
                                                     "#TWO( first , second ) anything: first = second $\n"
                                                     "#BARE:  PRED = 'a'  $\n"
                                                     "#N(y): second record of N $\n"
                                                     "#LAST(a): runs to the end")));
  const auto& macros = lexicon.Macros();
  ASSERT_EQ(macros.size(), 4u);
  EXPECT_EQ(ToUtf8(macros.at(u"N").body), "x.PRED");  // the first record of a name is kept
  EXPECT_EQ(macros.at(u"N").parameters, std::vector<WString>{u"x"});
  EXPECT_EQ(macros.at(u"TWO").parameters, (std::vector<WString>{u"first", u"second"}));
  EXPECT_EQ(ToUtf8(macros.at(u"TWO").body), "first = second");
  EXPECT_TRUE(macros.at(u"BARE").parameters.empty());
  EXPECT_EQ(ToUtf8(macros.at(u"BARE").body), "PRED = 'a'");
  EXPECT_EQ(ToUtf8(macros.at(u"LAST").body), "runs to the end");
}

TEST_F(MapLexMacroTest, OnlyAnEmptyParameterNameBeforeACommaIsRefused) {
  struct Case {
    std::string record;
    bool kept;
    std::vector<WString> parameters;
  };
  const Case cases[] = {
      {"#M(x,,y): x y $", false, {}},
      {"#M(,x): x $", false, {}},
      {"#M( , ): none $", false, {}},
      // An empty last name is not added: the macro keeps the names before it.
      {"#M(x,): x $", true, {u"x"}},
      {"#M(x, y , ): x y $", true, {u"x", u"y"}},
      {"#M(): none $", true, {}},
      {"#M( ): none $", true, {}},
  };
  for (const Case& c : cases) {
    CMapLexicon lexicon("", "", "", english_.get(), 1.0);
    messages_.clear();
    ASSERT_TRUE(lexicon.ReadMacroDefinitions(WriteText("m.txt", c.record)));
    ASSERT_EQ(lexicon.Macros().count(u"M"), c.kept ? 1u : 0u) << c.record;
    EXPECT_EQ(messages_.messages().size(), c.kept ? 0u : 1u) << c.record;
    if (c.kept) {
      EXPECT_EQ(lexicon.Macros().at(u"M").parameters, c.parameters) << c.record;
    }
  }
  // The kept parameter takes its argument in a call.
  EXPECT_EQ(ToUtf8(Expand("#M(x,): x.PRED $", "#M(SUBJ)")), "SUBJ.PRED");
}

TEST_F(MapLexMacroTest, CallsAreReplacedByTheirBodies) {
  const std::string macros =
      "#N(x): x.PRED $\n"
      "#NOUN(_lemma_,_gend_): PRED = _lemma_, GEND = {_gend_} $\n"
      "#BARE: BREAK $\n";
  struct Case {
    std::string raw, want;
  };
  const Case cases[] = {
      {"#N(SUBJ)", "SUBJ.PRED"},
      {"#n(SUBJ)", ""},  // names are compared letter case included
      {"#UNKNOWN(a) rest", " rest"},
      {"book [ --> #NOUN('کتاب',f) ; ]", "book [ --> PRED = 'کتاب', GEND = {f} ; ]"},
      {"#NOUN('a', f)", "PRED = 'a', GEND = { f}"},   // arguments are not trimmed
      {"#NOUN('a')", "PRED = 'a', GEND = {_gend_}"},  // a missing argument leaves its parameter
      {"#NOUN('a',f,extra)", "PRED = 'a', GEND = {f}"},
      {"#BARE()", "BREAK"},
      {"# N (OBJ)", "OBJ.PRED"},  // the name is trimmed
      {"a #N(OBJ", "a "},         // a call cut by the end of the file ends there
      {"a #N", "a "},
      {"no calls\nat all", "no calls\r\nat all"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ToUtf8(Expand(macros, c.raw)), c.want) << c.raw;
  }
}

TEST_F(MapLexMacroTest, WithoutAMacroFileEveryCallWritesNothing) {
  CMapLexicon lexicon("", "", "", english_.get(), 1.0);
  messages_.clear();
  EXPECT_FALSE(lexicon.ReadMacroDefinitions(dir_.File("absent.txt")));
  EXPECT_EQ(messages_.messages().size(), 1u);
  EXPECT_TRUE(lexicon.ExpandMacros(WriteText("raw.mlr", "x #N(a) y"), dir_.File("raw.ext")));
  CFileReader reader(16);
  EXPECT_EQ(ToUtf8(reader.ReadAll(dir_.File("raw.ext"))), "x  y");
}

}  // namespace
}  // namespace mapping_test
