// Applying items to real F-structures: value by value, path expansion and
// set elements.
#include <gtest/gtest.h>

#include "constraints/p_fs_item.h"
#include "constraints/p_fstructure.h"
#include "constraints_fixture.h"
#include "solver_test_helpers.h"

using namespace solver_test;

namespace {

class InstantiateTest : public ::testing::Test {
 protected:
  InstantiateTest() { P_FSItemComplex::ResetSetElementCounter(); }
  ConstraintsData data_{"SUBJ,OBJ", "ADJUNCT\r\n"};
};

// A description link: '!' (daughter) or '^' (mother) with an attribute path.
P_ConVal* DescriptionLink(bool daughter, const std::string& path, ContextList context = {0}) {
  auto* link = new P_ConValFDLink();
  link->value = path.empty() ? 0 : Id(path);
  link->valueType = daughter ? kLinkToDaughter : 0;
  link->context = std::move(context);
  return link;
}

P_FStructure* Held(const P_FSItem* item) { return FirstValueFStructure(item); }

std::string Name(uint16_t id) { return P_SymbolTable::GetString(static_cast<int16_t>(id)); }

}  // namespace

TEST_F(InstantiateTest, ValuesAreInstantiatedOneByOneUnderShiftedContexts) {
  auto* mother = new P_FStructure();
  auto* daughter = new P_FStructure();
  P_FSItemComplex item(Id("CASE"), 0);
  item.AddValue(Atom("nom", {0, 1}));
  item.AddValue(Atom("acc", {-1, 0}));
  item.AddValue(DescriptionLink(true, "", {2}));
  P_FSItem* made = item.Instantiate(3, mother, daughter);
  EXPECT_EQ(Texts(made), (std::list<std::string>{"nom(4)", "acc(-4)", "<fs>(5)"}));
  EXPECT_EQ(made->GetValues().back()->GetBoundFStructure(), daughter);
  delete made;

  // A "=c" path item is taken value by value: its attribute keeps the blank.
  P_FSItemComplex constraint(Id("SUBJ CASE"), 0x50);
  constraint.AddValue(Atom("nom"));
  P_FSItem* constrained = constraint.Instantiate(0, mother, daughter);
  EXPECT_EQ(Name(constrained->attribute), "SUBJ CASE");
  EXPECT_EQ(constrained->GetFlags(), 0x50);
  EXPECT_TRUE(mother->items.empty());
  delete constrained;
}

TEST_F(InstantiateTest, PathsAreExpandedIntoNestedFStructures) {
  auto* mother = new P_FStructure();
  P_FSItemComplex path(Id("SUBJ NUM"), 0x40);
  path.AddValue(Atom("sg", {1}));
  P_FSItem* subj = path.Instantiate(0, mother, nullptr);
  EXPECT_EQ(Name(subj->attribute), "SUBJ");
  EXPECT_EQ(subj->GetFlags(), 0x80);
  ASSERT_NE(Held(subj), nullptr);
  EXPECT_EQ(Texts(Held(subj)->FindItem(Id("NUM"))), std::list<std::string>{"sg(1)"});
  mother->AddItem(subj);  // held through a nested F-structure from now on
  P_FSItem* holder = mother->FindItem(Id("SUBJ"));

  // The mother's item of the first step is reused, not doubled.
  P_FSItemComplex second(Id("SUBJ PERS"), 0x40);
  second.AddValue(Atom("3"));
  EXPECT_EQ(second.Instantiate(0, mother, nullptr), holder);
  mother->AddItem(holder);
  EXPECT_EQ(mother->items.size(), 1u);
  EXPECT_NE(Held(holder)->FindItem(Id("PERS")), nullptr);
}

TEST_F(InstantiateTest, SetMembersBecomeNumberedElements) {
  auto* mother = new P_FStructure();
  auto* daughter = new P_FStructure();
  SetElementCounter = 3;
  P_FSItemComplex member(Id("OBJ"), 0x08);
  member.AddValue(DescriptionLink(true, ""));
  P_FSItem* obj = member.Instantiate(0, mother, daughter);
  EXPECT_EQ(Name(member.attribute), "OBJ SET ELEMENT3");
  EXPECT_EQ(member.flags, 0x40);
  EXPECT_EQ(SetElementCounter, 4);
  EXPECT_EQ(Name(obj->attribute), "OBJ");
  EXPECT_EQ(obj->GetFlags(), 0x80);
  // OBJ holds SET, whose F-structure holds ELEMENT3, whose F-structure is
  // identified with the daughter's.
  P_FSItem* set = Held(obj)->FindItem(Id("SET"));
  ASSERT_NE(set, nullptr);
  EXPECT_EQ(set->GetFlags(), 0x80);
  P_FSItem* element = Held(set)->FindItem(Id("ELEMENT3"));
  ASSERT_NE(element, nullptr);
  EXPECT_EQ(element->GetFlags(), 0x80);
  EXPECT_EQ(Held(element)->root->values.front()->GetBoundFStructure(), daughter);
  delete obj;

  // A second application of the same item draws no new number.
  delete member.Instantiate(0, mother, daughter);
  EXPECT_EQ(SetElementCounter, 4);

  // Without attribute the element goes into SET of the mother; numbering
  // runs on until the per-sentence reset.
  P_FSItemComplex bare(0, 0x08);
  bare.AddValue(DescriptionLink(true, ""));
  P_FSItem* setItem = bare.Instantiate(0, mother, daughter);
  EXPECT_EQ(Name(bare.attribute), "SET ELEMENT4");
  EXPECT_EQ(Name(setItem->attribute), "SET");
  EXPECT_NE(Held(setItem)->FindItem(Id("ELEMENT4")), nullptr);
  delete setItem;
  P_FSCompiler::ResetForSentence();
  EXPECT_EQ(SetElementCounter, 1);
}

TEST_F(InstantiateTest, EvaluatingAPathGivesOneFStructurePerAlternative) {
  auto* mother = new P_FStructure();
  std::vector<P_ConVal*> alternatives;
  const ContextList contexts[] = {{-2, -1}, {-2, 1}, {2}};
  for (const ContextList& context : contexts) alternatives.push_back(Link(new P_FStructure(), context));
  P_FSItemComplex path(Id("ADJUNCT NEXT"), 0x40);
  path.AddValue(DescriptionLink(true, ""));
  P_FSItem* made = path.Evaluate(0, mother, alternatives);
  EXPECT_EQ(Name(made->attribute), "ADJUNCT");
  EXPECT_EQ(Texts(made), (std::list<std::string>{"<fs>(-1,-2)", "<fs>(1,-2)", "<fs>(2)"}));
  auto alternative = alternatives.begin();
  for (const P_ConVal* link : made->GetValues()) {
    const P_FSItem* next = link->GetBoundFStructure()->FindItem(Id("NEXT"));
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->GetValues().front()->GetBoundFStructure(), (*alternative++)->GetBoundFStructure());
  }
  delete made;
  for (P_ConVal* link : alternatives) delete link;
}

TEST_F(InstantiateTest, LastPathStepsTakeFStructuresByName) {
  struct Case {
    const char* name;
    uint8_t flags;
  } cases[] = {{"ELEMENT7", 0x80}, {"ELEMENTS", 0x80}, {"ADJUNCT", 0x80}, {"ELEMEN", 0x00}, {"NUM", 0x00}};
  for (const Case& c : cases) {
    P_FStructure fs;
    P_FSItemComplex placer;
    const P_ConVal* value = Atom("x");
    placer.PlaceValueAtPath(&fs, c.name, value);
    delete value;
    ASSERT_EQ(fs.items.size(), 1u) << c.name;
    EXPECT_EQ(fs.items.front()->GetFlags(), c.flags) << c.name;
  }
}

TEST_F(InstantiateTest, PathStepsThroughAtomicValuesKeepTheClash) {
  auto* mother = new P_FStructure();
  mother->AddItem(new P_FSItemSimple(Id("SUBJ"), Id("none")));
  P_FSItemComplex path(Id("SUBJ NUM"), 0x40);
  path.AddValue(Atom("sg"));
  P_FSItem* made = path.Instantiate(0, mother, nullptr);
  mother->AddItem(made);
  ASSERT_EQ(mother->items.size(), 1u);
  EXPECT_EQ(mother->items.front()->GetValueCount(), 2);
  mother->ResolveNogoods();
  EXPECT_TRUE(mother->failed);  // an atomic SUBJ against an F-structure SUBJ

  // The same inside PlaceValueAtPath, and a root link bound to nothing.
  P_FStructure inner;
  inner.AddItem(new P_FSItemSimple(Id("OBJ"), Id("none")));
  inner.root->AddValue(new P_ConValPlainVal(Id("odd")));
  P_FSItemComplex placer;
  const P_ConVal* value = Atom("pl");
  placer.PlaceValueAtPath(&inner, "OBJ NUM", value);
  delete value;
  ASSERT_EQ(inner.items.size(), 1u);
  EXPECT_EQ(inner.items.front()->GetValueCount(), 2);
}
