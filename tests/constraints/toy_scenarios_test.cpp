// Whole analyses of the toy grammar: hand-made trees built, constrained,
// solved, restricted and narrowed as the CFG parser will do it.
#include <gtest/gtest.h>

#include "constraints/fsitem_lookup_table.h"
#include "constraints_fixture.h"
#include "toy_builder.h"

using namespace ctest;

namespace {

const char kIGaveHimABook[] = "(S (NP (pron I)) (VP (v gave) (NP (pron him)) (NP (det a) (n book))))";
const char kYouGaveHimABook[] = "(S (NP (pron you)) (VP (v gave) (NP (pron him)) (NP (det a) (n book))))";
const char kHimGaveIABook[] = "(S (NP (pron him)) (VP (v gave) (NP (pron I)) (NP (det a) (n book))))";
const char kIGaveHim[] = "(S (NP (pron I)) (VP (v gave) (NP (pron him))))";
const char kIHandedHim[] = "(S (NP (pron I)) (VP (v handed) (NP (pron him))))";
// "her book": her the object and book the second object, or her the
// determiner of the one object.
const char kIGaveHerBook[] =
    "(S (NP (pron I)) {(VP (v gave) (NP (pron her)) (NP (n book))) (VP (v gave) (NP (det her) (n book)))})";

const std::string kObjHim = "OBJ [CASE acc, NUM sg, PERS 3, PRED he]";
const std::string kABook = "OBJ2 [CASE {nom,acc}, NUM sg, PERS 3, PRED book, SPEC [NUM sg, PRED a]]";
const std::string kHerAndBook =
    "OBJ [CASE acc, NUM sg, PERS 3, PRED she], OBJ2 [CASE {nom,acc}, NUM sg, PERS 3, PRED book]";
const std::string kHerBook = "OBJ [CASE {nom,acc}, NUM sg, PERS 3, PRED book, SPEC [POSS yes, PRED her]]";

std::string Reading(const std::string& gf, const std::string& objects,
                    const std::string& subject = "SUBJ [CASE nom, NUM sg, PERS 1, PRED I]") {
  return "[GF " + gf + ", " + objects + ", PRED give, " + subject + ", TENSE past]";
}

template <typename Literals>
std::string Text(const Literals& context) {
  std::string text;
  for (int literal : context) text += (text.empty() ? "" : ",") + std::to_string(literal);
  return text;
}

// Choice 1 is the frame of "give" (+1 ditransitive) or the case of "you"
// (+1 nominative); in the attachment sentence choice 2 picks the analysis.
const struct {
  const char* tree;
  ContextList context;
  std::string outcome;
} kCases[] = {
    {kIGaveHimABook, {}, "(1) " + Reading("1", kObjHim + ", " + kABook) + " under 1"},
    {kYouGaveHimABook,
     {},
     "(2) " + Reading("1", kObjHim + ", " + kABook, "SUBJ [CASE nom, PERS 2, PRED you]") + " under 1,2"},
    // Without a second object only the transitive frame is complete.
    {kIGaveHim, {}, "(-1) " + Reading("2", kObjHim) + " under -1"},
    // The subject is accusative: the "=c" constraint of S fails everywhere.
    {kHimGaveIABook, {}, "failed by its constraints"},
    // "hand" has only the ditransitive frame: incomplete, though consistent.
    {kIHandedHim, {}, "no reading"},
    {kIGaveHerBook, {}, "(1,-2)(-1,2) " + Reading("1", kHerAndBook) + " under -2,1"},
    {kIGaveHerBook, {1, -2}, "(1,-2)(-1,2) " + Reading("1", kHerAndBook) + " under -2,1"},
    {kIGaveHerBook, {-1, 2}, "(1,-2)(-1,2) " + Reading("2", kHerBook) + " under -1,2"},
};

class ToyScenarioTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(LoadToyGrammar());
    P_FSCompiler::MarkInitialItems();
  }

  // One sentence after the per-sentence reset: built, its constraints
  // resolved, solved; null when it failed while being built.
  P_FStructure* Solved(const char* tree) {
    P_FSCompiler::ResetForSentence();
    P_FStructure* top = BuildToyTree(tree);
    if (top->failed) return nullptr;
    top->ResolveNogoodsRecursive(top, CFeatureSet(kFeatureSetWords));
    top->Solve();
    return top;
  }

  // The solution contexts, the reading (restricted to the context, then
  // narrowed) and the context it was read under, or why there is none.
  std::string Outcome(const char* tree, ContextList context = {}) {
    P_FStructure* top = Solved(tree);
    if (!top) return "failed while building";
    if (top->failed) return "failed by its constraints";
    std::string text;
    for (const CFeatureSet& solution : top->solutionContexts) text += "(" + Text(ListFeatureLiterals(solution)) + ")";
    P_FStructure* reading = top->RestrictToContextResolved(context);
    if (!reading) return text + "no reading";
    reading->NarrowValueContexts(context);
    return text + " " + PrintFStructure(reading) + " under " + Text(context);
  }

  ConstraintsData data_{"SUBJ,OBJ,OBJ2", "SUBJ\r\nOBJ\r\nOBJ2\r\nSPEC\r\n"};
  FrameTableScope frames_{{{1, {"SUBJ", "OBJ", "OBJ2"}}, {2, {"SUBJ", "OBJ"}}}};
};

}  // namespace

TEST_F(ToyScenarioTest, SentencesGiveTheirWholeReadings) {
  for (const auto& c : kCases) EXPECT_EQ(Outcome(c.tree, c.context), c.outcome) << c.tree;
  // The accusative reading of "you" (-1) is what the case constraint rules out.
  EXPECT_EQ(Solved(kYouGaveHimABook)->nogoods.front(), Bits({-1}));
}

TEST_F(ToyScenarioTest, ReadingsSurviveWritingAndReadingTheDumps) {
  P_FSCompiler::ResetForSentence();
  ASSERT_TRUE(P_SymbolTable::WriteDump());
  ASSERT_TRUE(P_FSCompiler::WriteDump());
  P_FSCompiler::Init();
  ASSERT_EQ(fsitem_lookup_table.count, 0);
  ASSERT_TRUE(P_FSCompiler::ReadDump());
  ASSERT_TRUE(P_SymbolTable::ReadDump());
  P_FSCompiler::MarkInitialItems();
  for (const auto& c : kCases) EXPECT_EQ(Outcome(c.tree, c.context), c.outcome) << c.tree;
}

TEST_F(ToyScenarioTest, APassedTimeLimitLeavesNoReading) {
  ParseClockScope clock;
  EXPECT_EQ(Outcome(kIGaveHimABook).substr(0, 4), "(1) ");
  clock.Expire();
  EXPECT_EQ(Outcome(kIGaveHimABook).substr(0, 6), "failed");
}
