#include <gtest/gtest.h>

#include "constraints/p_fstructure.h"
#include "constraints/p_symbol_table.h"
#include "constraints_fixture.h"

namespace {

class FStructureTest : public ::testing::Test {
 protected:
  ConstraintsData data_;
};

P_ConVal* Plain(uint16_t id, ContextList context = {0}) {
  auto* value = new P_ConValPlainVal(id);
  value->context = std::move(context);
  value->RebuildContextBits();
  return value;
}

P_FSItemComplex* Complex(uint16_t attribute, uint8_t flags, std::initializer_list<P_ConVal*> values) {
  auto* item = new P_FSItemComplex(attribute, flags);
  for (P_ConVal* value : values) item->AddValue(value);
  return item;
}

std::list<uint16_t> PlainValues(const P_FSItem* item) {
  std::list<uint16_t> ids;
  std::list<P_ConVal*> values = item->GetValues();
  for (const P_ConVal* value : values) ids.push_back(value->GetPlainValue());
  item->ReleaseHandedOutValues(values);
  return ids;
}

P_FStructure* Nested(const P_FSItem* holder) { return holder->GetValues().front()->GetFStructure(); }

}  // namespace

TEST_F(FStructureTest, DefiningItemsJoinTheItemOfTheirAttribute) {
  auto* fs = new P_FStructure();
  P_FSItem* first = new P_FSItemSimple(5, 1);
  fs->AddItem(first);
  fs->AddItem(new P_FSItemSimple(5, 2));           // a simple item is widened to take it
  fs->AddItem(Complex(5, 0, {Plain(3, {1})}));
  fs->AddItem(Complex(6, 0, {Plain(4)}));
  ASSERT_EQ(fs->items.size(), 2u);
  EXPECT_EQ(PlainValues(fs->FindItem(5)), (std::list<uint16_t>{1, 2, 3}));
  EXPECT_EQ(fs->FindItem(5)->GetValues().back()->context, (ContextList{1}));

  P_FSItem* stored = fs->FindItem(6);
  fs->AddItem(stored);  // the stored item itself: nothing happens
  EXPECT_EQ(fs->items.size(), 2u);
  EXPECT_EQ(stored->GetValueCount(), 1);
  EXPECT_EQ(fs->FindItem(7), nullptr);
}

TEST_F(FStructureTest, FStructureValuedItemsShareOneNestedFStructure) {
  auto* fs = new P_FStructure();
  const size_t before = P_FStructure::RegisteredCount();
  auto* daughter = new P_FStructure();
  fs->AddItem(Complex(9, 0x80, {new P_ConValFSLink(daughter, 0)}));
  fs->AddItem(Complex(9, 0x80, {Plain(4)}));
  ASSERT_EQ(fs->items.size(), 1u);
  P_FSItem* holder = fs->items.front();
  EXPECT_EQ(holder->GetFlags(), 0x80);
  ASSERT_EQ(holder->GetValueCount(), 1);
  const P_ConVal* link = holder->GetValues().front();
  EXPECT_EQ(link->contextBits, EmptyFeatureSet);
  EXPECT_EQ(link->GetFSAttribute(), 0);
  P_FStructure* nested = Nested(holder);
  ASSERT_NE(nested, nullptr);
  EXPECT_EQ(P_FStructure::RegisteredCount(), before + 2);  // the daughter and one nested F-structure
  ASSERT_EQ(nested->root->GetValueCount(), 2);
  EXPECT_EQ(nested->root->values.front()->GetBoundFStructure(), daughter);
  EXPECT_EQ(nested->root->values.back()->GetPlainValue(), 4);
}

TEST_F(FStructureTest, ConstrainingItemsMergeOnlyWithEqualFlags) {
  auto* fs = new P_FStructure();
  fs->MergeIntoExistingItem(Complex(3, 0x10, {Plain(1)}));
  fs->MergeIntoExistingItem(Complex(3, 0x18, {Plain(2)}));
  fs->MergeIntoExistingItem(Complex(3, 0x10, {Plain(3)}));
  fs->MergeIntoExistingItem(Complex(3, 0x18, {Plain(4)}));  // only the first item of 3 is compared
  ASSERT_EQ(fs->constrainingItems.size(), 3u);
  EXPECT_EQ(PlainValues(fs->constrainingItems.front()), (std::list<uint16_t>{1, 3}));
  EXPECT_EQ(fs->FindSecondaryItem(3), fs->constrainingItems.front());
  P_FSItem* same = fs->constrainingItems.back();
  fs->MergeIntoExistingItem(fs->constrainingItems.front());
  EXPECT_EQ(fs->constrainingItems.size(), 3u);
  EXPECT_EQ(same->GetValueCount(), 1);
}

TEST_F(FStructureTest, RootLinksCollectItemsOfIdentifiedFStructures) {
  auto* top = new P_FStructure();
  auto* left = new P_FStructure();
  auto* right = new P_FStructure();
  left->AddItem(new P_FSItemSimple(4, 1));
  right->AddItem(new P_FSItemSimple(4, 2));
  right->AddItem(new P_FSItemSimple(5, 3));
  top->AddItem(new P_FSItemSimple(4, 7));
  auto* toLeft = new P_ConValFSLink(left, 0);
  toLeft->context = {1};
  toLeft->RebuildContextBits();
  auto* toRight = new P_ConValFSLink(right, 0);
  toRight->context = {-1};
  toRight->RebuildContextBits();
  top->AddValuesToRoot(Complex(0, 0, {toLeft, toRight}));
  ASSERT_EQ(top->root->GetValueCount(), 2);

  EXPECT_EQ(top->CollectItemsWithAttribute(4).size(), 3u);
  EXPECT_EQ(top->CollectAllItems().size(), 4u);
  std::list<P_FSItem*> found;
  std::list<CFeatureSet> contexts;
  EXPECT_TRUE(top->FindItemsWithAttribute(5, found, contexts, EmptyFeatureSet));
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(contexts.front(), BuildFeatureSet({-1}));

  top->AddNogood(BuildFeatureSet({-1}));  // the right link is then never followed
  found.clear();
  contexts.clear();
  EXPECT_FALSE(top->FindItemsWithAttribute(5, found, contexts, EmptyFeatureSet));
  right->failed = true;
  EXPECT_EQ(top->CollectItemsWithAttribute(4).size(), 2u);
}

TEST_F(FStructureTest, NogoodsAreConsistentAndStoredOnce) {
  P_FStructure fs;
  fs.AddNogood(BuildFeatureSet({1, -1}));
  EXPECT_TRUE(fs.nogoods.empty());
  fs.AddNogood(BuildFeatureSet({1, 2}));
  fs.AddNogood(BuildFeatureSet({2, 1}));
  EXPECT_EQ(fs.nogoods.size(), 1u);
  struct Case {
    FeatureLiteralList context;
    bool nogood;
  } cases[] = {{{1, 2}, true}, {{1, 2, -3}, true}, {{1}, false}, {{1, -2}, false}, {{}, false}};
  for (const Case& c : cases) EXPECT_EQ(fs.IsNogoodContext(BuildFeatureSet(c.context)), c.nogood);
  P_FStructure none;
  EXPECT_FALSE(none.IsNogoodContext(EmptyFeatureSet));
  none.AddNogood(EmptyFeatureSet);  // the definite clash lies inside every context
  EXPECT_TRUE(none.IsNogoodContext(BuildFeatureSet({3})));
}

TEST_F(FStructureTest, FeatureSetsAsContextLists) {
  EXPECT_EQ(FeatureSetsToContextLists({EmptyFeatureSet, BuildFeatureSet({3, -1, 40})}),
            (std::list<ContextList>{{0}, {-1, 3, 40}}));
  EXPECT_TRUE(IsConsistentFeatureSet(BuildFeatureSet({1, -2})));
  EXPECT_FALSE(IsConsistentFeatureSet(BuildFeatureSet({2, -2})));
}

TEST_F(FStructureTest, PathLinksAreReplacedByTheValuesAtTheirPath) {
  const uint16_t num = P_SymbolTable::Intern("NUM");
  const uint16_t subj = P_SymbolTable::Intern("SUBJ");
  const uint16_t path = P_SymbolTable::Intern("SUBJ NUM");
  const uint16_t other = P_SymbolTable::Intern("AGR");
  auto* mother = new P_FStructure();
  mother->AddItem(Complex(subj, 0x80, {}));
  P_FStructure* subject = Nested(mother->FindItem(subj));
  subject->AddItem(Complex(num, 0, {Plain(11, {1}), Plain(12, {-1})}));

  auto* fs = new P_FStructure();
  auto* toPath = new P_ConValFSLink(mother, path);
  auto* nowhere = new P_ConValFSLink(mother, P_SymbolTable::Intern("OBJ NUM"));
  nowhere->context = {2};
  nowhere->RebuildContextBits();
  auto* index = new P_ConValFSLink(mother, path);
  fs->items.push_back(Complex(other, 0, {toPath, Plain(5), nowhere}));
  fs->items.push_back(Complex(SymbolTableIndexId, 0, {index}));
  fs->ResolveIndexPaths();

  const P_FSItem* agr = fs->FindItem(other);
  EXPECT_EQ(PlainValues(agr), (std::list<uint16_t>{11, 5, 0, 12}));
  const P_ConVal* leftAlone = *std::next(agr->GetValues().begin(), 2);
  EXPECT_EQ(leftAlone->GetFSAttribute(), 0);
  EXPECT_NE(leftAlone->GetBoundFStructure(), mother);
  EXPECT_EQ(fs->nogoods, std::list<CFeatureSet>{BuildFeatureSet({2})});
  EXPECT_EQ(fs->FindItem(SymbolTableIndexId)->GetValues().front(), index);  // INDEX keeps its path
}

TEST_F(FStructureTest, EveryFStructureIsFreedOnceByItsRegistry) {
  const size_t before = P_FStructure::RegisteredCount();
  auto* a = new P_FStructure();
  auto* b = new P_FStructure();
  auto* c = new P_FStructure();
  // Links share F-structures freely; none of them owns one.
  a->AddValuesToRoot(Complex(0, 0, {new P_ConValFSLink(b, 0), new P_ConValFSLink(b, 0)}));
  c->AddItem(Complex(4, 0x80, {new P_ConValFSLink(a, 0)}));
  EXPECT_EQ(P_FStructure::RegisteredCount(), before + 4);
  delete b;  // an early delete leaves the registry
  EXPECT_EQ(P_FStructure::RegisteredCount(), before + 3);
  P_FStructure::DeleteAll();
  EXPECT_EQ(P_FStructure::RegisteredCount(), 0u);
}
