#include "constraints/p_fstructure.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

const CFeatureSet EmptyFeatureSet(kFeatureSetWords);

namespace {

std::unordered_set<P_FStructure*>& Registry() {
  static std::unordered_set<P_FStructure*> registry;
  return registry;
}

bool AttributeAfter(const P_FSItem* item, uint16_t attribute) {
  return static_cast<int16_t>(item->attribute) > static_cast<int16_t>(attribute);
}

bool SameAttribute(const P_FSItem* item, uint16_t attribute) {
  return static_cast<int16_t>(item->attribute) == static_cast<int16_t>(attribute);
}

// Frees an item that handed its values to another holder.
void ReleaseEmptiedItem(P_FSItem* item) {
  item->ClearValues();
  delete item;
}

// Moves the item's values to the target and frees the item.
void MoveValues(P_FSItem* item, P_FSItem* target) {
  for (P_ConVal* value : item->GetValues()) target->AddValue(value);
  ReleaseEmptiedItem(item);
}

}  // namespace

P_FStructure* FirstValueFStructure(const P_FSItem* item) {
  const ItemValues values(item);
  return values.empty() ? nullptr : values.front()->GetFStructure();
}

P_FStructure::P_FStructure() : root(new P_FSItemComplex(0, 0)) { Registry().insert(this); }

P_FStructure::~P_FStructure() {
  Registry().erase(this);
  for (P_FSItem* item : items) delete item;
  for (P_FSItem* item : constrainingItems) delete item;
  delete root;
}

void P_FStructure::DeleteAll() {
  std::unordered_set<P_FStructure*> all;
  all.swap(Registry());
  for (P_FStructure* fs : all) delete fs;
}

size_t P_FStructure::RegisteredCount() { return Registry().size(); }

namespace {

// A simple item holds one value and takes no more: before further values
// join it, it is replaced by a complex item holding its value.
void WidenSimpleItem(P_FSItem*& slot) {
  if (!dynamic_cast<P_FSItemSimple*>(slot)) return;
  auto* widened = new P_FSItemComplex(slot->attribute, slot->GetFlags());
  for (P_ConVal* value : slot->GetValues()) widened->AddValue(value);
  delete slot;
  slot = widened;
}

// The item of an F-structure-valued attribute seen for the first time: a
// holder with one link to a new nested F-structure, whose root takes the
// item's values. The item is freed.
P_FSItem* MakeFStructureHolder(P_FSItem* item) {
  auto* holder = new P_FSItemComplex(item->attribute, item->GetFlags());
  auto* nested = new P_FStructure();
  MoveValues(item, nested->root);
  nested->ResolveIndexPaths();
  auto* link = new P_ConValFSLink(nested, 0);
  link->contextBits = EmptyFeatureSet;
  holder->AddValue(link);
  return holder;
}

}  // namespace

void P_FStructure::AddItem(P_FSItem* item) {
  if (!item) return;
  const auto existing = std::find_if(items.begin(), items.end(),
                                     [&](const P_FSItem* own) { return SameAttribute(own, item->attribute); });
  const bool fstructureValued = (item->GetFlags() & kItemFStructureValued) != 0;
  if (existing == items.end()) {
    items.push_back(fstructureValued ? MakeFStructureHolder(item) : item);
    return;
  }
  if (*existing == item) return;
  if (!fstructureValued) {
    WidenSimpleItem(*existing);
    MoveValues(item, *existing);
    return;
  }
  // The values join the root of the nested F-structure already there.
  P_FStructure* nested = nullptr;
  std::list<P_ConVal*> values = (*existing)->GetValues();
  for (const P_ConVal* value : values) {
    if ((nested = value->GetFStructure()) != nullptr) break;
  }
  (*existing)->ReleaseHandedOutValues(values);
  if (!nested) {
    // The attribute holds atomic values only. The new values join them, so
    // that the clash between an atomic value and an F-structure is seen as
    // a nogood instead of being lost.
    WidenSimpleItem(*existing);
    MoveValues(item, *existing);
    return;
  }
  MoveValues(item, nested->root);
  nested->ResolveIndexPaths();
}

void P_FStructure::MergeIntoExistingItem(P_FSItem* item) {
  if (!item) return;
  P_FSItem* existing = FindSecondaryItem(item->attribute);
  if (existing == item) return;
  if (!existing || existing->GetFlags() != item->GetFlags()) {
    constrainingItems.push_back(item);
    return;
  }
  const auto slot = std::find(constrainingItems.begin(), constrainingItems.end(), existing);
  WidenSimpleItem(*slot);
  MoveValues(item, *slot);
}

void P_FStructure::AddValuesToRoot(P_FSItem* item) {
  if (!item || item == root) return;
  MoveValues(item, root);
}

void P_FStructure::AddNogood(CFeatureSet set) {
  if (!IsConsistentFeatureSet(set)) return;
  if (std::find(nogoods.begin(), nogoods.end(), set) != nogoods.end()) return;
  nogoods.push_back(std::move(set));
}

bool P_FStructure::IsNogoodContext(CFeatureSet context) const {
  return std::any_of(nogoods.begin(), nogoods.end(),
                     [&](const CFeatureSet& nogood) { return FeatureSetAnd(nogood, context) == nogood; });
}

std::list<P_FSItem*> P_FStructure::CollectItemsWithAttribute(uint16_t attribute) {
  std::list<P_FSItem*> found;
  if (failed) return found;
  for (P_FSItem* item : items) {
    if (AttributeAfter(item, attribute)) break;
    if (SameAttribute(item, attribute)) found.push_back(item);
  }
  for (const P_ConVal* link : root->values) {
    P_FStructure* linked = link->GetBoundFStructure();
    if (linked) found.splice(found.end(), linked->CollectItemsWithAttribute(attribute));
  }
  return found;
}

bool P_FStructure::FindItemsWithAttribute(uint16_t attribute, std::list<P_FSItem*>& found,
                                          std::list<CFeatureSet>& contexts, CFeatureSet context) {
  for (P_FSItem* item : items) {
    if (AttributeAfter(item, attribute)) break;
    if (!SameAttribute(item, attribute)) continue;
    P_FStructure* held = FirstValueFStructure(item);
    found.push_back(held ? held->root : item);
    contexts.push_back(context);
  }
  for (const P_ConVal* link : root->values) {
    P_FStructure* linked = link->GetBoundFStructure();
    if (!linked || linked->failed || IsNogoodContext(link->contextBits)) continue;
    linked->FindItemsWithAttribute(attribute, found, contexts, FeatureSetOr(link->contextBits, context));
  }
  return !found.empty();
}

P_FSItem* P_FStructure::FindItem(uint16_t attribute) const {
  const auto found =
      std::find_if(items.begin(), items.end(), [&](const P_FSItem* item) { return SameAttribute(item, attribute); });
  return found == items.end() ? nullptr : *found;
}

P_FSItem* P_FStructure::FindSecondaryItem(uint16_t attribute) const {
  const auto found = std::find_if(constrainingItems.begin(), constrainingItems.end(),
                                  [&](const P_FSItem* item) { return SameAttribute(item, attribute); });
  return found == constrainingItems.end() ? nullptr : *found;
}

std::list<P_FSItem*> P_FStructure::CollectAllItems() {
  std::list<P_FSItem*> all(items.begin(), items.end());
  for (const P_ConVal* link : root->values) {
    P_FStructure* linked = link->GetBoundFStructure();
    if (linked) all.splice(all.end(), linked->CollectAllItems());
  }
  return all;
}

bool IsConsistentFeatureSet(CFeatureSet set) { return FeatureSetConsistent(set); }

std::list<ContextList> FeatureSetsToContextLists(std::list<CFeatureSet> sets) {
  std::list<ContextList> lists;
  for (const CFeatureSet& set : sets) {
    if (set == EmptyFeatureSet) {
      lists.push_back({0});
      continue;
    }
    const FeatureLiteralList literals = ListFeatureLiterals(set);
    lists.emplace_back(literals.begin(), literals.end());
  }
  return lists;
}

std::string SplitFirstWord(std::string& text) {
  const size_t blank = text.find(' ');
  if (blank == std::string::npos) return text;
  std::string first = text.substr(0, blank);
  text.erase(0, blank + 1);
  return first;
}
