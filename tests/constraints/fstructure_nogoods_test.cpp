// Nogood resolution of F-structures: items, root links, '!' constraints and
// the parse time limit.
#include <gtest/gtest.h>

#include "constraints_fixture.h"
#include "solver_test_helpers.h"

using namespace solver_test;

namespace {

class ResolveNogoodsTest : public ::testing::Test {
 protected:
  ConstraintsData data_;
};

// An F-structure holding NUM with the value, as a lexical entry makes it.
P_FStructure* WithNum(const std::string& num, ContextList context = {0}) {
  auto* fs = new P_FStructure();
  fs->AddItem(Item("NUM", 0, {Atom(num, std::move(context))}));
  return fs;
}

void LinkAtRoot(P_FStructure* fs, P_FStructure* linked, ContextList context) {
  fs->root->AddValue(Link(linked, std::move(context)));
}

}  // namespace

TEST_F(ResolveNogoodsTest, OutcomesOfSmallFStructures) {
  struct Case {
    const char* what;
    P_FStructure* fs;
    std::list<CFeatureSet> nogoods;
    bool failed;
    ContextList chosen;
  };
  auto* clash = new P_FStructure();
  clash->AddItem(Item("NUM", 0, {Atom("sg"), Atom("pl")}));
  auto* failedLink = WithNum("sg");
  auto* broken = new P_FStructure();
  broken->failed = true;
  LinkAtRoot(failedLink, broken, {1});
  auto* exclusive = WithNum("sg");
  LinkAtRoot(exclusive, WithNum("pl"), {1});
  LinkAtRoot(exclusive, WithNum("du"), {-1});
  auto* threeValues = new P_FStructure();
  threeValues->AddItem(Item("NUM", 0, {Atom("sg", {1}), Atom("pl", {-1, 2}), Atom("du", {-1, -2})}));
  LinkAtRoot(threeValues, WithNum("pl"), {3});
  const Case cases[] = {
      {"no clash", WithNum("sg", {1}), {}, false, {}},
      {"an unconditional clash", clash, {EmptyFeatureSet}, true, {}},
      {"a failed F-structure at the root", failedLink, {Bits({1})}, false, {-1}},
      // Each root link clashes with the item; the two links exclude each other.
      {"links under conflicting contexts", exclusive, {Bits({1}), Bits({-1})}, true, {}},
      {"one value at a time against a link", threeValues, {Bits({1, 3}), Bits({-1, -2, 3})}, false, {-1, -3, -2}},
  };
  for (const Case& c : cases) {
    c.fs->ResolveNogoods();
    EXPECT_EQ(c.fs->nogoods, c.nogoods) << c.what;
    EXPECT_EQ(c.fs->failed, c.failed) << c.what;
    if (!c.failed) {
      EXPECT_EQ(c.fs->chosenContext, c.chosen) << c.what;
    }
    EXPECT_TRUE(c.fs->nogoodsResolved) << c.what;
  }
}

TEST_F(ResolveNogoodsTest, AFailedNestedFStructureCostsItsLinkContext) {
  struct Case {
    ContextList link;
    bool failed;
  } cases[] = {{{2}, false}, {{0}, true}};
  for (const Case& c : cases) {
    auto* subject = new P_FStructure();
    subject->AddItem(Item("NUM", 0, {Atom("sg"), Atom("pl")}));
    subject->ResolveNogoods();  // the builder resolves daughters first
    ASSERT_TRUE(subject->failed);
    auto* fs = new P_FStructure();
    fs->AddItem(Item("SUBJ", 0x80, {Link(subject, c.link)}));
    fs->ResolveNogoods();
    // The link to the subject sits in the root of the nested F-structure
    // that holds SUBJ; its failure reaches the holder's F-structure.
    P_FStructure* nested = FirstValueFStructure(fs->items.front());
    EXPECT_TRUE(nested->nogoodsResolved);
    EXPECT_EQ(nested->failed, c.failed);
    EXPECT_EQ(fs->failed, c.failed);
  }
}

TEST_F(ResolveNogoodsTest, DaughterConstraintsAreTestedAtTheirAnchor) {
  struct Case {
    const char* what;
    uint8_t flags;
    const char* wanted;
    bool daughterHasCase;
    std::list<CFeatureSet> nogoods;
  } cases[] = {
      {"=c meets a compatible other value", 0x30, "nom", true, {Bits({3, -4})}},
      {"=c misses its value", 0x30, "acc", false, {Bits({3})}},
      {"negation meets its value", 0x38, "nom", true, {Bits({3, 4})}},
      {"negation without counterpart", 0x38, "acc", false, {}},
  };
  for (const Case& c : cases) {
    auto* daughter = new P_FStructure();
    if (c.daughterHasCase) daughter->AddItem(Item("CASE", 0, {Atom("nom", {4}), Atom("gen", {-4})}));
    auto* fs = new P_FStructure();
    P_FSItemComplex* constraint = Item("CASE", c.flags, {Atom(c.wanted, {3})});
    fs->MergeIntoExistingItem(new P_FSItemComplexAnchored(constraint, fs, daughter));
    delete constraint;
    fs->CheckConstrainingItems();
    EXPECT_EQ(fs->nogoods, c.nogoods) << c.what;
  }
}

TEST_F(ResolveNogoodsTest, APassedTimeLimitLosesWhatItTouches) {
  struct Case {
    const char* what;
    ContextList link;
    bool failed;
    ContextList chosen;
  } cases[] = {
      {"an unconditional link", {0}, true, {}},
      {"a link under a choice", {1}, false, {-1}},
  };
  for (const Case& c : cases) {
    ParseClockScope clock;
    // Simple items: their own pairs are not timed, the unification is.
    auto* fs = new P_FStructure();
    fs->AddItem(new P_FSItemSimple(Id("NUM"), Id("sg")));
    auto* linked = new P_FStructure();
    linked->AddItem(new P_FSItemSimple(Id("NUM"), Id("sg")));
    LinkAtRoot(fs, linked, c.link);
    clock.Expire();
    fs->ResolveNogoods();
    EXPECT_EQ(fs->failed, c.failed) << c.what;
    if (!c.failed) {
      EXPECT_EQ(fs->chosenContext, c.chosen) << c.what;
    }
  }
}

TEST_F(ResolveNogoodsTest, UnificationOfItemListsFollowsRootLinks) {
  auto* a = WithNum("sg", {1});
  auto* b = new P_FStructure();
  LinkAtRoot(b, WithNum("pl", {2}), {3});
  EXPECT_EQ(UnifyItemLists(a, b), std::list<CFeatureSet>{Bits({1, 2, 3})});
  EXPECT_EQ(UnifyItemLists(b, a), std::list<CFeatureSet>{Bits({1, 2, 3})});
  // A definite clash ends the unification at once.
  auto* c = WithNum("du");
  c->AddItem(Item("PERS", 0, {Atom("1", {5})}));
  auto* d = WithNum("sg");
  d->AddItem(Item("PERS", 0, {Atom("3", {6})}));
  EXPECT_EQ(UnifyItemLists(c, d), std::list<CFeatureSet>{EmptyFeatureSet});
}

TEST_F(ResolveNogoodsTest, AValueWithNowhereToGoIsKept) {
  auto* fs = new P_FStructure();
  fs->AddItem(Item("SUBJ", 0, {Atom("none")}));
  fs->AddItem(Item("SUBJ", 0x80, {Link(new P_FStructure(), {1})}));
  ASSERT_EQ(fs->items.size(), 1u);
  EXPECT_EQ(fs->items.front()->GetValueCount(), 2);
  fs->ResolveNogoods();
  EXPECT_EQ(fs->nogoods, std::list<CFeatureSet>{Bits({1})});
}
