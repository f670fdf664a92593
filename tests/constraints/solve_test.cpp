// Solving: completeness and coherence against subcategorisation frames.
#include <gtest/gtest.h>

#include <map>

#include "constraints_fixture.h"
#include "core/trace_log.h"
#include "solver_test_helpers.h"

using namespace solver_test;

namespace {

class SolveTest : public ::testing::Test {
 protected:
  SolveTest() {
    previous_ = SetSubcatFrameSource([](int n) -> std::optional<std::vector<uint16_t>> {
      static const std::map<int, std::vector<std::string>> frames{
          {1, {"SUBJ", "OBJ"}}, {2, {"OBJ"}}, {7, {"SUBJ"}}, {8, {}}};
      const auto frame = frames.find(n);
      if (frame == frames.end()) return std::nullopt;
      std::vector<uint16_t> ids;
      for (const std::string& name : frame->second) ids.push_back(Id(name));
      return ids;
    });
  }
  ~SolveTest() override { SetSubcatFrameSource(previous_); }

  ConstraintsData data_{"SUBJ,OBJ,OBJ2,OBL"};
  SubcatFrameSource previous_;
};

struct Filler {
  const char* function;
  ContextList context;
};

// A predicate's F-structure: GF values and governable functions, each
// function an F-structure reached under its context.
P_FStructure* Predicate(std::initializer_list<Filler> frames, std::initializer_list<Filler> functions) {
  auto* fs = new P_FStructure();
  if (frames.size() > 0) {
    P_FSItemComplex* gf = Item("GF", 0, {});
    for (const Filler& frame : frames) gf->AddValue(Atom(frame.function, frame.context));
    fs->AddItem(gf);
  }
  for (const Filler& function : functions) {
    fs->AddItem(Item(function.function, 0x80, {Link(new P_FStructure(), function.context)}));
  }
  fs->items.sort([](const P_FSItem* a, const P_FSItem* b) { return *a < *b; });
  return fs;
}

}  // namespace

TEST_F(SolveTest, FramesAgainstPresentFunctions) {
  struct Case {
    const char* what;
    std::initializer_list<Filler> frames;
    std::initializer_list<Filler> functions;
    std::list<CFeatureSet> nogoods;
    std::list<CFeatureSet> solutions;
  } cases[] = {
      {"complete and coherent", {{"1", {0}}}, {{"SUBJ", {0}}, {"OBJ", {0}}}, {}, {EmptyFeatureSet}},
      {"incomplete", {{"1", {0}}}, {{"SUBJ", {0}}}, {EmptyFeatureSet}, {}},
      {"an extra function under a choice", {{"1", {0}}}, {{"SUBJ", {0}}, {"OBJ", {0}}, {"OBL", {2}}}, {Bits({2})},
       {EmptyFeatureSet}},
      {"conflicting presence contexts are not combined",
       {{"1", {0}}},
       {{"SUBJ", {1}}, {"SUBJ", {-1}}, {"OBJ", {1}}},
       {},
       {Bits({1})}},
      {"no predicate", {}, {{"SUBJ", {3}}}, {Bits({3})}, {}},
      {"a frame named by the digits of its value", {{"x7", {0}}}, {{"SUBJ", {0}}}, {}, {EmptyFeatureSet}},
      {"a frame without functions", {{"8", {4}}}, {}, {Bits({4})}, {}},
      {"two frames under a choice", {{"1", {5}}, {"7", {-5}}}, {{"SUBJ", {0}}, {"OBJ", {0}}}, {Bits({-5})},
       {Bits({5})}},
  };
  for (const Case& c : cases) {
    P_FStructure* fs = Predicate(c.frames, c.functions);
    fs->Solve();
    EXPECT_TRUE(fs->solved) << c.what;
    EXPECT_EQ(fs->nogoods, c.nogoods) << c.what;
    EXPECT_EQ(fs->solutionContexts, c.solutions) << c.what;
  }
}

TEST_F(SolveTest, FramesOutsideTheTableAreSkippedAndLogged) {
  const uint64_t lines = TraceLogLineCount();
  P_FStructure* fs = Predicate({{"99", {1}}, {"45", {-1}}}, {{"SUBJ", {0}}});
  fs->Solve();
  EXPECT_EQ(TraceLogLineCount(), lines + 2);
  EXPECT_TRUE(fs->nogoods.empty());
  EXPECT_TRUE(fs->solutionContexts.empty());
}

TEST_F(SolveTest, AnAtomicGovernableFunctionCountsAsPresent) {
  P_FStructure* fs = Predicate({{"1", {0}}}, {{"OBJ", {0}}});
  fs->AddItem(new P_FSItemSimple(Id("SUBJ"), Id("it")));
  fs->items.sort([](const P_FSItem* a, const P_FSItem* b) { return *a < *b; });
  fs->Solve();
  EXPECT_EQ(fs->solutionContexts, std::list<CFeatureSet>{EmptyFeatureSet});
}

TEST_F(SolveTest, PredicatesReachedUnderSeveralContexts) {
  struct Case {
    const char* what;
    ContextList second;
    std::list<CFeatureSet> nogoods;
  } cases[] = {
      {"nothing in common: governs once per context", {-1}, {Bits({1}), Bits({-1}), Bits({3})}},
      {"a common literal: governs once", {1, 2}, {Bits({1}), Bits({3})}},
  };
  for (const Case& c : cases) {
    // Frame 1 needs SUBJ and OBJ, frame 2 OBJ; nothing is present, so each
    // required context becomes a nogood.
    P_FStructure* first = Predicate({{"1", {0}}}, {});
    P_FStructure* other = Predicate({{"2", {0}}}, {});
    auto* top = new P_FStructure();
    top->root->AddValue(Link(first, {1}));
    top->root->AddValue(Link(first, c.second));
    top->root->AddValue(Link(other, {3}));
    top->Solve();
    EXPECT_EQ(top->nogoods, c.nogoods) << c.what;
  }
}

TEST_F(SolveTest, SolveRunsOnceAndNotPastTheTimeLimit) {
  P_FStructure* fs = Predicate({{"7", {0}}}, {{"SUBJ", {0}}});
  fs->Solve();
  fs->Solve();
  EXPECT_EQ(fs->solutionContexts.size(), 1u);

  ParseClockScope clock;
  clock.Expire();
  P_FStructure* late = Predicate({{"7", {0}}}, {{"SUBJ", {0}}});
  late->Solve();
  EXPECT_FALSE(late->solved);
  EXPECT_TRUE(late->solutionContexts.empty());
}

TEST_F(SolveTest, NestedFStructuresAreSolvedToo) {
  P_FStructure* inner = Predicate({{"7", {0}}}, {{"SUBJ", {0}}});
  auto* top = new P_FStructure();
  top->AddItem(Item("XCOMP", 0, {Link(inner)}));
  top->Solve();
  EXPECT_TRUE(inner->solved);
  EXPECT_EQ(inner->solutionContexts, std::list<CFeatureSet>{EmptyFeatureSet});
}
