// The chart records and the choice-context helpers, on hand-made productions.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "analysis/cfg_chart.h"
#include "analysis/cfg_utilities.h"

namespace {

// "lhs -> rhs..." with parts of speech given as negative ids.
CCompiledProduction MakeProduction(uint16_t number, uint16_t lhs, const std::vector<int>& rhs) {
  CCompiledProduction production;
  production.number = number;
  production.lhs = lhs;
  for (int id : rhs) {
    CCompiledSymbol symbol;
    symbol.isPOS = id < 0 ? 1 : 0;
    symbol.id = static_cast<uint16_t>(id < 0 ? -id : id);
    production.rhs.push_back(symbol);
  }
  return production;
}

class CfgChart : public ::testing::Test {
 protected:
  void TearDown() override {
    FreeAllEarleyItems();
    FreeAllChartColumns();
  }
  // NP(10) -> det n ; S(11) -> NP VP(12)
  CCompiledProduction np_ = MakeProduction(0, 10, {-1, -2});
  CCompiledProduction s_ = MakeProduction(1, 11, {10, 12});
  CELexicalEntry det_{1, {}, uint16_t{0}, 1.0f};
  CELexicalEntry noun_{2, {}, uint16_t{0}, 1.0f};
};

TEST_F(CfgChart, DuplicatesMergeTheirChildListsIntoTheFirstItem) {
  CCfgChartColumn column(nullptr);
  auto advanced = [&](uint16_t origin, CELexicalEntry* reading) {
    auto* item = new CCfgChartItem(origin, &np_);
    item->AdvanceDot({nullptr, reading});
    return item;
  };
  CCfgChartItem* first = advanced(0, &det_);
  ASSERT_EQ(column.AddItem(first), first);
  struct Case {
    const char* name;
    CCfgChartItem* item;
    bool added;
    size_t alternatives_of_first;
  };
  const std::vector<Case> cases = {
      {"same production, dot and origin: merged", advanced(0, &noun_), false, 2},
      {"other origin: a new item", advanced(1, &det_), true, 2},
      {"dot 0: nothing changes", new CCfgChartItem(0, &np_), true, 2},
      {"dot 0 again: dropped without a list", new CCfgChartItem(0, &np_), false, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const size_t before = column.GetItemCount();
    EXPECT_EQ(column.AddItem(c.item) == c.item, c.added);
    EXPECT_EQ(column.GetItemCount(), before + (c.added ? 1 : 0));
    EXPECT_EQ(first->GetChildAlternatives().size(), c.alternatives_of_first);
  }
  // The merged list is shared, not copied: the first item sees the reading
  // of the duplicate.
  EXPECT_EQ(first->GetChildAlternatives()[1]->front().reading, &noun_);
  EXPECT_EQ(column.GetItemsOfProduction(0).size(), 3u);
  EXPECT_THROW(column.GetItem(3), const char*);
  EXPECT_THROW(column.GetItem(-1), const char*);
}

TEST_F(CfgChart, OnlyItemsBeforeACategoryWaitForIt) {
  CCfgChartColumn column(nullptr);
  column.AddItem(new CCfgChartItem(0, &s_));   // before NP
  column.AddItem(new CCfgChartItem(0, &np_));  // before a part of speech
  auto* complete = new CCfgChartItem(0, &np_);
  complete->AdvanceDot({nullptr, &det_});
  complete->AdvanceDot({nullptr, &noun_});
  EXPECT_TRUE(complete->IsComplete());
  EXPECT_FALSE(complete->AdvanceDot({nullptr, &noun_}));
  column.AddItem(complete);
  EXPECT_EQ(*column.GetItemsWaitingFor(10), (std::vector<size_t>{0}));
  EXPECT_TRUE(column.GetItemsWaitingFor(12)->empty());
  EXPECT_TRUE(column.GetItemsWaitingFor(1)->empty());
}

TEST_F(CfgChart, ColumnMaskHoldsTheReadingsPartsOfSpeech) {
  const CEntryList readings = {&det_, &noun_};
  CCfgChartColumn column(&readings);
  EXPECT_EQ(column.GetCategoryMask().LowWord(), 0b110u);
  EXPECT_TRUE(CCfgChartColumn(nullptr).GetCategoryMask().IsClear());
}

TEST_F(CfgChart, ScoresSumTheChildItemsTotals) {
  auto* zero = new CCfgChartItem(0, &np_);
  zero->ComputeScores();  // one empty alternative: score 0
  auto* two = new CCfgChartItem(0, &np_);
  two->ComputeScores();
  two->ComputeScores();  // scores {0, 0}: total 2
  auto* parent = new CCfgChartItem(0, &s_);
  parent->AdvanceDot({zero, nullptr});
  auto* other = new CCfgChartItem(0, &s_);
  other->AdvanceDot({two, nullptr});
  CCfgChartColumn column(nullptr);
  column.AddItem(parent);
  column.AddItem(other);
  parent->ComputeScores();
  EXPECT_EQ(parent->GetScores(), (std::vector<float>{1.0f, 2.0f}));
}

TEST_F(CfgChart, BulkFreeEmptiesBothRegistriesAndAnItemFreedAloneLeavesIt) {
  delete new CCfgChartItem(0, &np_);
  auto* item = new CCfgChartItem(0, &np_);
  CCfgChartItem* copy = item->CloneAdvanced();
  copy->AdvanceDot({nullptr, &det_});
  EXPECT_EQ(item->GetChildAlternatives()[0]->size(), 0u) << "the clone's lists are its own";
  new CCfgChartColumn(nullptr);
  EXPECT_EQ(RegisteredEarleyItemCount(), 2u);
  EXPECT_EQ(RegisteredChartColumnCount(), 1u);
  FreeAllEarleyItems();
  FreeAllChartColumns();
  EXPECT_EQ(RegisteredEarleyItemCount(), 0u);
  EXPECT_EQ(RegisteredChartColumnCount(), 0u);
}

// --- Choice contexts ----------------------------------------------------------

TEST(CfgChoiceContexts, AlternativesExcludeEachOtherAndShift) {
  std::vector<ContextList> contexts = MakeChoiceContexts(3);
  EXPECT_EQ(contexts, (std::vector<ContextList>{{-1, -2}, {1, -2}, {2}}));
  EXPECT_EQ(ShiftChoiceContexts(contexts, 4), 6);
  EXPECT_EQ(contexts, (std::vector<ContextList>{{-5, -6}, {5, -6}, {6}}));
  EXPECT_EQ(ShiftChoiceContexts(contexts, 122), -1) << "a choice past 127 is refused";
  EXPECT_EQ(contexts, (std::vector<ContextList>{{-5, -6}, {5, -6}, {6}})) << "and nothing changes";
  EXPECT_EQ(MakeChoiceContexts(1), (std::vector<ContextList>{{}}));
}

TEST(CfgChoiceContexts, SharedChildrenMergeTheirAlternativesContexts) {
  struct Case {
    ContextList a, b, merged;
  };
  const std::vector<Case> cases = {
      {{-1, -2}, {1, -2}, {-2}},  // alternatives 0 and 1 of three
      {{-2}, {2}, {}},            // ... and then alternative 2: always true
      {{1, -2}, {2}, {1}},        // alternatives 1 and 2 of three
      {{-1}, {1}, {}},
      {{3}, {4}, {3, 4}},  // nothing excluded
  };
  for (const Case& c : cases) EXPECT_EQ(MergeAlternativeContexts(c.a, c.b), c.merged);
}

TEST(CfgValueHelpers, LookUpAndIntersect) {
  EXPECT_EQ(IndexOfValue({4, 7, 7}, 7), 1u);
  EXPECT_EQ(IndexOfValue({4, 7}, 5), 0xFFFFFFFFu);
  EXPECT_EQ(IntersectIdVectors({3, 1, 3, 2}, {3, 2}), (std::vector<uint16_t>{3, 3, 2}));
  EXPECT_TRUE(IntersectIdVectors({1}, {}).empty());
}

}  // namespace
