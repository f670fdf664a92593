// Constraint texts, the test that a structure was used whole, and the
// cleaning of the sentence list.
#include <gtest/gtest.h>

#include "core/trace_log.h"
#include "transfer/generation/generation_fixture.h"

using namespace generation_test;

TEST_F(GenerationTest, ConstraintTextsAreEvaluatedPerBracket) {
  CUrduSentenceGenerator& urdu = Generator();
  CFSNode* mother = BuildStructure("[CASE=erg NUM=sg,pl NEG=+ SUBJ[PERS=3]]");
  CFSNode* self = BuildStructure("[CASE=erg PERS=1]");
  struct Case {
    const char16_t* text;
    bool holds;
  };
  const Case cases[] = {
      {u"[^CASE =c erg]", true},
      {u"[^CASE =c nom]", false},
      {u"[^NUM =c pl]", true},       // one shared value is enough
      {u"[^TENSE =c pres]", false},  // missing
      {u"^CASE =c erg", false},      // never closed: nothing to evaluate
      {u"~[^NEG =c +]", false},
      {u"~[^MOOD =c interrog]", true},
      {u"[^CASE =c nom | ^CASE =c erg]", true},
      {u"[^CASE =c erg] & [^NUM =c sg]", true},
      {u"[^CASE =c erg] && [^NUM =c du]", false},  // "&&" counts once
      {u"[^CASE = !CASE]", true},                  // two existing nodes share a value
      {u"[^SUBJ PERS = !PERS]", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(urdu.EvaluateConstraint(c.text, mother, self, true), c.holds) << ToUtf8(c.text);
  }
  EXPECT_FALSE(urdu.EvaluateConstraint(u"[^CASE =c erg]", nullptr, self, true));
}

TEST_F(GenerationTest, ANodeComparisonBuildsTheMissingSideOnlyOutsideTestOnlyMode) {
  CUrduSentenceGenerator& urdu = Generator();
  CFSNode* mother = BuildStructure("[CASE=erg]");
  CFSNode* self = BuildStructure("[]");
  EXPECT_FALSE(urdu.EvaluateConstraint(u"[!CASE = ^CASE]", mother, self, true));
  EXPECT_EQ(At(self, "CASE"), nullptr);
  EXPECT_TRUE(urdu.EvaluateConstraint(u"[!CASE = ^CASE]", mother, self, false));
  ASSERT_NE(At(self, "CASE"), nullptr);
  EXPECT_EQ(At(self, "CASE")->FollowForward(), At(mother, "CASE"));
  EXPECT_EQ(At(mother, "CASE")->GenerationMark, 1);
  // "~" reads the comparison in test-only mode even when the caller does not.
  CFSNode* bare = BuildStructure("[]");
  EXPECT_TRUE(urdu.EvaluateConstraint(u"~[!GEND = ^GEND]", mother, bare, false));
  EXPECT_EQ(At(bare, "GEND"), nullptr);
  // Values that do not meet give a trace line.
  const uint64_t lines = TraceLogLineCount();
  CFSNode* nominative = BuildStructure("[CASE=nom]");
  EXPECT_FALSE(urdu.EvaluateConstraint(u"[!CASE = ^CASE]", mother, nominative, false));
  EXPECT_EQ(TraceLogLineCount(), lines + 1);
}

TEST_F(GenerationTest, AStructureIsUsedWholeWhenEverySubStructureWasUsedOrNeedNotBe) {
  CUrduSentenceGenerator& urdu = Generator();
  struct Case {
    const char* what;
    const char* structure;
    const char* used;  // dotted paths given the consumed flag, ';' between them
    bool whole;
  };
  const Case cases[] = {
      {"atomic features alone", "[TENSE=pres NUM=sg]", "", true},
      {"an unused sub-structure", "[OBJ[PRED='kitab']]", "", false},
      {"a used sub-structure", "[OBJ[PRED='kitab']]", "OBJ", true},
      {"used, but its own part unused", "[OBJ[SPEC[PRED='ek']]]", "OBJ", false},
      {"an unused sub-structure that need not be", "[NOUN[X=1]]", "", true},
      {"PRED need never be used", "[PRED='parh'/SUBJ]", "", true},
      {"the root itself unused with an unused part", "[OBJ[PRED='kitab'] SUBJ[PRED='woh']]", "OBJ", false},
  };
  for (const Case& c : cases) {
    CFSNode* root = BuildStructure(c.structure);
    root->GenerationMark = 1;
    std::string used = c.used;
    for (size_t start = 0; !used.empty() && start <= used.size();) {
      const size_t end = std::min(used.find(';', start), used.size());
      At(root, used.substr(start, end - start))->GenerationMark = 1;
      start = end + 1;
    }
    EXPECT_EQ(urdu.AllFeaturesConsumed(root), c.whole) << c.what;
  }
  EXPECT_FALSE(urdu.AllFeaturesConsumed(nullptr));
  // A root neither used nor marked fails unless ROOT need not be used: it need not.
  EXPECT_TRUE(urdu.AllFeaturesConsumed(BuildStructure("[TENSE=pres]")));
}

TEST_F(GenerationTest, SentencesAreSortedDeduplicatedAndCleaned) {
  CUrduSentenceGenerator& urdu = Generator();
  struct Case {
    WStringList in;
    const char* out;
  };
  const Case cases[] = {
      {{u" b a", u" a b", u" b a"}, " a b| b a"},
      {{u" x \u0627 y"}, " x y"},  // a lone alif goes with one blank
      {{u" x'y 'z'"}, " xy z"},    // apostrophes vanish
      {{u" x \u0627"}, " x "},     // a match at the end of the text counts
      // the final marks and the comma join the word before them
      {{u" x \u06D4", u" x y \u061F", u" x \u060C y \u06D4"}, " x y\u061F| x\u060C y\u06D4| x\u06D4"},
      {{u" \u06D4 x "}, "\u06D4 x "},  // a blank not before a mark stays
      {{}, ""},
  };
  for (const Case& c : cases) {
    WStringList sentences = c.in;
    urdu.PostProcessSentences(sentences);
    EXPECT_EQ(Joined(sentences), c.out);
  }
  EXPECT_EQ(CUrduSentenceGenerator::ReplaceAllIgnoreCase(u"A=C b=c", u"=c", u"=="), u"A== b==");
  EXPECT_EQ(CUrduSentenceGenerator::ReplaceAllIgnoreCase(u"abc", u"", u"x"), u"abc");
  EXPECT_EQ(CUrduSentenceGenerator::RemoveCharacter(u"a-b-", u'-'), u"ab");
}

TEST_F(GenerationTest, ItemFilesAreReadAsTrimmedNames) {
  specialItems = u" NOUN ,\r\nRESPECT,,AGR\r\n";
  headlessItems = u"neg";
  CUrduSentenceGenerator& urdu = Generator();
  for (const char16_t* name : {u"NOUN", u"RESPECT", u"AGR", u"PRED", u"ROOT"}) {
    EXPECT_EQ(urdu.SpecialUnmarkedItems().count(Sym(name)), 1u) << ToUtf8(name);
  }
  EXPECT_EQ(urdu.SpecialUnmarkedItems().size(), 5u);
  EXPECT_EQ(urdu.HeadlessPredicateItems().count(Sym(u"neg")), 1u);
}
