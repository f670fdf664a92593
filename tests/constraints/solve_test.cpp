// Solving: completeness and coherence against subcategorisation frames, the
// hooks the solver reads frames and the parse clock through, and restricting
// solved F-structures to one reading.
#include <gtest/gtest.h>

#include "constraints_fixture.h"
#include "core/trace_log.h"

using namespace ctest;

namespace {

class SolveTest : public ConstraintsTest {
 protected:
  FrameTableScope frames_{{{1, {"SUBJ", "OBJ"}}, {2, {"OBJ"}}, {7, {"SUBJ"}}, {8, {}}}};
};

using RestrictTest = ConstraintsTest;

// The reading under the context, which gets the chosen literals.
P_FStructure* Restrict(P_FStructure* fs, ContextList& context) { return fs->RestrictToContextResolved(context); }

using Fillers = std::initializer_list<std::pair<const char*, ContextList>>;

// A predicate's F-structure: GF values and governable functions, each
// function an F-structure reached under its context.
P_FStructure* Predicate(Fillers frames, Fillers functions) {
  auto* fs = new P_FStructure();
  P_FSItemComplex* gf = Item("GF", 0, {});
  for (const auto& [frame, context] : frames) gf->AddValue(Atom(frame, context));
  if (frames.size() > 0)
    fs->AddItem(gf);
  else
    delete gf;
  for (const auto& [function, context] : functions)
    fs->AddItem(Item(function, 0x80, {Link(new P_FStructure(), context)}));
  SortItems(fs);
  return fs;
}

}  // namespace

TEST_F(SolveTest, FramesAgainstPresentFunctions) {
  // The last row's frames are outside the table: skipped and logged.
  // Aggregates, so that the lists live as long as the table.
  const struct Case {
    const char* what;
    Fillers frames, functions;
    Sets nogoods, solutions;
  } cases[] = {
      {"complete and coherent", {{"1", {0}}}, {{"SUBJ", {0}}, {"OBJ", {0}}}, {}, {EmptyFeatureSet}},
      {"incomplete", {{"1", {0}}}, {{"SUBJ", {0}}}, {EmptyFeatureSet}, {}},
      {"an extra function under a choice",
       {{"1", {0}}},
       {{"SUBJ", {0}}, {"OBJ", {0}}, {"OBJ2", {2}}},
       {Bits({2})},
       {EmptyFeatureSet}},
      {"conflicting presence contexts are not combined",
       {{"1", {0}}},
       {{"SUBJ", {1}}, {"SUBJ", {-1}}, {"OBJ", {1}}},
       {},
       {Bits({1})}},
      {"no predicate", {}, {{"SUBJ", {3}}}, {Bits({3})}, {}},
      {"a frame without functions", {{"8", {4}}}, {}, {Bits({4})}, {}},
      {"two frames under a choice",
       {{"1", {5}}, {"7", {-5}}},
       {{"SUBJ", {0}}, {"OBJ", {0}}},
       {Bits({-5})},
       {Bits({5})}},
      {"frames outside the table are skipped", {{"99", {1}}, {"45", {-1}}}, {{"SUBJ", {0}}}, {}, {}},
  };
  for (const auto& [what, frames, functions, nogoods, solutions] : cases) {
    P_FStructure* fs = Predicate(frames, functions);
    const uint64_t lines = TraceLogLineCount();
    fs->Solve();
    EXPECT_TRUE(fs->solved) << what;
    EXPECT_EQ(fs->nogoods, nogoods) << what;
    EXPECT_EQ(fs->solutionContexts, solutions) << what;
    EXPECT_EQ(TraceLogLineCount() - lines, &what == &std::end(cases)[-1].what ? 2u : 0u) << what;
  }
  // An atomic governable function counts as present.
  P_FStructure* atomic = Predicate({{"1", {0}}}, {{"OBJ", {0}}});
  atomic->AddItem(new P_FSItemSimple(Id("SUBJ"), Id("it")));
  SortItems(atomic);
  atomic->Solve();
  EXPECT_EQ(atomic->solutionContexts, Sets{EmptyFeatureSet});
}

TEST_F(SolveTest, SolveStopsPastTheTimeLimit) {
  ParseClockScope clock;
  for (const auto& [now, exceeded] : {std::pair{0, false}, {100, false}, {101, true}}) {
    clock.Set(now);
    EXPECT_EQ(SolverTimeExceeded(), exceeded) << now;  // the limit is strictly exceeded
  }
  P_FStructure* late = Predicate({{"7", {0}}}, {{"SUBJ", {0}}});
  late->Solve();
  EXPECT_FALSE(late->solved);
  EXPECT_TRUE(late->solutionContexts.empty());
}

TEST_F(RestrictTest, AFailedLinkedFStructureCostsOnlyItsChoice) {
  auto* broken = new P_FStructure();
  broken->AddNogood(EmptyFeatureSet);
  broken->failed = true;
  auto* fs = new P_FStructure();
  fs->AddItem(Item("OBJ", 0, {Link(broken, {1}), Link(WithCase({Atom("acc")}), {-1})}));
  ContextList context;
  const P_FStructure* reading = Restrict(fs, context);
  ASSERT_NE(reading, nullptr);
  EXPECT_EQ(context, ContextList{-1});
  const P_FSItem* obj = reading->FindItem(Id("OBJ"));
  ASSERT_EQ(obj->GetValueCount(), 1);
  EXPECT_EQ(Texts(obj->GetValues().front()->GetBoundFStructure()->FindItem(Id("CASE"))), Strings{"acc()"});
  // A failed F-structure has no reading.
  fs->failed = true;
  context = {4};
  EXPECT_EQ(Restrict(fs, context), nullptr);
  EXPECT_EQ(fs->RestrictToContext(context), nullptr);
  EXPECT_EQ(context, ContextList{4});
}

TEST_F(RestrictTest, TheChoiceTreeDecidesWhereTheSearchGivesUp) {
  // Fourteen choices must all be true inside the solution context +1: more
  // assignments than the extension tries, so the choice tree decides.
  P_FStructure* fs = WithCase({Atom("nom", {1}), Atom("acc", {-1})});
  ContextList expected{1};
  for (ChoiceLiteral choice = 2; choice <= 15; ++choice) {
    fs->AddNogood(Bits({static_cast<ChoiceLiteral>(-choice)}));
    expected.push_back(choice);
  }
  fs->solutionContexts = {Bits({1})};
  ContextList context;
  P_FStructure* reading = Restrict(fs, context);
  ASSERT_NE(reading, nullptr);
  context.sort();
  EXPECT_EQ(context, expected);
  EXPECT_EQ(Texts(reading->FindItem(Id("CASE"))), Strings{"nom(1)"});
  // When no reading is possible at all there is no F-structure.
  fs->AddNogood(Bits({1}));
  context.clear();
  EXPECT_EQ(Restrict(fs, context), nullptr);
}

// The choice tree takes the nogoods that no other one contains, so a long
// sentence's many nogoods inside shorter ones do not multiply its branches;
// the reading still avoids every nogood.
TEST_F(RestrictTest, TheChoiceTreeReadingAvoidsNogoodsInsideOthers) {
  const struct Case {
    const char* what;
    std::vector<FeatureLiteralList> nogoods;
    ContextList expected;
  } cases[] = {
      {"a nogood inside a shorter one", {{-2}, {-2, -3}, {-2, 3}}, {1, 2}},
      {"nogoods that share literals without containing each other", {{-2}, {2, -3}}, {1, 2, 3}},
      {"a chain of implications", {{-2}, {2, -3}, {3, -4}, {2, 3, -4}}, {1, 2, 3, 4}},
  };
  for (const auto& [what, nogoods, expected] : cases) {
    P_FStructure* fs = WithCase({Atom("nom", {1}), Atom("acc", {-1})});
    // Fourteen further choices must be true, and the solution context names
    // too many choices for the extension to take it: the choice tree decides.
    for (ChoiceLiteral choice = 10; choice <= 23; ++choice) fs->AddNogood(Bits({static_cast<ChoiceLiteral>(-choice)}));
    for (const FeatureLiteralList& nogood : nogoods) fs->AddNogood(Bits(nogood));
    FeatureLiteralList solution{1};
    for (ChoiceLiteral choice = 40; choice <= 70; ++choice) solution.push_back(choice);
    fs->solutionContexts = {Bits(solution)};
    ContextList context;
    ASSERT_NE(Restrict(fs, context), nullptr) << what;
    context.sort();
    ContextList decided;
    for (ChoiceLiteral literal : context) {
      if (literal > -10 && literal < 10) decided.push_back(literal);
    }
    EXPECT_EQ(decided, expected) << what;
  }
}

TEST_F(RestrictTest, TheReadingOutlivesTheFStructureAndPathLinksToTheTopAreNotFollowed) {
  P_FStructure* fs = WithCase({Atom("nom", {1})});
  ContextList context{1};
  P_FStructure* reading = fs->RestrictToContext(context);
  delete fs;
  EXPECT_EQ(Texts(reading->FindItem(Id("CASE"))), Strings{"nom(1)"});

  // An INDEX item keeps its path link unresolved; here it names a path in
  // the very F-structure that holds it.
  auto* top = new P_FStructure();
  top->AddItem(Item("INDEX", 0, {new P_ConValFSLink(top, Id("OBJ CASE"))}));
  top->AddItem(Item("OBJ", 0, {Link(WithCase({Atom("acc", {1})}))}));
  SortItems(top);
  top->ResolveNogoodsRecursive(top, CFeatureSet(kFeatureSetWords));
  EXPECT_TRUE(top->CollectNogoodsDeep().empty());
  ASSERT_NE(reading = Restrict(top, context), nullptr);
  reading->NarrowValueContexts(context);
  const P_ConVal* kept = reading->FindItem(SymbolTableIndexId)->GetValues().front();
  EXPECT_EQ(kept->GetBoundFStructure(), top);
  EXPECT_EQ(kept->GetFSAttribute(), Id("OBJ CASE"));
}

// A set of coordinated verb phrases holds the subject they share: the set's
// functions are its members', which their own frames check, so the set has
// no frame of its own and is still coherent. A function without a frame
// outside a set stays incoherent.
TEST_F(SolveTest, ASetSharesItsFunctionsWithItsMembers) {
  const auto withSubject = [](P_FStructure* fs) {
    fs->AddItem(Item("SUBJ", 0x80, {Link(new P_FStructure(), {3})}));
    SortItems(fs);
    return fs;
  };
  const auto set = [](P_FStructure* member) {
    auto* fs = new P_FStructure();
    fs->AddItem(Item("SET", 0x80, {Link(member)}));
    return fs;
  };
  const struct Case {
    const char* what;
    P_FStructure* fs;
    Sets nogoods;
  } cases[] = {
      {"a subject beside a set", withSubject(set(Predicate({{"7", {0}}}, {{"SUBJ", {0}}}))), {}},
      {"a subject of a clause linked to a set at its root",
       [&] {
         P_FStructure* clause = withSubject(new P_FStructure());
         clause->root->AddValue(Link(set(Predicate({{"7", {0}}}, {{"SUBJ", {0}}}))));
         return clause;
       }(),
       {}},
      {"a subject without a set or a frame", withSubject(new P_FStructure()), {Bits({3})}},
  };
  for (const auto& [what, fs, nogoods] : cases) {
    fs->Solve();
    EXPECT_EQ(fs->nogoods, nogoods) << what;
  }
}

// A function's F-structure that is there only under a choice (one
// alternative of a packed daughter) is solved under that choice: when its
// frame is incomplete, the choice is the nogood, and the readings without
// it stay open.
TEST_F(SolveTest, AnIncompleteAlternativeCostsOnlyItsChoice) {
  const struct Case {
    const char* what;
    ContextList reached;
    Sets nogoods;
  } cases[] = {
      {"reached under a choice", {2}, {Bits({2})}},
      {"reached under two choices", {2, -4}, {Bits({2, -4})}},
      {"reached always", {0}, {EmptyFeatureSet}},
  };
  for (const auto& [what, reached, nogoods] : cases) {
    P_FStructure* top = Predicate({{"2", {0}}}, {});
    P_FStructure* incomplete = Predicate({{"1", {0}}}, {{"SUBJ", {0}}});
    top->AddItem(Item("OBJ", 0x80, {Link(incomplete, reached)}));
    SortItems(top);
    top->Solve();
    EXPECT_EQ(top->nogoods, nogoods) << what;
  }
}
