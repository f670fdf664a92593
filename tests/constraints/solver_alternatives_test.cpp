// Choices and shared structures in the solver: an equation through a path
// holds only under its own choice, a reading is chosen inside a solution
// context even when nothing clashes, a control path makes the structure it
// shares, and the restriction keeps a structure reached twice as one.
#include <memory>

#include "constraints_fixture.h"

namespace {

using ctest::Atom;
using ctest::Id;
using ctest::Link;

std::list<FeatureLiteralList> Contexts(const std::list<P_ConVal*>& values) {
  std::list<FeatureLiteralList> contexts;
  for (const P_ConVal* value : values) contexts.push_back(ListFeatureLiterals(value->contextBits));
  return contexts;
}

class SolverAlternatives : public ::testing::Test {
 protected:
  ConstraintsData data_{"SUBJ,OBJ,XCOMP", "SUBJ\r\nOBJ\r\nXCOMP\r\n"};
  MessageRecorder messages_;
};

// "^OBJ CASE=acc" in the alternative of choice -1 makes the object present
// under -1 only, not in the other alternative too.
TEST_F(SolverAlternatives, PathEquationMakesItsFunctionPresentUnderItsChoiceOnly) {
  auto* mother = new P_FStructure();
  P_FSItemComplex equation(Id("OBJ CASE"), kItemPath);
  equation.AddValue(Atom("acc", {-1}));
  mother->AddItem(equation.Instantiate(0, mother, nullptr));
  std::vector<std::list<P_ConVal*>> present(GovernableFunctionIds.size());
  mother->ScanGovernableFunctions(present);
  EXPECT_EQ(Contexts(present[0]), std::list<FeatureLiteralList>{});
  EXPECT_EQ(Contexts(present[1]), std::list<FeatureLiteralList>{{-1}});
  for (auto& copies : present) {
    for (P_ConVal* copy : copies) delete copy;
  }
}

// No nogood anywhere, but only choice -1 completes the frame: the reading
// is taken there.
TEST_F(SolverAlternatives, ReadingLiesInsideASolutionContextWithoutNogoods) {
  auto* fs = new P_FStructure();
  fs->AddItem(ctest::Item("TENSE", 0, {Atom("pres", {1}), Atom("past", {-1})}));
  fs->solutionContexts = {ctest::Bits({-1})};
  ContextList context;
  P_FStructure* restricted = fs->RestrictToContextResolved(context);
  ASSERT_NE(restricted, nullptr);
  EXPECT_EQ(context, ContextList{-1});
  EXPECT_EQ(ctest::Texts(restricted->FindItem(Id("TENSE"))), ctest::Strings{"past(-1)"});
}

// ^SUBJ of a verb phrase whose words say nothing of the subject: the
// subject is made in the verb phrase and shared, not a clash.
TEST_F(SolverAlternatives, ControlPathMakesTheStructureItShares) {
  auto* verbPhrase = new P_FStructure();
  auto* infinitive = new P_FStructure();
  infinitive->items.push_back(ctest::Item("SUBJ", kItemFStructureValued, {new P_ConValFSLink(verbPhrase, Id("SUBJ"))}));
  infinitive->ResolveIndexPaths();
  EXPECT_TRUE(infinitive->nogoods.empty());
  const P_FSItem* subject = verbPhrase->FindItem(Id("SUBJ"));
  ASSERT_NE(subject, nullptr);
  EXPECT_EQ(FirstValueFStructure(infinitive->FindItem(Id("SUBJ"))), FirstValueFStructure(subject));
}

// An infinitival complement that is incoherent under choice 1 (its verb
// takes no object there) rules out choice 1 for the whole sentence, also
// when the XCOMP sits in the verb phrase identified with the clause.
TEST_F(SolverAlternatives, NogoodOfAnInfinitivalComplementRulesOutItsChoice) {
  auto* infinitive = new P_FStructure();
  infinitive->AddNogood(ctest::Bits({1}));
  auto* verbPhrase = new P_FStructure();
  verbPhrase->AddItem(ctest::Item("XCOMP", kItemFStructureValued, {Link(infinitive)}));
  auto* clause = new P_FStructure();
  clause->AddItem(ctest::Item("TENSE", 0, {Atom("pres", {1}), Atom("past", {-1})}));
  clause->root->AddValue(Link(verbPhrase));
  ContextList context;
  P_FStructure* restricted = clause->RestrictToContextResolved(context);
  ASSERT_NE(restricted, nullptr);
  EXPECT_EQ(context, ContextList{-1});
  EXPECT_EQ(ctest::Texts(restricted->FindItem(Id("TENSE"))), ctest::Strings{"past(-1)"});
}

// Two functions holding one F-structure restrict to one F-structure.
TEST_F(SolverAlternatives, RestrictionKeepsAStructureReachedTwiceAsOne) {
  P_FStructure* shared = ctest::With("NUM", {Atom("sg")});
  auto* fs = new P_FStructure();
  fs->items.push_back(ctest::Item("SUBJ", kItemFStructureValued, {Link(shared)}));
  fs->items.push_back(ctest::Item("XCOMP", kItemFStructureValued, {Link(shared)}));
  ContextList context;
  P_FStructure* restricted = fs->RestrictToContext(context);
  ASSERT_NE(restricted, nullptr);
  // Each restricted function holds its F-structure through a root link.
  auto held = [&](const char* function) {
    const P_FStructure* holder = FirstValueFStructure(restricted->FindItem(Id(function)));
    return holder == nullptr || holder->root->values.empty() ? nullptr
                                                             : holder->root->values.front()->GetBoundFStructure();
  };
  ASSERT_NE(held("SUBJ"), nullptr);
  EXPECT_EQ(held("XCOMP"), held("SUBJ"));
  EXPECT_EQ(held("SUBJ")->restrictedFrom, shared);
}

}  // namespace
