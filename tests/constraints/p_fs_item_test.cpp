#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "constraints/p_fs_item.h"
#include "constraints/p_fstructure.h"
#include "constraints_fixture.h"

namespace {

class FSItemTest : public ::testing::Test {
 protected:
  ConstraintsData data_;
};

P_ConVal* Plain(uint16_t id, ContextList context = {0}) {
  auto* value = new P_ConValPlainVal(id);
  value->context = std::move(context);
  return value;
}

std::unique_ptr<P_FSItemComplex> Complex(uint16_t attribute, uint8_t flags, std::initializer_list<P_ConVal*> values) {
  auto item = std::make_unique<P_FSItemComplex>(attribute, flags);
  for (P_ConVal* value : values) item->AddValue(value);
  return item;
}

// Which of the six merge operations take the item's values.
std::string AnsweringTypes(P_FSItem& item) {
  P_FSItemComplex target;
  std::string types;
  if (item.AppendValuesToIfType00(&target)) types += "00 ";
  if (item.AppendValuesToIfType08(&target)) types += "08 ";
  if (item.AppendValuesToIfType10(&target)) types += "10 ";
  if (item.AppendValuesToIfType18(&target)) types += "18 ";
  if (item.AppendValuesToIfType30(&target)) types += "30 ";
  if (item.AppendValuesToIfType38(&target)) types += "38 ";
  target.ClearValues();  // the values stay with the item
  return types;
}

}  // namespace

TEST_F(FSItemTest, TypeCodeIgnoresPathAndFStructureBits) {
  struct Case {
    uint8_t flags;
    const char* types;
  } cases[] = {{0x00, "00 "}, {0x08, "08 "}, {0x48, "08 "}, {0x80, "00 "}, {0x10, "10 "}, {0x18, "18 "},
               {0x30, "30 "}, {0xB8, "38 "}, {0x20, ""},    {0x28, ""}};
  for (const Case& c : cases) {
    auto item = Complex(5, c.flags, {Plain(1)});
    EXPECT_EQ(AnsweringTypes(*item), c.types) << int(c.flags);
  }
  P_FSItemSimple simple(5, 7);
  P_FSItemComplex target;
  EXPECT_TRUE(simple.AppendValuesToIfType00(&target));
  ASSERT_EQ(target.GetValueCount(), 1);
  EXPECT_EQ(target.values.front()->GetPlainValue(), 7);
  EXPECT_EQ(target.values.front()->context, (ContextList{0}));
}

TEST_F(FSItemTest, KindsOfItems) {
  struct Case {
    uint16_t attribute;
    uint8_t flags;
    bool nullValue;
    bool defining, constraining, emptyAttribute;
  } cases[] = {
      {4, 0x00, false, true, false, false},  {4, 0x80, false, true, false, false},
      {0, 0x00, false, false, false, false}, {0, 0x00, true, false, false, true},
      {4, 0x10, false, false, true, false},  {4, 0x18, false, false, true, false},
      {4, 0x08, false, false, false, false}, {0, 0x10, true, false, true, false},
  };
  for (const Case& c : cases) {
    auto item = Complex(c.attribute, c.flags, {Plain(c.nullValue ? 0 : 3)});
    EXPECT_EQ(item->AsDefiningItem() != nullptr, c.defining) << int(c.flags);
    EXPECT_EQ(item->AsConstrainingItem() != nullptr, c.constraining) << int(c.flags);
    EXPECT_EQ(item->AsEmptyAttributeItem() != nullptr, c.emptyAttribute) << int(c.flags);
  }
  P_FSItemComplex empty(0, 0);
  EXPECT_EQ(empty.AsEmptyAttributeItem(), nullptr);
  P_FSItemSimple simple(4, 2);
  EXPECT_EQ(simple.AsDefiningItem(), &simple);
  EXPECT_EQ(simple.AsConstrainingItem(), nullptr);
}

TEST_F(FSItemTest, EqualityAcrossClasses) {
  P_FSItemComplex noValues(3, 0x10), otherNoValues(3, 0x10);
  EXPECT_TRUE(noValues.Equals(&otherNoValues));
  EXPECT_FALSE(noValues.ContainsValue(std::unique_ptr<P_ConVal>(Plain(1)).get()));

  auto a = Complex(3, 0, {Plain(1), Plain(2, {1})});
  auto b = Complex(3, 0, {Plain(2, {1}), Plain(1)});
  auto c = Complex(3, 0x10, {Plain(1), Plain(2, {1})});
  EXPECT_TRUE(a->Equals(b.get()));
  EXPECT_FALSE(a->Equals(c.get()));

  auto withLink = Complex(3, 0, {new P_ConValFSLink(nullptr, 0)});
  auto sameLink = Complex(3, 0, {new P_ConValFSLink(nullptr, 0)});
  EXPECT_FALSE(withLink->Equals(sameLink.get()));
  EXPECT_FALSE(withLink->Equals(withLink.get()));

  // A simple item equals a complex one only through its value 0.
  P_FSItemSimple simpleZero(3, 0), simpleOne(3, 1);
  auto single = Complex(3, 0, {Plain(1)});
  EXPECT_TRUE(simpleZero.Equals(single.get()));
  EXPECT_FALSE(simpleOne.Equals(single.get()));
  EXPECT_FALSE(single->Equals(&simpleOne));
  EXPECT_TRUE(simpleOne.Equals(std::make_unique<P_FSItemSimple>(3, 1).get()));
}

TEST_F(FSItemTest, CopiesWithContextAndNegation) {
  P_FSItemSimple simple(6, 9);
  struct Case {
    ContextList context;
    bool staysSimple;
  } cases[] = {{{0}, true}, {{0, 0}, false}, {{1}, false}, {{}, false}};
  for (const Case& c : cases) {
    std::unique_ptr<P_FSItem> copy(simple.CopyWithContext(c.context));
    EXPECT_EQ(dynamic_cast<P_FSItemSimple*>(copy.get()) != nullptr, c.staysSimple);
    if (c.staysSimple) continue;
    std::list<P_ConVal*> values = copy->GetValues();
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values.front()->context, c.context);
    EXPECT_EQ(values.front()->GetPlainValue(), 9);
    EXPECT_EQ(copy->GetFlags(), 0);
  }

  auto complex = Complex(6, 0x40, {Plain(1, {}), Plain(2, {})});
  std::unique_ptr<P_FSItem> placed(complex->CopyWithContext({0, 3}));
  EXPECT_EQ(placed->GetValues().front()->context, (ContextList{0, 3}));
  EXPECT_EQ(placed->GetValues().back()->context, ContextList{});

  std::unique_ptr<P_FSItem> negated(complex->ToComplexCopy());
  EXPECT_EQ(complex->GetFlags(), 0x58);  // the item itself is changed too
  EXPECT_EQ(negated->GetFlags(), 0x58);
  std::unique_ptr<P_FSItem> negatedSimple(simple.ToComplexCopy());
  EXPECT_EQ(negatedSimple->GetFlags(), 0x18);
  EXPECT_EQ(negatedSimple->GetValues().front()->context, ContextList{});

  P_FStructure mother, daughter;
  P_FSItemComplexAnchored anchored(Complex(6, 0x30, {Plain(1)}).get(), &mother, &daughter);
  std::unique_ptr<P_FSItem> plainCopy(anchored.ToComplexCopy());
  EXPECT_EQ(plainCopy->GetAnchor(), nullptr);
  std::unique_ptr<P_FSItem> anchoredClone(anchored.Clone());
  EXPECT_EQ(anchoredClone->GetAnchor(), &daughter);
}

TEST_F(FSItemTest, AnchoredItemsPointAtTheFStructureTheySpeakOf) {
  P_FStructure mother, daughter;
  auto onMother = Complex(2, 0x10, {Plain(1)});
  auto onDaughter = Complex(2, 0x30, {Plain(1)});
  P_FSItemComplexAnchored a(onMother.get(), &mother, &daughter);
  P_FSItemComplexAnchored b(onDaughter.get(), &mother, &daughter);
  EXPECT_EQ(a.GetAnchor(), &mother);
  EXPECT_EQ(b.GetAnchor(), &daughter);
  EXPECT_NE(a.values.front(), onMother->values.front());  // values are copies
  P_FSItemSimple simple(2, 5);
  P_FSItemComplexAnchored fromSimple(&simple, &mother, &daughter);
  EXPECT_EQ(fromSimple.values.front()->GetPlainValue(), 5);
  b.ReleaseFStructures();
  EXPECT_EQ(b.GetAnchor(), nullptr);
}

TEST_F(FSItemTest, ItemRecordsRoundTrip) {
  auto link = new P_ConValFDLink();
  link->value = 40;
  link->valueType = 0xC0;
  link->context = {0, -2};
  auto* list = new P_ConValPlainValList();
  list->values = {3, 4};
  auto item = Complex(17, 0x98, {link, Plain(5, {1}), list});
  DumpWords words;
  uint32_t index = kNoWordYet;
  item->Serialize(words, index);
  EXPECT_EQ(words[0], 2);
  EXPECT_EQ(words[1], 0x98);
  EXPECT_EQ(words[2], 3);

  uint32_t at = 0;
  P_FSItemComplex read;
  ASSERT_TRUE(read.Deserialize(words, at));
  EXPECT_EQ(at, index);
  EXPECT_EQ(read.GetFlags(), 0x98);
  read.attribute = 17;
  EXPECT_TRUE(read.Equals(item.get()));
  std::ostringstream a, b;
  read.Print(a);
  item->Print(b);
  EXPECT_EQ(a.str(), b.str());

  for (size_t cut = 1; cut < words.size(); ++cut) {
    P_FSItemComplex partial;
    uint32_t from = 0;
    EXPECT_FALSE(partial.Deserialize(DumpWords(words.begin(), words.begin() + cut), from)) << cut;
  }
  DumpWords badTag = words;
  badTag[3] = 9;
  P_FSItemComplex rejected;
  uint32_t from = 0;
  EXPECT_FALSE(rejected.Deserialize(badTag, from));

  P_FSItemSimple simple(3, 0xFFFE);
  DumpWords simpleWords;
  uint32_t simpleIndex = kNoWordYet;
  simple.Serialize(simpleWords, simpleIndex);
  EXPECT_EQ(simpleWords, (DumpWords{1, 0xFFFE}));
  std::ostringstream printed;
  simple.Print(printed);
  EXPECT_EQ(printed.str(), "Printing P_FSItemSimple:\nattribute = 3\nvalue = -2\n");
}

TEST_F(FSItemTest, AValueListedTwiceIsDestroyedOnce) {
  P_ConVal* shared = Plain(1);
  auto item = Complex(1, 0, {shared, shared, Plain(2)});
  EXPECT_EQ(item->GetValueCount(), 3);
  item.reset();  // the sanitizer build catches a second delete
}

TEST_F(FSItemTest, SimpleItemAgainstOtherValues) {
  P_FSItemSimple simple(4, 7);
  P_FStructure nested;
  auto other = Complex(4, 0, {Plain(7, {1}), Plain(8, {2}), new P_ConValFSLink(&nested, 0)});
  other->values.back()->context = {3};
  for (P_ConVal* value : other->values) value->RebuildContextBits();
  const std::list<CFeatureSet> nogoods = simple.CollectNogoodsAgainst(other.get());
  EXPECT_EQ(nogoods, (std::list<CFeatureSet>{BuildFeatureSet({2}), BuildFeatureSet({3})}));
  EXPECT_TRUE(simple.CollectNogoods().empty());
  std::unique_ptr<P_FSItem> kept(simple.RestrictToContext({-1}));
  EXPECT_TRUE(kept->Equals(&simple));
}

TEST(SplitFirstWordTest, SplitsAtTheFirstBlank) {
  struct Case {
    std::string text, first, rest;
  } cases[] = {{"SUBJ NUM", "SUBJ", "NUM"}, {"NUM", "NUM", "NUM"}, {"A B C", "A", "B C"}, {"", "", ""}};
  for (Case c : cases) {
    EXPECT_EQ(SplitFirstWord(c.text), c.first);
    EXPECT_EQ(c.text, c.rest);
  }
}
