// The chart of the CFG Earley parser: one column per input position plus a
// final column, each holding Earley items (a compiled production with a dot,
// an origin column and a packed forest of child alternatives).
//
// Columns and items register themselves in two program-wide registries that
// own them; the parser frees them in bulk at the start of the next parse
// (FreeAllEarleyItems, FreeAllChartColumns). An item or column deleted on its
// own leaves its registry, so nothing is freed twice. Both are taken from
// the sentence arena, which the sentence reset releases after the chart.
//
// Child lists are shared between items when a duplicate item is merged into
// an equal one; they are reference-counted, so they go with the last item
// that holds them. The F-structures that F-structure construction hangs at
// items belong to the constraint system's per-sentence registry, never to the
// chart.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <memory_resource>
#include <unordered_map>
#include <vector>

#include "core/category_mask.h"
#include "core/sentence_arena.h"
#include "resources/english/e_lexicon.h"
#include "resources/english/p_grammar.h"

class CCfgChartItem;
class P_FStructure;

// One recognised right-hand-side position: an item at a category position,
// a reading at a part-of-speech position.
struct CCfgChild {
  CCfgChartItem* item = nullptr;
  CELexicalEntry* reading = nullptr;

  bool operator==(const CCfgChild& other) const { return item == other.item && reading == other.reading; }
};

using CCfgChildList = std::vector<CCfgChild>;
using CCfgChildListRef = std::shared_ptr<CCfgChildList>;
using CCfgChildAlternatives = std::vector<CCfgChildListRef>;

class CCfgChartItem : public SentenceArenaObject {
 public:
  CCfgChartItem(uint16_t origin, CCompiledProduction* production);
  ~CCfgChartItem();
  CCfgChartItem(const CCfgChartItem&) = delete;
  CCfgChartItem& operator=(const CCfgChartItem&) = delete;

  bool IsComplete() const;
  // The record at the dot; only for incomplete items.
  const CCompiledSymbol& GetSymbolAfterDot() const;
  // Appends the child to every child list and moves the dot; false for a
  // complete item.
  bool AdvanceDot(const CCfgChild& child);
  // A new registered item with the same origin, production, mark and dot, a
  // fresh copy of every child list and a copy of the scores.
  CCfgChartItem* CloneAdvanced() const;
  // Appends one score per child alternative: the sum of the totals of the
  // child items at category positions (an item's total is the sum of exp(s)
  // over its scores).
  void ComputeScores();
  // Sum of exp(s) over the item's scores.
  double ScoreTotal() const;
  // Same dot, origin and production (left side, number and records).
  bool Equals(const CCfgChartItem& other) const;

  CCompiledProduction* GetProduction() const { return production_; }
  uint16_t GetOrigin() const { return origin_; }
  size_t GetDot() const { return dot_; }
  uint16_t GetColumn() const { return column_; }
  void SetColumn(uint16_t column) { column_ = column; }
  uint8_t GetMark() const { return mark_; }
  void SetMark(uint8_t mark) { mark_ = mark; }
  const CCfgChildAlternatives& GetChildAlternatives() const { return alternatives_; }
  const std::vector<float>& GetScores() const { return scores_; }
  P_FStructure* GetFStructure() const { return fstructure_; }
  void SetFStructure(P_FStructure* fs) { fstructure_ = fs; }

  // The column merges the lists of a duplicate into its equal item.
  void AppendAlternative(const CCfgChildListRef& list) { alternatives_.push_back(list); }

 private:
  uint16_t origin_;
  uint16_t column_ = 0;
  P_FStructure* fstructure_ = nullptr;  // not owned
  size_t dot_ = 0;
  uint8_t mark_ = 0;
  CCompiledProduction* production_;  // not owned
  CCfgChildAlternatives alternatives_;
  std::vector<float> scores_;
  size_t registryIndex_;
};

class CCfgChartColumn : public SentenceArenaObject {
 public:
  // readings: the word's readings at this position (not owned); null for
  // the final column, whose category mask stays empty.
  explicit CCfgChartColumn(const CEntryList* readings);
  ~CCfgChartColumn();
  CCfgChartColumn(const CCfgChartColumn&) = delete;
  CCfgChartColumn& operator=(const CCfgChartColumn&) = delete;

  // Adds the item unless an item of the same production, dot and origin is
  // there; then the new item's child lists (when its dot is past 0) join
  // that item's alternatives and the new item stays unused in the registry.
  // Returns the item that holds the analysis.
  CCfgChartItem* AddItem(CCfgChartItem* item);
  // The item at index; throws "Run TIME ERRROR" for a bad index.
  CCfgChartItem* GetItem(int index) const;
  // The indexes of the incomplete items waiting for the category.
  std::unique_ptr<std::vector<size_t>> GetItemsWaitingFor(uint16_t category) const;
  // The items built on the production, in the order they were added.
  std::list<CCfgChartItem*> GetItemsOfProduction(uint16_t productionNumber) const;

  // True the first time the category is predicted in this column: a second
  // prediction would only make duplicates of the items the first one added.
  bool FirstPrediction(uint16_t category) {
    if (category >= predicted_.size()) predicted_.resize(size_t{category} + 1, false);
    if (predicted_[category]) return false;
    predicted_[category] = true;
    return true;
  }

  CCategoryMask GetCategoryMask() const { return mask_; }
  const CEntryList* GetReadings() const { return readings_; }
  size_t GetNextItemIndex() const { return nextItem_; }
  void AdvanceNextItem() { ++nextItem_; }
  size_t GetItemCount() const { return items_.size(); }
  // Frees the item vector's storage (the items stay in their registry).
  void Release();

 private:
  // The lists and indexes take their memory from the sentence arena.
  using IndexMap = std::pmr::unordered_map<uint16_t, std::pmr::vector<size_t>>;
  std::pmr::vector<CCfgChartItem*> items_{SentenceArenaResource()};  // not owned
  CCategoryMask mask_;
  const CEntryList* readings_;
  IndexMap productionIndex_{SentenceArenaResource()};
  IndexMap waitingIndex_{SentenceArenaResource()};
  std::pmr::vector<bool> predicted_ = std::pmr::vector<bool>(SentenceArenaResource());  // by category id
  size_t nextItem_ = 0;
  size_t registryIndex_;
};

// Deletes every registered item (columns) and empties the registry.
void FreeAllEarleyItems();
void FreeAllChartColumns();
// Live registered objects, for checks after a reset.
size_t RegisteredEarleyItemCount();
size_t RegisteredChartColumnCount();
