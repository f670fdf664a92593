// F-structures: storing items, index paths, the registry that frees them,
// nogood resolution and the constraint resolution before solving.
#include <gtest/gtest.h>

#include "constraints_fixture.h"

using namespace ctest;

namespace {

using FStructureTest = ConstraintsTest;
using PresolveTest = ConstraintsTest;

P_FStructure* LinkAtRoot(P_FStructure* fs, P_FStructure* linked, ContextList context) {
  fs->root->AddValue(Link(linked, std::move(context)));
  return fs;
}

// Adds a constraining item anchored at fs itself.
P_FStructure* Constrain(P_FStructure* fs, const std::string& attribute, uint8_t flags, P_ConVal* value) {
  const std::unique_ptr<P_FSItemComplex> item(Item(attribute, flags, {value}));
  fs->MergeIntoExistingItem(new P_FSItemComplexAnchored(item.get(), fs, nullptr));
  return fs;
}

void Presolve(P_FStructure* top) { top->ResolveNogoodsRecursive(top, CFeatureSet(kFeatureSetWords)); }

}  // namespace

TEST_F(FStructureTest, ItemsJoinTheItemOfTheirAttribute) {
  auto* fs = new P_FStructure();
  fs->AddItem(new P_FSItemSimple(Id("NUM"), Id("sg")));
  fs->AddItem(new P_FSItemSimple(Id("NUM"), Id("pl")));  // a simple item is widened to take it
  fs->AddItem(Item("NUM", 0, {Atom("du", {1})}));
  fs->AddItem(fs->FindItem(Id("NUM")));  // the stored item itself: nothing happens
  ASSERT_EQ(fs->items.size(), 1u);
  EXPECT_EQ(Texts(fs->items.front()), (Strings{"sg()", "pl()", "du(1)"}));
  // Constraining items merge only with the first of their attribute, and
  // only with equal flags.
  for (const auto& [flags, value] : {std::pair{0x10, "a"}, {0x18, "b"}, {0x10, "c"}, {0x18, "d"}})
    fs->MergeIntoExistingItem(Item("CASE", static_cast<uint8_t>(flags), {Atom(value)}));
  fs->MergeIntoExistingItem(fs->constrainingItems.front());  // a stored item itself: nothing happens
  ASSERT_EQ(fs->constrainingItems.size(), 3u);
  EXPECT_EQ(Texts(fs->constrainingItems.front()), (Strings{"a()", "c()"}));
  EXPECT_EQ(fs->constrainingItems.back()->GetValueCount(), 1);
}

TEST_F(FStructureTest, PathLinksAreReplacedByTheValuesAtTheirPath) {
  auto* mother = new P_FStructure();
  mother->AddItem(Item("SUBJ", 0x80, {}));
  FirstValueFStructure(mother->FindItem(Id("SUBJ")))->AddItem(Item("NUM", 0, {Atom("sg", {1}), Atom("pl", {-1})}));
  auto* fs = new P_FStructure();
  auto* index = new P_ConValFSLink(mother, Id("SUBJ NUM"));
  fs->items.push_back(Item("AGR", 0,
                           {new P_ConValFSLink(mother, Id("SUBJ NUM")), Atom("x"),
                            WithContext(new P_ConValFSLink(mother, Id("OBJ NUM")), {2})}));
  fs->items.push_back(Complex(SymbolTableIndexId, 0, {index}));
  fs->ResolveIndexPaths();
  const P_FSItem* agr = fs->FindItem(Id("AGR"));
  EXPECT_EQ(Texts(agr), (Strings{"sg(1)", "x()", "<fs>(2)", "pl(-1)"}));
  // A path that leads nowhere costs its context and links a new F-structure.
  EXPECT_NE((*std::next(agr->GetValues().begin(), 2))->GetBoundFStructure(), mother);
  EXPECT_EQ(fs->nogoods, Sets{Bits({2})});
  EXPECT_EQ(fs->FindItem(SymbolTableIndexId)->GetValues().front(), index);  // INDEX keeps its path
}

TEST_F(FStructureTest, EveryFStructureIsFreedOnceByItsRegistry) {
  // Links share F-structures freely; none of them owns one.
  auto* b = new P_FStructure();
  (new P_FStructure())->AddValuesToRoot(Complex(0, 0, {Link(b), Link(b)}));
  const size_t before = P_FStructure::RegisteredCount();
  delete b;  // an early delete leaves the registry
  EXPECT_EQ(P_FStructure::RegisteredCount(), before - 1);
  P_FStructure::DeleteAll();
  EXPECT_EQ(P_FStructure::RegisteredCount(), 0u);
}

TEST_F(FStructureTest, ResolvingNogoods) {
  P_FStructure* failedSubject = With("NUM", {Atom("sg"), Atom("pl")});
  failedSubject->ResolveNogoods();  // the builder resolves daughters first
  auto* broken = new P_FStructure();
  broken->failed = true;
  const auto withNum = [](const char* num) { return With("NUM", {Atom(num)}); };
  auto* holder = new P_FStructure();
  holder->AddItem(Item("SUBJ", 0x80, {Link(failedSubject)}));
  const std::tuple<const char*, P_FStructure*, Sets, bool, ContextList> cases[] = {
      {"an unconditional clash", With("NUM", {Atom("sg"), Atom("pl")}), {EmptyFeatureSet}, true, {}},
      {"a failed F-structure at the root", LinkAtRoot(withNum("sg"), broken, {1}), {Bits({1})}, false, {-1}},
      // Each root link clashes with the item; the two links exclude each other.
      {"links under conflicting contexts",
       LinkAtRoot(LinkAtRoot(withNum("sg"), withNum("pl"), {1}), withNum("du"), {-1}),
       {Bits({1}), Bits({-1})},
       true,
       {}},
      {"one value at a time against a link",
       LinkAtRoot(With("NUM", {Atom("sg", {1}), Atom("pl", {-1, 2}), Atom("du", {-1, -2})}), withNum("pl"), {3}),
       {Bits({1, 3}), Bits({-1, -2, 3})},
       false,
       {-1, -3, -2}},
      {"a failed nested F-structure reached unconditionally", holder, {EmptyFeatureSet}, true, {}},
  };
  for (const auto& [what, fs, nogoods, failed, chosen] : cases) {
    fs->ResolveNogoods();
    EXPECT_EQ(fs->nogoods, nogoods) << what;
    EXPECT_EQ(fs->failed, failed) << what;
    if (!failed) {
      EXPECT_EQ(fs->chosenContext, chosen) << what;
    }
  }
}
TEST_F(FStructureTest, DaughterConstraintsAreTestedAtTheirAnchor) {
  const std::tuple<const char*, uint8_t, const char*, bool, Sets> cases[] = {
      {"=c meets a compatible other value", 0x30, "nom", true, {Bits({3, -4})}},
      {"=c misses its value", 0x30, "acc", false, {Bits({3})}},
      {"negation meets its value", 0x38, "nom", true, {Bits({3, 4})}},
      {"negation without counterpart", 0x38, "acc", false, {}},
  };
  for (const auto& [what, flags, wanted, daughterHasCase, nogoods] : cases) {
    auto* daughter = daughterHasCase ? WithCase({Atom("nom", {4}), Atom("gen", {-4})}) : new P_FStructure();
    auto* fs = new P_FStructure();
    const std::unique_ptr<P_FSItemComplex> constraint(Item("CASE", flags, {Atom(wanted, {3})}));
    fs->MergeIntoExistingItem(new P_FSItemComplexAnchored(constraint.get(), fs, daughter));
    fs->CheckConstrainingItems();
    EXPECT_EQ(fs->nogoods, nogoods) << what;
  }
}

TEST_F(FStructureTest, APassedTimeLimitLosesWhatItTouches) {
  // An unconditional link fails the F-structure; a link under a choice
  // costs only that choice.
  for (const auto& [link, failed] : {std::pair{ContextList{0}, true}, {ContextList{1}, false}}) {
    ParseClockScope clock;
    // Simple items: their own pairs are not timed, the unification is.
    auto* fs = new P_FStructure();
    fs->AddItem(new P_FSItemSimple(Id("NUM"), Id("sg")));
    auto* linked = new P_FStructure();
    linked->AddItem(new P_FSItemSimple(Id("NUM"), Id("sg")));
    LinkAtRoot(fs, linked, link);
    clock.Expire();
    fs->ResolveNogoods();
    EXPECT_EQ(fs->failed, failed);
    if (!failed) {
      EXPECT_EQ(fs->chosenContext, ContextList{-1});
    }
  }
  // Before solving, a passed time limit fails the next constraint.
  ParseClockScope clock;
  P_FStructure* top = Constrain(WithCase({Atom("nom", {1})}), "CASE", 0x10, Atom("nom", {1}));
  clock.Expire();
  Presolve(top);
  EXPECT_TRUE(top->failed);
}

TEST_F(PresolveTest, ConstraintsAtTheTop) {
  const std::tuple<const char*, uint8_t, ContextList, const char*, Sets, bool> cases[] = {
      {"=c finds nothing: its context is a nogood", 0x10, {2}, nullptr, {Bits({2})}, false},
      {"=c finds nothing, unconditionally", 0x10, {0}, nullptr, {EmptyFeatureSet}, true},
      {"=c finds its value", 0x10, {0}, "nom", {}, false},
      {"=c finds another value", 0x10, {2}, "acc", {Bits({2})}, false},
      {"negation meets its value", 0x18, {2}, "nom", {Bits({2})}, false},
      {"negation without counterpart", 0x18, {0}, nullptr, {}, false},
  };
  for (const auto& [what, flags, wanted, present, nogoods, failed] : cases) {
    auto* top = present ? WithCase({Atom(present)}) : new P_FStructure();
    Presolve(Constrain(top, "CASE", flags, Atom("nom", wanted)));
    EXPECT_EQ(top->nogoods, nogoods) << what;
    EXPECT_EQ(top->failed, failed) << what;
    EXPECT_TRUE(top->presolved) << what;
  }
}

TEST_F(PresolveTest, WhatTheAnchorCannotSettleIsCheckedAtTheTop) {
  // The inner F-structure is identified with the top under +3 and holds the
  // constraint "^CASE =c nom" without a CASE of its own; the value is found
  // elsewhere below the top, or nowhere.
  for (const auto& [valueElsewhere, nogoods] : {std::pair{true, Sets{}}, {false, Sets{Bits({3})}}}) {
    P_FStructure* inner = Constrain(new P_FStructure(), "CASE", 0x10, Atom("nom"));
    auto* top = new P_FStructure();
    top->root->AddValue(Link(inner, {3}));
    if (valueElsewhere) top->root->AddValue(Link(WithCase({Atom("nom")})));
    Presolve(top);
    EXPECT_EQ(top->nogoods, nogoods);
  }
  // A nested F-structure is a top of its own: its failure costs its link.
  P_FStructure* object = Constrain(new P_FStructure(), "CASE", 0x10, Atom("acc"));
  auto* top = new P_FStructure();
  top->AddItem(Item("OBJ", 0, {Link(object, {4})}));
  Presolve(top);
  EXPECT_TRUE(object->failed);
  EXPECT_EQ(top->nogoods, Sets{Bits({4})});
  EXPECT_EQ(top->chosenContext, ContextList{-4});
}

// F-structures identified with each other both ways (a structure shared by
// a set and its members) are walked once each: the nogoods come out and the
// walk ends.
TEST_F(FStructureTest, IdentificationsThatGoRoundEnd) {
  const auto withNum = [](const char* num) { return With("NUM", {Atom(num)}); };
  const struct Case {
    const char* what;
    P_FStructure* fs;
    Sets nogoods;
  } cases[] = {
      {"two structures linked to each other",
       [&] {
         P_FStructure* a = withNum("sg");
         P_FStructure* b = new P_FStructure();
         LinkAtRoot(a, b, {1});
         LinkAtRoot(b, a, {0});
         return a;
       }(),
       {}},
      {"a ring of three with a clash under a choice",
       [&] {
         P_FStructure* a = withNum("sg");
         P_FStructure* b = new P_FStructure();
         P_FStructure* c = With("NUM", {Atom("pl", {2})});
         LinkAtRoot(a, b, {1});
         LinkAtRoot(b, c, {0});
         LinkAtRoot(c, a, {0});
         return a;
       }(),
       {Bits({1, 2})}},
  };
  for (const auto& [what, fs, nogoods] : cases) {
    fs->ResolveNogoods();
    EXPECT_EQ(fs->nogoods, nogoods) << what;
  }
}
