// Whole analyses of the toy grammar: hand-made trees built, constrained,
// solved, restricted and narrowed as the CFG parser will do it.
#include <gtest/gtest.h>

#include <algorithm>

#include "constraints/fsitem_lookup_table.h"
#include "constraints/p_fs_compiler.h"
#include "constraints/p_symbol_table.h"
#include "constraints/solver_hooks.h"
#include "constraints_fixture.h"
#include "core/parse_clock.h"
#include "toy_builder.h"

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

const char kSubjI[] = "SUBJ [CASE nom, NUM sg, PERS 1, PRED I]";
const char kObjHim[] = "OBJ [CASE acc, NUM sg, PERS 3, PRED he]";
const char kABook[] = "[CASE {nom,acc}, NUM sg, PERS 3, PRED book, SPEC [NUM sg, PRED a]]";

class ToyScenarioTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(grammar_.Load());
    P_FSCompiler::MarkInitialItems();
    previousFrames_ = SetSubcatFrameSource([this](int n) -> std::optional<std::vector<uint16_t>> {
      const auto frame = grammar_.Frames().find(n);
      if (frame == grammar_.Frames().end()) return std::nullopt;
      std::vector<uint16_t> ids;
      for (const std::string& name : frame->second) ids.push_back(P_SymbolTable::Intern(name));
      return ids;
    });
  }
  void TearDown() override {
    SetSubcatFrameSource(previousFrames_);
    P_FSCompiler::ResetForSentence();
  }

  // One sentence: a fresh builder, after the per-sentence reset.
  ToyAnalysis Analyse(const std::string& tree, ContextList context = {}) {
    P_FSCompiler::ResetForSentence();
    ToyBuilder builder(grammar_);
    return builder.Analyse(tree, std::move(context));
  }

  static std::string Outcome(const ToyAnalysis& analysis) {
    if (analysis.reading) return PrintFStructure(analysis.reading);
    return analysis.top->failed ? "failed" : "no reading";
  }

  ConstraintsData data_{"SUBJ,OBJ,OBJ2", "SUBJ\r\nOBJ\r\nOBJ2\r\nSPEC\r\n"};
  ToyGrammar grammar_;
  SubcatFrameSource previousFrames_;
};

std::string Reading(const std::string& gf, const std::string& objects) {
  return "[GF " + gf + ", " + objects + ", PRED give, " + kSubjI + ", TENSE past]";
}

}  // namespace

TEST_F(ToyScenarioTest, ADitransitiveSentenceSolvesWithAllItsFunctions) {
  const ToyAnalysis analysis = Analyse(kIGaveHimABook);
  EXPECT_FALSE(analysis.top->failed);
  // Only the ditransitive frame of "give" (choice 1) is complete and coherent.
  EXPECT_EQ(analysis.top->solutionContexts, std::list<CFeatureSet>{BuildFeatureSet({1})});
  EXPECT_EQ(Outcome(analysis), Reading("1", std::string(kObjHim) + ", OBJ2 " + kABook));
  EXPECT_EQ(analysis.context, (ContextList{1}));
}

TEST_F(ToyScenarioTest, TheCaseConstraintExcludesTheAccusativeSubject) {
  const ToyAnalysis analysis = Analyse(kYouGaveHimABook);
  // Choice 1 is the case of "you": nominative under +1, accusative under -1.
  EXPECT_EQ(analysis.top->nogoods.front(), BuildFeatureSet({-1}));
  EXPECT_FALSE(analysis.top->failed);
  EXPECT_EQ(analysis.top->chosenContext, (ContextList{1}));
  EXPECT_NE(Outcome(analysis).find("SUBJ [CASE nom, PERS 2, PRED you]"), std::string::npos) << Outcome(analysis);
  EXPECT_EQ(analysis.context, (ContextList{1, 2}));
}

TEST_F(ToyScenarioTest, SentencesWithoutAReading) {
  struct Case {
    const char* tree;
    bool failedBeforeConstraints;
    bool failed;
  } cases[] = {
      // The subject is accusative: the "=c" constraint of S fails everywhere.
      {kHimGaveIABook, false, true},
      // "hand" has only the ditransitive frame: incomplete, though consistent.
      {kIHandedHim, false, false},
  };
  for (const Case& c : cases) {
    P_FSCompiler::ResetForSentence();
    ToyBuilder builder(grammar_);
    P_FStructure* top = builder.Build(c.tree);
    EXPECT_EQ(top->failed, c.failedBeforeConstraints) << c.tree;
    top->ResolveNogoodsRecursive(top, CFeatureSet(kFeatureSetWords));
    top->Solve();
    EXPECT_EQ(top->failed, c.failed) << c.tree;
    EXPECT_TRUE(top->solutionContexts.empty()) << c.tree;
    EXPECT_EQ(ToyBuilder::Read(top, {}).reading, nullptr) << c.tree;
  }
}

TEST_F(ToyScenarioTest, AMissingObjectLeavesOnlyTheTransitiveFrame) {
  const ToyAnalysis analysis = Analyse(kIGaveHim);
  // The ditransitive frame (+1) is incomplete and becomes a nogood.
  EXPECT_NE(std::find(analysis.top->nogoods.begin(), analysis.top->nogoods.end(), BuildFeatureSet({1})),
            analysis.top->nogoods.end());
  EXPECT_EQ(analysis.top->solutionContexts, std::list<CFeatureSet>{BuildFeatureSet({-1})});
  EXPECT_EQ(Outcome(analysis), Reading("2", kObjHim));
}

TEST_F(ToyScenarioTest, TwoAttachmentsGiveTwoWholeReadings) {
  P_FSCompiler::ResetForSentence();
  ToyBuilder builder(grammar_);
  P_FStructure* top = builder.Build(kIGaveHerBook);
  top->ResolveNogoodsRecursive(top, CFeatureSet(kFeatureSetWords));
  top->Solve();
  // Choice 1 is the frame of "give", choice 2 the attachment: the first
  // analysis (her | book) holds under -2, the second (her book) under +2.
  const std::list<CFeatureSet> expected{BuildFeatureSet({1, -2}), BuildFeatureSet({-1, 2})};
  ASSERT_EQ(top->solutionContexts, expected);
  const std::string herAndBook = "OBJ [CASE acc, NUM sg, PERS 3, PRED she], OBJ2 [CASE {nom,acc}, NUM sg, PERS 3, PRED book]";
  const std::string herBook = "OBJ [CASE {nom,acc}, NUM sg, PERS 3, PRED book, SPEC [POSS yes, PRED her]]";
  struct Case {
    ContextList context;
    std::string reading;
  } cases[] = {{{}, Reading("1", herAndBook)}, {{1, -2}, Reading("1", herAndBook)}, {{-1, 2}, Reading("2", herBook)}};
  for (const Case& c : cases) {
    const ToyAnalysis analysis = ToyBuilder::Read(top, c.context);
    EXPECT_EQ(Outcome(analysis), c.reading);
  }
}

TEST_F(ToyScenarioTest, ResultsSurviveWritingAndReadingTheDumps) {
  const char* trees[] = {kIGaveHimABook, kYouGaveHimABook, kHimGaveIABook, kIGaveHim, kIHandedHim, kIGaveHerBook};
  std::vector<std::string> before;
  for (const char* tree : trees) before.push_back(Outcome(Analyse(tree)));
  P_FSCompiler::ResetForSentence();
  ASSERT_TRUE(P_SymbolTable::WriteDump());
  ASSERT_TRUE(P_FSCompiler::WriteDump());

  P_FSCompiler::Init();
  ASSERT_EQ(fsitem_lookup_table.count, 0);
  ASSERT_TRUE(P_FSCompiler::ReadDump());
  ASSERT_TRUE(P_SymbolTable::ReadDump());
  P_FSCompiler::MarkInitialItems();
  std::vector<std::string> after;
  for (const char* tree : trees) after.push_back(Outcome(Analyse(tree)));
  EXPECT_EQ(after, before);
}

TEST_F(ToyScenarioTest, APassedTimeLimitLeavesNoReading) {
  int64_t now = 0;
  const SolverClock previousClock = SetSolverClock([&] { return now; });
  const int32_t limit = ParseTimeLimit;
  const int64_t start = ParseStartTime;
  ParseStartTime = 0;
  ParseTimeLimit = 100;
  EXPECT_NE(Outcome(Analyse(kIGaveHimABook)), "failed");
  now = 101;
  const ToyAnalysis late = Analyse(kIGaveHimABook);
  EXPECT_TRUE(late.top->failed);
  EXPECT_EQ(late.reading, nullptr);
  ParseTimeLimit = limit;
  ParseStartTime = start;
  SetSolverClock(previousClock);
}
