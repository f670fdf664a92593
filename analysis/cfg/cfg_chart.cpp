#include "analysis/cfg/cfg_chart.h"

#include <cmath>

namespace {

// The registries own their objects. A slot is emptied (not erased) when its
// object is deleted on its own, so the other objects keep their indexes.
template <typename T>
class Registry {
 public:
  Registry() = default;
  // The chart of the last parse lives until the next one; at exit it goes
  // with the registry.
  ~Registry() { DeleteAll(); }
  Registry(const Registry&) = delete;
  Registry& operator=(const Registry&) = delete;

  size_t Add(T* object) {
    slots_.push_back(object);
    ++live_;
    return slots_.size() - 1;
  }
  void Remove(T* object, size_t index) {
    if (index >= slots_.size() || slots_[index] != object) return;
    slots_[index] = nullptr;
    --live_;
  }
  void DeleteAll() {
    // Taken out first: the destructors then find nothing to remove.
    std::vector<T*> slots;
    slots.swap(slots_);
    live_ = 0;
    for (T* object : slots) delete object;
    // The storage stays for the next sentence: growing a large list again
    // each sentence cost the allocator more than the items themselves.
    slots.clear();
    if (slots_.empty()) slots_.swap(slots);
  }
  size_t Live() const { return live_; }

 private:
  std::vector<T*> slots_;
  size_t live_ = 0;
};

Registry<CCfgChartItem>& ItemRegistry() {
  static Registry<CCfgChartItem> registry;
  return registry;
}

Registry<CCfgChartColumn>& ColumnRegistry() {
  static Registry<CCfgChartColumn> registry;
  return registry;
}

// A child list shared by reference, counted and held in the sentence arena
// (the list's entries stay on the heap).
CCfgChildListRef NewChildList(const CCfgChildList& entries = {}) {
  return std::allocate_shared<CCfgChildList>(std::pmr::polymorphic_allocator<CCfgChildList>(SentenceArenaResource()),
                                             entries);
}

bool SameRecords(const CCompiledProduction& a, const CCompiledProduction& b) {
  if (a.rhs.size() != b.rhs.size()) return false;
  for (size_t i = 0; i < a.rhs.size(); ++i) {
    if (a.rhs[i].id != b.rhs[i].id || a.rhs[i].isPOS != b.rhs[i].isPOS) return false;
  }
  return true;
}

}  // namespace

// --- CCfgChartItem ----------------------------------------------------------

CCfgChartItem::CCfgChartItem(uint16_t origin, CCompiledProduction* production)
    : origin_(origin), production_(production) {
  alternatives_.push_back(NewChildList());
  registryIndex_ = ItemRegistry().Add(this);
}

CCfgChartItem::~CCfgChartItem() { ItemRegistry().Remove(this, registryIndex_); }

bool CCfgChartItem::IsComplete() const { return dot_ >= production_->rhs.size(); }

const CCompiledSymbol& CCfgChartItem::GetSymbolAfterDot() const { return production_->rhs[dot_]; }

bool CCfgChartItem::AdvanceDot(const CCfgChild& child) {
  if (IsComplete()) return false;
  ++dot_;
  for (const CCfgChildListRef& list : alternatives_) list->push_back(child);
  return true;
}

CCfgChartItem* CCfgChartItem::CloneAdvanced() const {
  auto* copy = new CCfgChartItem(origin_, production_);
  copy->mark_ = mark_;
  copy->dot_ = dot_;
  copy->alternatives_.clear();
  // Fresh lists: the copy is advanced next, which must not touch the lists
  // of this item or of the items it shares them with.
  for (const CCfgChildListRef& list : alternatives_) {
    copy->alternatives_.push_back(NewChildList(*list));
  }
  copy->scores_ = scores_;
  return copy;
}

double CCfgChartItem::ScoreTotal() const {
  double total = 0.0;
  for (float score : scores_) total += std::exp(static_cast<double>(score));
  return total;
}

void CCfgChartItem::ComputeScores() {
  for (const CCfgChildListRef& list : alternatives_) {
    double score = 0.0;
    for (size_t position = 0; position < list->size(); ++position) {
      const CCfgChild& child = (*list)[position];
      if (child.item != nullptr && position < production_->rhs.size() && !production_->rhs[position].isPOS) {
        score += child.item->ScoreTotal();
      }
    }
    scores_.push_back(static_cast<float>(score));
  }
}

bool CCfgChartItem::Equals(const CCfgChartItem& other) const {
  if (dot_ != other.dot_ || origin_ != other.origin_) return false;
  const CCompiledProduction& a = *production_;
  const CCompiledProduction& b = *other.production_;
  return a.lhs == b.lhs && a.number == b.number && SameRecords(a, b);
}

// --- CCfgChartColumn --------------------------------------------------------

CCfgChartColumn::CCfgChartColumn(const CEntryList* readings) : readings_(readings) {
  registryIndex_ = ColumnRegistry().Add(this);
  if (readings_ == nullptr) return;
  for (const CELexicalEntry* reading : *readings_) mask_.Set(reading->GetPOSId());
}

CCfgChartColumn::~CCfgChartColumn() { ColumnRegistry().Remove(this, registryIndex_); }

CCfgChartItem* CCfgChartColumn::AddItem(CCfgChartItem* item) {
  const uint16_t number = item->GetProduction()->number;
  auto found = productionIndex_.find(number);
  if (found != productionIndex_.end()) {
    for (size_t index : found->second) {
      CCfgChartItem* equal = items_[index];
      if (equal->GetDot() != item->GetDot() || equal->GetOrigin() != item->GetOrigin()) continue;
      if (item->GetDot() > 0) {
        for (const CCfgChildListRef& list : item->GetChildAlternatives()) equal->AppendAlternative(list);
      }
      return equal;
    }
  }
  const size_t index = items_.size();
  items_.push_back(item);
  productionIndex_[number].push_back(index);
  if (!item->IsComplete() && !item->GetSymbolAfterDot().isPOS) {
    waitingIndex_[item->GetSymbolAfterDot().id].push_back(index);
  }
  return item;
}

// An index outside the column is a programming error of the caller; it is
// thrown as the bare text the parser's callers have always caught (const
// char*), never turned into an item.
CCfgChartItem* CCfgChartColumn::GetItem(int index) const {
  if (index < 0 || static_cast<size_t>(index) >= items_.size()) throw "Run TIME ERRROR";
  return items_[static_cast<size_t>(index)];
}

std::unique_ptr<std::vector<size_t>> CCfgChartColumn::GetItemsWaitingFor(uint16_t category) const {
  auto indexes = std::make_unique<std::vector<size_t>>();
  auto found = waitingIndex_.find(category);
  if (found != waitingIndex_.end()) indexes->assign(found->second.begin(), found->second.end());
  return indexes;
}

std::list<CCfgChartItem*> CCfgChartColumn::GetItemsOfProduction(uint16_t productionNumber) const {
  std::list<CCfgChartItem*> items;
  auto found = productionIndex_.find(productionNumber);
  if (found == productionIndex_.end()) return items;
  for (size_t index : found->second) items.push_back(items_[index]);
  return items;
}

void CCfgChartColumn::Release() {
  std::pmr::vector<CCfgChartItem*>(items_.get_allocator()).swap(items_);
  productionIndex_.clear();
  waitingIndex_.clear();
  nextItem_ = 0;
}

// --- Bulk free --------------------------------------------------------------

void FreeAllEarleyItems() { ItemRegistry().DeleteAll(); }
void FreeAllChartColumns() { ColumnRegistry().DeleteAll(); }
size_t RegisteredEarleyItemCount() { return ItemRegistry().Live(); }
size_t RegisteredChartColumnCount() { return ColumnRegistry().Live(); }
