#include "constraints/p_attribute_buckets.h"

P_AttributeBuckets AttributeBuckets;

namespace {

constexpr uint8_t kMergeTypes[] = {0x00, 0x08, 0x10, 0x18, 0x30, 0x38};
constexpr int kMergeTypeCount = 6;

// Offers the item to the target of each type; true when one took its values.
bool OfferToTargets(P_FSItem* item, P_FSItemComplex* targets[kMergeTypeCount]) {
  return item->AppendValuesToIfType00(targets[0]) || item->AppendValuesToIfType08(targets[1]) ||
         item->AppendValuesToIfType10(targets[2]) || item->AppendValuesToIfType18(targets[3]) ||
         item->AppendValuesToIfType30(targets[4]) || item->AppendValuesToIfType38(targets[5]);
}

}  // namespace

bool P_AttributeBuckets::Add(P_FSItem* item) {
  if (!item || item->attribute >= kBucketCount) return false;
  buckets_[item->attribute].push_back(item);
  return true;
}

void P_AttributeBuckets::Clear() {
  for (auto& bucket : buckets_) bucket.clear();
}

void P_AttributeBuckets::MergeByType() {
  for (auto& bucket : buckets_) {
    if (bucket.size() >= 2) MergeBucket(bucket);
  }
}

void P_AttributeBuckets::MergeBucket(std::vector<P_FSItem*>& bucket) {
  const uint16_t attribute = bucket.front()->attribute;
  // Only the path and F-structure bits are shared by the whole attribute; the
  // operator bits of the first item must not pass to the other types.
  const uint8_t shared = bucket.front()->GetFlags() & (kItemPath | kItemFStructureValued);
  P_FSItemComplex* targets[kMergeTypeCount];
  for (int k = 0; k < kMergeTypeCount; ++k) targets[k] = new P_FSItemComplex(attribute, kMergeTypes[k] | shared);

  std::vector<P_FSItem*> unmerged;
  for (P_FSItem* item : bucket) {
    // The types 0x20 and 0x28 have no merge: such an item keeps its values.
    if (!OfferToTargets(item, targets)) {
      unmerged.push_back(item);
      continue;
    }
    item->ClearValues();
    delete item;
  }

  bucket.clear();
  for (P_FSItemComplex* target : targets) {
    if (target->GetValueCount() > 0) {
      bucket.push_back(target);
    } else {
      delete target;
    }
  }
  bucket.insert(bucket.end(), unmerged.begin(), unmerged.end());
}
