// Constraint resolution before solving: '^' constraints checked at their
// anchor and, where that cannot settle them, at the top.
#include <gtest/gtest.h>

#include "constraints_fixture.h"
#include "solver_test_helpers.h"

using namespace solver_test;

namespace {

class PresolveTest : public ::testing::Test {
 protected:
  ConstraintsData data_;
};

// Adds a constraining item anchored at the anchor to fs.
void Constrain(P_FStructure* fs, P_FStructure* anchor, const std::string& attribute, uint8_t flags,
               std::initializer_list<P_ConVal*> values) {
  P_FSItemComplex* item = Item(attribute, flags, values);
  fs->MergeIntoExistingItem(new P_FSItemComplexAnchored(item, anchor, nullptr));
  delete item;
}

P_FStructure* WithCase(std::initializer_list<P_ConVal*> values) {
  auto* fs = new P_FStructure();
  fs->AddItem(Item("CASE", 0, values));
  return fs;
}

void Presolve(P_FStructure* top) { top->ResolveNogoodsRecursive(top, CFeatureSet(kFeatureSetWords)); }

}  // namespace

TEST_F(PresolveTest, AnFStructureWithoutConstraintsIsOnlyMarked) {
  auto* top = WithCase({Atom("nom")});
  top->chosenContext = {5};
  Presolve(top);
  EXPECT_TRUE(top->presolved);
  EXPECT_FALSE(top->failed);
  EXPECT_EQ(top->chosenContext, ContextList{5});
  EXPECT_EQ(top->passFStructures, std::list<P_FStructure*>{top});
}

TEST_F(PresolveTest, ConstraintsAtTheTop) {
  struct Case {
    const char* what;
    uint8_t flags;
    ContextList wanted;
    std::initializer_list<const char*> present;
    std::list<CFeatureSet> nogoods;
    bool failed;
  } cases[] = {
      {"=c finds nothing: its context is a nogood", 0x10, {2}, {}, {Bits({2})}, false},
      {"=c finds nothing, unconditionally", 0x10, {0}, {}, {EmptyFeatureSet}, true},
      {"=c finds its value", 0x10, {0}, {"nom"}, {}, false},
      {"=c finds another value", 0x10, {2}, {"acc"}, {Bits({2})}, false},
      {"negation meets its value", 0x18, {2}, {"nom"}, {Bits({2})}, false},
      {"negation without counterpart", 0x18, {0}, {}, {}, false},
  };
  for (const Case& c : cases) {
    auto* top = new P_FStructure();
    if (c.present.size() > 0) top->AddItem(Item("CASE", 0, {Atom(*c.present.begin())}));
    Constrain(top, top, "CASE", c.flags, {Atom("nom", c.wanted)});
    Presolve(top);
    EXPECT_EQ(top->nogoods, c.nogoods) << c.what;
    EXPECT_EQ(top->failed, c.failed) << c.what;
  }
}

TEST_F(PresolveTest, ValuesUnderConflictingContextsAreNeverCompared) {
  auto* top = WithCase({Atom("acc", {-1})});
  P_FSItemComplex* item = Item("CASE", 0x10, {Atom("nom", {1})});
  std::vector<bool> used(1, false);
  EXPECT_TRUE(top->ApplyPathItem(item, used).empty());
  EXPECT_FALSE(used[0]);
  delete item;
}

TEST_F(PresolveTest, PathConstraintsFollowNestedAndIdentifiedFStructures) {
  // ^SUBJ CASE =c nom, where SUBJ is identified with a pronoun that is
  // nominative under +1 and accusative under -1.
  auto* pronoun = WithCase({Atom("nom", {1}), Atom("acc", {-1})});
  auto* top = new P_FStructure();
  top->AddItem(Item("SUBJ", 0x80, {Link(pronoun)}));
  Constrain(top, top, "SUBJ CASE", 0x50, {Atom("nom")});
  Presolve(top);
  EXPECT_EQ(top->nogoods, std::list<CFeatureSet>{Bits({-1})});
  EXPECT_EQ(top->chosenContext, ContextList{1});
}

TEST_F(PresolveTest, WhatTheAnchorCannotSettleIsCheckedAtTheTop) {
  struct Case {
    const char* what;
    bool valueElsewhere;
    std::list<CFeatureSet> topNogoods;
  } cases[] = {
      {"the value is found elsewhere below the top", true, {}},
      {"the value is nowhere", false, {Bits({3})}},
  };
  for (const Case& c : cases) {
    // The inner F-structure is identified with the top under +3 and holds
    // the constraint "^CASE =c nom" without a CASE of its own.
    auto* inner = new P_FStructure();
    Constrain(inner, inner, "CASE", 0x10, {Atom("nom")});
    auto* top = new P_FStructure();
    top->root->AddValue(Link(inner, {3}));
    if (c.valueElsewhere) top->root->AddValue(Link(WithCase({Atom("nom")})));
    Presolve(top);
    EXPECT_EQ(inner->passItems.size(), 1u) << c.what;
    EXPECT_EQ(top->passItems, inner->passItems) << c.what;
    EXPECT_EQ(top->nogoods, c.topNogoods) << c.what;
  }
}

TEST_F(PresolveTest, AnInnerFStructureReachedTwiceIsCheckedUnderBothContexts) {
  auto* inner = new P_FStructure();
  Constrain(inner, inner, "CASE", 0x10, {Atom("nom")});
  auto* top = new P_FStructure();
  top->root->AddValue(Link(inner, {1}));
  top->root->AddValue(Link(inner, {2}));
  Presolve(top);
  ASSERT_EQ(top->passContexts.size(), 1u);
  EXPECT_EQ(top->passContexts.front(), (std::list<CFeatureSet>{Bits({1}), Bits({2})}));
  EXPECT_EQ(top->nogoods, (std::list<CFeatureSet>{Bits({1}), Bits({2})}));
  EXPECT_EQ(inner->passFStructures, std::list<P_FStructure*>{top});
}

TEST_F(PresolveTest, NestedFStructuresAreTopsOfTheirOwn) {
  auto* object = new P_FStructure();
  Constrain(object, object, "CASE", 0x10, {Atom("acc")});
  auto* top = new P_FStructure();
  top->AddItem(Item("OBJ", 0, {Link(object, {4})}));
  Presolve(top);
  EXPECT_TRUE(object->failed);
  EXPECT_EQ(object->passFStructures, std::list<P_FStructure*>{object});
  EXPECT_EQ(top->nogoods, std::list<CFeatureSet>{Bits({4})});
  EXPECT_EQ(top->chosenContext, ContextList{-4});
}

TEST_F(PresolveTest, APassedTimeLimitFailsTheNextConstraint) {
  ParseClockScope clock;
  auto* top = WithCase({Atom("nom", {1})});
  Constrain(top, top, "CASE", 0x10, {Atom("nom", {1})});
  clock.Expire();
  Presolve(top);
  EXPECT_TRUE(top->failed);
}

TEST_F(PresolveTest, PathValuesCarryTheContextsOfTheWayDown) {
  auto* pronoun = WithCase({Atom("nom", {1})});
  auto* subject = new P_FStructure();
  subject->root->AddValue(Link(pronoun, {2}));
  auto* top = new P_FStructure();
  top->AddItem(Item("SUBJ", 0, {Link(subject)}));
  top->root->AddValue(Link(WithCase({Atom("gen")}), {3}));
  struct Case {
    const char* path;
    std::list<CFeatureSet> contexts;
  } cases[] = {{"SUBJ CASE", {Bits({1, 2})}}, {"CASE", {Bits({3})}}, {"OBJ CASE", {}}};
  for (const Case& c : cases) {
    std::list<P_ConVal*> values = top->CollectPathValues(c.path);
    std::list<CFeatureSet> contexts;
    for (P_ConVal* value : values) {
      contexts.push_back(value->contextBits);
      delete value;
    }
    EXPECT_EQ(contexts, c.contexts) << c.path;
  }
}

TEST_F(PresolveTest, AlternativeSubjectsKeepTheirContextsOnThePath) {
  // SUBJ is one of two alternative daughters: nominative under +5,
  // accusative under -5. Only the accusative alternative is lost.
  auto* top = new P_FStructure();
  top->AddItem(Item("SUBJ", 0x80, {Link(WithCase({Atom("nom")}), {5}), Link(WithCase({Atom("acc")}), {-5})}));
  Constrain(top, top, "SUBJ CASE", 0x50, {Atom("nom")});
  Presolve(top);
  EXPECT_EQ(top->nogoods, std::list<CFeatureSet>{Bits({-5})});
  EXPECT_FALSE(top->failed);
}
