// Nogoods between item values, restriction of items to a context, and the
// context-list operations they share.
#include <gtest/gtest.h>

#include "constraints/context_search.h"
#include "constraints_fixture.h"
#include "solver_test_helpers.h"

using namespace solver_test;

namespace {

class ItemNogoodsTest : public ::testing::Test {
 protected:
  ConstraintsData data_;
};

}  // namespace

TEST_F(ItemNogoodsTest, PairsOfValuesOfOneItem) {
  auto* failedFs = new P_FStructure();
  failedFs->failed = true;
  auto* plain = new P_FStructure();
  struct Case {
    const char* what;
    P_ConVal *a, *b;
    std::list<CFeatureSet> nogoods;
  } cases[] = {
      {"conflicting contexts are never compared", Atom("sg", {1}), Atom("pl", {-1}), {}},
      {"compatible contexts, values differ", Atom("sg", {1}), Atom("pl", {2}), {Bits({1, 2})}},
      {"unconditional clash", Atom("sg"), Atom("pl"), {EmptyFeatureSet}},
      {"matching values", Atom("sg", {1}), Atom("sg", {2}), {}},
      {"atomic value against an F-structure", Atom("sg", {1}), Link(plain, {2}), {Bits({1, 2})}},
      {"F-structure against an atomic value", Link(plain, {2}), Atom("sg", {1}), {Bits({1, 2})}},
      {"a failed F-structure gives its own context", Link(failedFs, {3}), Link(plain, {4}), {Bits({3})}},
      {"two empty F-structures unify", Link(plain, {3}), Link(new P_FStructure(), {4}), {}},
  };
  for (const Case& c : cases) {
    P_FSItemComplex* item = Item("NUM", 0, {c.a, c.b});
    EXPECT_EQ(item->CollectNogoods(), c.nogoods) << c.what;
    delete item;
  }
}

TEST_F(ItemNogoodsTest, FStructureValuesClashThroughTheirItems) {
  auto* left = new P_FStructure();
  left->AddItem(Item("NUM", 0, {Atom("sg", {5})}));
  auto* right = new P_FStructure();
  right->AddItem(new P_FSItemSimple(Id("NUM"), Id("pl")));
  P_FSItemComplex* item = Item("SUBJ", 0x80, {Link(left, {1}), Link(right, {2})});
  EXPECT_EQ(item->CollectNogoods(), std::list<CFeatureSet>{Bits({1, 2, 5})});

  // Against another item every pair counts, conflicting contexts included;
  // AddNogood later drops the inconsistent ones.
  P_FSItemComplex* other = Item("SUBJ", 0x80, {Link(right, {-1})});
  EXPECT_EQ(item->CollectNogoodsAgainst(other), (std::list<CFeatureSet>{Bits({1, -1, 5})}));
  delete item;
  delete other;
}

TEST_F(ItemNogoodsTest, APassedTimeLimitIsOneDefiniteClash) {
  ParseClockScope clock;
  P_FSItemComplex* item = Item("NUM", 0, {Atom("sg", {1}), Atom("sg", {2})});
  P_FSItemSimple simple(Id("NUM"), Id("pl"));
  EXPECT_TRUE(item->CollectNogoods().empty());
  clock.Expire();
  EXPECT_EQ(item->CollectNogoods(), std::list<CFeatureSet>{EmptyFeatureSet});
  EXPECT_EQ(item->CollectNogoodsAgainst(&simple), std::list<CFeatureSet>{EmptyFeatureSet});
  // A simple item has no clock of its own.
  EXPECT_EQ(simple.CollectNogoodsAgainst(item), (std::list<CFeatureSet>{Bits({1}), Bits({2})}));
  delete item;
}

TEST_F(ItemNogoodsTest, RestrictionKeepsValuesNotContradicted) {
  auto* inner = new P_FStructure();
  inner->AddItem(Item("NUM", 0, {Atom("sg", {1}), Atom("pl", {-1})}));
  P_FSItemComplex* item = Item("CASE", 0, {Atom("a", {1}), Atom("b", {3}), Atom("c", {0}), Atom("d", {-1}),
                                           Atom("e", {1, 2}), Link(inner, {1})});
  const ContextList context{-2, 1};
  P_FSItem* restricted = item->RestrictToContext(context);
  ASSERT_NE(restricted, nullptr);
  EXPECT_EQ(Texts(restricted), (std::list<std::string>{"a(1)", "b(3)", "c()", "<fs>(1)"}));
  // Copies, never the item's own values: the two may be freed at different times.
  for (const P_ConVal* kept : restricted->GetValues()) {
    for (const P_ConVal* own : item->GetValues()) EXPECT_NE(kept, own);
  }
  const P_FStructure* restrictedInner = restricted->GetValues().back()->GetBoundFStructure();
  EXPECT_NE(restrictedInner, inner);
  EXPECT_EQ(Texts(restrictedInner->FindItem(Id("NUM"))), std::list<std::string>{"sg(1)"});
  delete item;
  EXPECT_EQ(Texts(restricted).front(), "a(1)");
  delete restricted;

  P_FSItemComplex* none = Item("CASE", 0, {Atom("d", {-1})});
  EXPECT_EQ(none->RestrictToContext(context), nullptr);
  delete none;
}

TEST_F(ItemNogoodsTest, NarrowingFixesOneReadingGreedily) {
  P_FSItemComplex* item = Item("CASE", 0, {Atom("a", {1, 2}), Atom("b", {1, -2}), Atom("c", {-1, 3})});
  ContextList context{1};
  item->NarrowValueContexts(context);
  EXPECT_EQ(context, (ContextList{1, 2, -3}));
  EXPECT_EQ(Texts(item), std::list<std::string>{"a(1,2)"});
  delete item;
}

TEST_F(ItemNogoodsTest, ContextListOperations) {
  EXPECT_EQ(UnionContextLists({-3, 1}, {1, 2}), (ContextList{-3, 1, 2}));
  EXPECT_EQ(UnionContextLists({}, {2, -1}), (ContextList{-1, 2}));
  EXPECT_EQ(UnmentionedLiterals({-1, 3}, {1, 2}), ContextList{3});
  EXPECT_EQ(UnmentionedLiterals({0, 4}, {0}), ContextList{4});
  struct Case {
    ContextList a, b;
    bool subset;
  } cases[] = {{{}, {1}, true}, {{1}, {1, 2}, true}, {{1, -2}, {1, 2}, false}, {{0}, {}, false}};
  for (const Case& c : cases) EXPECT_EQ(IsContextSubset(c.a, c.b), c.subset);
}
