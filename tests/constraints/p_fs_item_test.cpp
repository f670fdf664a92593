// Items and their values: choice renaming and its limit, dump records,
// compatibility and equality, applying items to F-structures (links, paths,
// set elements), nogoods between values, restriction and ownership.
#include <gtest/gtest.h>

#include <memory>

#include "constraints_fixture.h"

using namespace ctest;

namespace {

using ItemTest = ConstraintsTest;
using Value = std::unique_ptr<P_ConVal>;
using ItemPtr = std::unique_ptr<P_FSItem>;

// Values as the compiler makes them: contexts without their bits.
template <typename T>
Value Made(T* value, ContextList context = {0}) {
  value->context = std::move(context);
  return Value(value);
}
Value List(std::list<uint16_t> ids, ContextList context = {0}) {
  auto* value = new P_ConValPlainValList();
  value->values = std::move(ids);
  return Made(value, std::move(context));
}
P_ConValFDLink* FDLink(uint16_t id, uint8_t type) {
  auto* value = new P_ConValFDLink();
  value->value = id;
  value->valueType = type;
  return value;
}

}  // namespace

TEST_F(ItemTest, ShiftContextRenamesChoicesPastASignedByteAndFailsPastTheLastBit) {
  Value last = Made(new P_ConValPlainVal(1), {-27, 100});
  EXPECT_TRUE(last->ShiftContext(27));
  EXPECT_EQ(last->context, (ContextList{-54, 127}));
  EXPECT_TRUE(last->ShiftContext(kMaxFeatureId - 127));
  EXPECT_EQ(last->context, (ContextList{-(kMaxFeatureId - 73), kMaxFeatureId}));
  EXPECT_TRUE(messages_.messages().empty());
  // Instead of wrapping, the value stays as it was and is not applied.
  for (const ContextList& context : {ContextList{kMaxFeatureId - 7}, ContextList{0, -(kMaxFeatureId - 5)}}) {
    Value value = Made(new P_ConValPlainVal(1), context);
    messages_.clear();
    EXPECT_FALSE(value->ShiftContext(10));
    EXPECT_EQ(value->context, context);
    EXPECT_EQ(messages_.messages().size(), 1u);
    EXPECT_EQ(value->Instantiate(nullptr, nullptr, 10), nullptr);
    EXPECT_TRUE(value->Evaluate(nullptr, {}, 10).empty());
  }
  EXPECT_EQ(Made(FDLink(3, kLinkToDaughter), {kMaxFeatureId - 2})->Instantiate(nullptr, nullptr, 5), nullptr);
  std::unique_ptr<P_ConVal> past127(Made(FDLink(3, kLinkToDaughter), {126})->Instantiate(nullptr, nullptr, 5));
  ASSERT_NE(past127, nullptr);
  EXPECT_EQ(past127->context, ContextList{131});
}

TEST_F(ItemTest, RecordsRoundTripAndShortOrBrokenRecordsAreRejected) {
  DumpWords listRecord;
  uint32_t end = kNoWordYet;
  List({5, 9}, {-1, 2})->Serialize(listRecord, end);
  EXPECT_EQ(listRecord, (DumpWords{4, 2, 5, 9, 2, 0xFFFF, 2}));
  EXPECT_EQ(end, 6u);
  // An item's record holds the records of its values: every one of them cut
  // short, or a bad value tag, is rejected.
  const ItemPtr item(Complex(17, 0x98,
                             {Made(FDLink(40, kLinkToDaughter | kLinkPath), {0, -2}).release(),
                              Made(new P_ConValPlainVal(7), {-3, 0}).release(), List({3, 4}).release()}));
  DumpWords words;
  uint32_t index = kNoWordYet;
  item->Serialize(words, index);
  EXPECT_EQ(DumpWords(words.begin(), words.begin() + 3), (DumpWords{2, 0x98, 3}));
  uint32_t at = 0;
  P_FSItemComplex read;
  ASSERT_TRUE(read.Deserialize(words, at));
  EXPECT_EQ(at, index);
  read.attribute = 17;
  EXPECT_TRUE(read.Equals(item.get()));
  std::vector<DumpWords> broken;
  for (size_t cut = 1; cut < words.size(); ++cut) broken.emplace_back(words.begin(), words.begin() + cut);
  broken.push_back(words);
  broken.back()[3] = 9;  // the first value's tag
  for (const DumpWords& record : broken) {
    uint32_t from = 0;
    EXPECT_FALSE(P_FSItemComplex().Deserialize(record, from)) << record.size();
  }
}

TEST_F(ItemTest, CompatibilityAndEquality) {
  // A plain value matches a list holding it, or a value of any other kind.
  EXPECT_TRUE(Value(Plain(3))->Matches(List({2, 3}).get()));
  EXPECT_TRUE(Value(Plain(3))->Matches(Made(FDLink(9, 0)).get()));
  EXPECT_FALSE(List({1, 2})->Matches(List({7}).get()));
  // Links to F-structures never equal, not even themselves; a value listed
  // twice is destroyed once (the sanitizer build checks).
  const ItemPtr withLink(Complex(3, 0, {new P_ConValFSLink(nullptr, 0)}));
  EXPECT_FALSE(withLink->Equals(withLink.get()));
  P_ConVal* shared = Plain(1);
  EXPECT_EQ(ItemPtr(Complex(1, 0, {shared, shared, Plain(2)}))->GetValueCount(), 3);
}

TEST_F(ItemTest, LinksPathsAndSetElementsAreBoundToFStructures) {
  P_FStructure& mother = *new P_FStructure();
  P_FStructure& daughter = *new P_FStructure();
  // A path is expanded into nested F-structures; the mother's item of the
  // first step is reused, not doubled.
  P_FSItemComplex path(Id("SUBJ NUM"), 0x40);
  path.AddValue(Atom("sg", {1}));
  P_FSItem* subj = path.Instantiate(0, &mother, nullptr);
  EXPECT_EQ(subj->GetFlags(), 0x80);
  EXPECT_EQ(Texts(FirstValueFStructure(subj)->FindItem(Id("NUM"))), Strings{"sg(1)"});
  mother.AddItem(subj);  // held through a nested F-structure from now on
  P_FSItem* holder = mother.FindItem(Id("SUBJ"));
  P_FSItemComplex second(Id("SUBJ PERS"), 0x40);
  second.AddValue(Atom("3"));
  EXPECT_EQ(second.Instantiate(0, &mother, nullptr), holder);
  mother.AddItem(holder);
  EXPECT_EQ(mother.items.size(), 1u);
  EXPECT_NE(FirstValueFStructure(holder)->FindItem(Id("PERS")), nullptr);

  // A set member: OBJ holds SET, whose F-structure holds ELEMENT3, whose
  // F-structure is identified with the daughter's; numbering runs on until
  // the per-sentence reset, and a second application draws no new number.
  SetElementCounter = 3;
  P_FSItemComplex member(Id("OBJ"), 0x08);
  member.AddValue(Made(FDLink(0, kLinkToDaughter)).release());
  ItemPtr obj(member.Instantiate(0, &mother, &daughter));
  EXPECT_EQ(Name(member.attribute), "OBJ SET ELEMENT3");
  EXPECT_EQ(Name(obj->attribute), "OBJ");
  const P_FSItem* set = FirstValueFStructure(obj.get())->FindItem(Id("SET"));
  const P_FSItem* element = FirstValueFStructure(set)->FindItem(Id("ELEMENT3"));
  EXPECT_EQ(element->GetFlags(), 0x80);
  EXPECT_EQ(FirstValueFStructure(element)->root->values.front()->GetBoundFStructure(), &daughter);
  obj.reset(member.Instantiate(0, &mother, &daughter));
  EXPECT_EQ(SetElementCounter, 4);
  obj.reset();
  P_FSCompiler::ResetForSentence();
  EXPECT_EQ(SetElementCounter, 1);
}

// A path of three or more attributes: each step it makes holds only under
// the context of the value placed through it, whether the first step is new
// or was there already.
TEST_F(ItemTest, InnerStepsOfALongPathHoldUnderTheValuesContext) {
  for (bool firstStepThere : {true, false}) {
    SCOPED_TRACE(firstStepThere);
    P_FStructure& mother = *new P_FStructure();
    if (firstStepThere) {
      P_FSItemComplex xcomp(Id("XCOMP VFORM"), 0x40);
      xcomp.AddValue(Atom("base"));
      mother.AddItem(xcomp.Instantiate(0, &mother, nullptr));
    }
    P_FSItemComplex path(Id("XCOMP SUBJ CASE"), 0x40);
    path.AddValue(Atom("nom", {2}));
    mother.AddItem(path.Instantiate(0, &mother, nullptr));
    const P_FSItem* xcomp = mother.FindItem(Id("XCOMP"));
    ASSERT_NE(xcomp, nullptr);
    // SUBJ stands in XCOMP's F-structure or in one it is equated with.
    const P_FSItem* subj = nullptr;
    std::vector<P_FStructure*> pending;
    const ItemValues ways(xcomp);
    for (const P_ConVal* way : ways) pending.push_back(way->GetBoundFStructure());
    while (!pending.empty() && subj == nullptr) {
      P_FStructure* f = pending.back();
      pending.pop_back();
      if (f == nullptr) continue;
      subj = f->FindItem(Id("SUBJ"));
      for (const P_ConVal* link : f->root->values) pending.push_back(link->GetBoundFStructure());
    }
    ASSERT_NE(subj, nullptr);
    const ItemValues links(subj);
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links.front()->context, (ContextList{2}));
    EXPECT_EQ(Texts(FirstValueFStructure(subj)->FindItem(Id("CASE"))), Strings{"nom(2)"});
  }
}

TEST_F(ItemTest, PathStepsThroughAtomicValuesKeepTheClash) {
  auto* mother = new P_FStructure();
  mother->AddItem(new P_FSItemSimple(Id("SUBJ"), Id("none")));
  P_FSItemComplex path(Id("SUBJ NUM"), 0x40);
  path.AddValue(Atom("sg"));
  mother->AddItem(path.Instantiate(0, mother, nullptr));
  ASSERT_EQ(mother->items.size(), 1u);
  EXPECT_EQ(mother->items.front()->GetValueCount(), 2);
  mother->ResolveNogoods();
  EXPECT_TRUE(mother->failed);  // an atomic SUBJ against an F-structure SUBJ
}

TEST_F(ItemTest, NogoodsBetweenValues) {
  auto* failedFs = new P_FStructure();
  failedFs->failed = true;
  auto* plain = new P_FStructure();
  const std::tuple<const char*, P_ConVal*, P_ConVal*, Sets> cases[] = {
      {"conflicting contexts are never compared", Atom("sg", {1}), Atom("pl", {-1}), {}},
      {"compatible contexts, values differ", Atom("sg", {1}), Atom("pl", {2}), {Bits({1, 2})}},
      {"unconditional clash", Atom("sg"), Atom("pl"), {EmptyFeatureSet}},
      {"F-structure against an atomic value", Link(plain, {2}), Atom("sg", {1}), {Bits({1, 2})}},
      {"a failed F-structure gives its own context", Link(failedFs, {3}), Link(plain, {4}), {Bits({3})}},
      {"F-structures clash through their items",
       Link(With("NUM", {Atom("sg", {5})}), {1}),
       Link(With("NUM", {Atom("pl")}), {2}),
       {Bits({1, 2, 5})}},
  };
  for (const auto& [what, a, b, nogoods] : cases)
    EXPECT_EQ(ItemPtr(Item("NUM", 0, {a, b}))->CollectNogoods(), nogoods) << what;
  // A simple item against the values of another; it has no clock of its own.
  ParseClockScope clock;
  const ItemPtr item(Item("NUM", 0, {Atom("sg", {1}), Atom("sg", {2})}));
  P_FSItemSimple simple(Id("NUM"), Id("pl"));
  EXPECT_TRUE(item->CollectNogoods().empty());
  clock.Expire();
  EXPECT_EQ(item->CollectNogoods(), Sets{EmptyFeatureSet});  // a passed time limit is one definite clash
  EXPECT_EQ(item->CollectNogoodsAgainst(&simple), Sets{EmptyFeatureSet});
  EXPECT_EQ(simple.CollectNogoodsAgainst(item.get()), (Sets{Bits({1}), Bits({2})}));
}

TEST_F(ItemTest, RestrictionKeepsCopiesOfTheValuesNotContradicted) {
  P_FStructure* inner = With("NUM", {Atom("sg", {1}), Atom("pl", {-1})});
  ItemPtr item(
      Item("CASE", 0,
           {Atom("a", {1}), Atom("b", {3}), Atom("c", {0}), Atom("d", {-1}), Atom("e", {1, 2}), Link(inner, {1})}));
  const ItemPtr restricted(item->RestrictToContext({-2, 1}));
  // Copies, never the item's own values: the two may be freed at different times.
  item.reset();
  EXPECT_EQ(Texts(restricted.get()), (Strings{"a(1)", "b(3)", "c()", "<fs>(1)"}));
  EXPECT_NE(restricted->GetValues().back()->GetBoundFStructure(), inner);
  EXPECT_EQ(Texts(restricted->GetValues().back()->GetBoundFStructure()->FindItem(Id("NUM"))), Strings{"sg(1)"});
  EXPECT_EQ(ItemPtr(Item("CASE", 0, {Atom("d", {-1})}))->RestrictToContext({1}), nullptr);
}
