// Restricting solved F-structures to one reading, and narrowing it.
#include <gtest/gtest.h>

#include "constraints_fixture.h"
#include "solver_test_helpers.h"

using namespace solver_test;

namespace {

class RestrictTest : public ::testing::Test {
 protected:
  ConstraintsData data_;
};

P_FStructure* WithCase(std::initializer_list<P_ConVal*> values) {
  auto* fs = new P_FStructure();
  fs->AddItem(Item("CASE", 0, values));
  return fs;
}

}  // namespace

TEST_F(RestrictTest, WithoutNogoodsTheCallersContextStands) {
  P_FStructure* fs = WithCase({Atom("nom", {2}), Atom("acc", {-2}), Atom("gen", {3})});
  ContextList context{2};
  P_FStructure* reading = fs->RestrictToContextResolved(context);
  ASSERT_NE(reading, nullptr);
  EXPECT_EQ(context, ContextList{2});
  EXPECT_EQ(Texts(reading->FindItem(Id("CASE"))), (std::list<std::string>{"nom(2)", "gen(3)"}));
  EXPECT_TRUE(reading->nogoods.empty());
  EXPECT_FALSE(reading->solved);
}

TEST_F(RestrictTest, FailedFStructuresHaveNoReading) {
  P_FStructure* fs = WithCase({Atom("nom")});
  fs->failed = true;
  ContextList context{4};
  EXPECT_EQ(fs->RestrictToContextResolved(context), nullptr);
  EXPECT_EQ(fs->RestrictToContext(context), nullptr);
  EXPECT_EQ(context, ContextList{4});
}

TEST_F(RestrictTest, TheChosenContextAvoidsTheNogoodsBelow) {
  // CASE nom under +1, acc under -1; the nested F-structure rules out -1.
  auto* inner = new P_FStructure();
  inner->nogoods.push_back(Bits({-1}));
  P_FStructure* fs = WithCase({Atom("nom", {1}), Atom("acc", {-1})});
  fs->AddItem(Item("OBJ", 0, {Link(inner)}));
  ContextList context;
  P_FStructure* reading = fs->RestrictToContextResolved(context);
  ASSERT_NE(reading, nullptr);
  EXPECT_EQ(context, ContextList{1});
  EXPECT_EQ(Texts(reading->FindItem(Id("CASE"))), std::list<std::string>{"nom(1)"});
}

TEST_F(RestrictTest, AFailedLinkedFStructureCostsOnlyItsChoice) {
  auto* broken = new P_FStructure();
  broken->AddNogood(EmptyFeatureSet);
  broken->failed = true;
  P_FStructure* good = WithCase({Atom("acc")});
  auto* fs = new P_FStructure();
  fs->AddItem(Item("OBJ", 0, {Link(broken, {1}), Link(good, {-1})}));
  ContextList context;
  P_FStructure* reading = fs->RestrictToContextResolved(context);
  EXPECT_EQ(fs->nogoods, std::list<CFeatureSet>{Bits({1})});
  ASSERT_NE(reading, nullptr);
  EXPECT_EQ(context, ContextList{-1});
  const P_FSItem* obj = reading->FindItem(Id("OBJ"));
  ASSERT_EQ(obj->GetValueCount(), 1);
  EXPECT_EQ(Texts(obj->GetValues().front()->GetBoundFStructure()->FindItem(Id("CASE"))),
            std::list<std::string>{"acc()"});
}

TEST_F(RestrictTest, SolutionContextsAreExtendedPreferably) {
  P_FStructure* fs = WithCase({Atom("nom", {1}), Atom("acc", {-1})});
  fs->AddNogood(Bits({2}));
  fs->solutionContexts = {Bits({-1})};
  ContextList context;
  ASSERT_NE(fs->RestrictToContextResolved(context), nullptr);
  EXPECT_EQ(context, (ContextList{-2, -1}));

  // A caller's context stands; what it leaves open comes from the choice.
  ContextList given{-2};
  P_FStructure* reading = fs->RestrictToContextResolved(given);
  ASSERT_NE(reading, nullptr);
  EXPECT_EQ(given, (ContextList{-2, -1}));
}

TEST_F(RestrictTest, TheChoiceTreeDecidesWhereTheSearchGivesUp) {
  // Fourteen choices must all be true inside the solution context +1: more
  // assignments than the extension tries, so the choice tree decides.
  P_FStructure* fs = WithCase({Atom("nom", {1}), Atom("acc", {-1})});
  ContextList expected{1};
  for (int8_t choice = 2; choice <= 15; ++choice) {
    fs->AddNogood(Bits({static_cast<int8_t>(-choice)}));
    expected.push_back(choice);
  }
  fs->solutionContexts = {Bits({1})};
  ContextList context;
  P_FStructure* reading = fs->RestrictToContextResolved(context);
  ASSERT_NE(reading, nullptr);
  context.sort();
  EXPECT_EQ(context, expected);
  EXPECT_EQ(Texts(reading->FindItem(Id("CASE"))), std::list<std::string>{"nom(1)"});

  // When no reading is possible at all there is no F-structure.
  fs->AddNogood(Bits({1}));
  ContextList none;
  EXPECT_EQ(fs->RestrictToContextResolved(none), nullptr);
}

TEST_F(RestrictTest, NarrowingRemovesEmptiedItems) {
  auto* fs = new P_FStructure();
  fs->AddItem(Item("A", 0, {Atom("x", {-1})}));
  fs->AddItem(Item("B", 0, {Atom("y", {-1, 2})}));
  fs->AddItem(Item("C", 0, {Atom("z", {1, 3}), Atom("w", {2})}));
  ContextList context{1};
  fs->NarrowValueContexts(context);
  ASSERT_EQ(fs->items.size(), 1u);
  EXPECT_EQ(Texts(fs->items.front()), std::list<std::string>{"z(1,3)"});
  EXPECT_EQ(context, (ContextList{1, -2, 3}));
}

TEST_F(RestrictTest, DeepNogoodsCarryTheContextsOfTheWayDown) {
  auto* clause = new P_FStructure();
  clause->nogoods.push_back(Bits({7}));
  auto* object = new P_FStructure();
  object->nogoods.push_back(Bits({5}));
  auto* linked = new P_FStructure();
  linked->nogoods.push_back(Bits({6}));
  auto* fs = new P_FStructure();
  fs->nogoods.push_back(Bits({4}));
  fs->AddItem(Item("OBJ", 0, {Link(object, {1})}));
  fs->AddItem(Item("COMP", 0, {Link(clause, {2})}));
  fs->root->AddValue(Link(linked, {3}));
  EXPECT_EQ(fs->CollectNogoodsDeep(), (std::list<CFeatureSet>{Bits({4}), Bits({3, 6}), Bits({1, 5})}));
  EXPECT_EQ(FilterCompatibleSets({Bits({1}), Bits({-1, 2}), Bits({3})}, Bits({1})),
            (std::list<CFeatureSet>{Bits({1}), Bits({3})}));
}

TEST_F(RestrictTest, TheReadingOutlivesTheFStructureItCameFrom) {
  P_FStructure* fs = WithCase({Atom("nom", {1})});
  ContextList context{1};
  P_FStructure* reading = fs->RestrictToContext(context);
  delete fs;
  EXPECT_EQ(Texts(reading->FindItem(Id("CASE"))), std::list<std::string>{"nom(1)"});
}

TEST_F(RestrictTest, PathLinksBackToTheTopAreNotFollowed) {
  // An INDEX item keeps its path link unresolved; here it names a path in
  // the very F-structure that holds it.
  auto* top = new P_FStructure();
  auto* index = new P_ConValFSLink(top, Id("OBJ CASE"));
  top->AddItem(Item("INDEX", 0, {index}));
  top->AddItem(Item("OBJ", 0, {Link(WithCase({Atom("acc", {1})}))}));
  top->items.sort([](const P_FSItem* a, const P_FSItem* b) { return *a < *b; });
  top->ResolveNogoodsRecursive(top, CFeatureSet(kFeatureSetWords));
  EXPECT_TRUE(top->presolved);
  EXPECT_TRUE(top->CollectNogoodsDeep().empty());
  ContextList context{1};
  P_FStructure* reading = top->RestrictToContextResolved(context);
  ASSERT_NE(reading, nullptr);
  reading->NarrowValueContexts(context);
  const P_ConVal* kept = reading->FindItem(SymbolTableIndexId)->GetValues().front();
  EXPECT_EQ(kept->GetBoundFStructure(), top);
  EXPECT_EQ(kept->GetFSAttribute(), Id("OBJ CASE"));
}
