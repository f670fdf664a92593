// The collection area of one description compilation: the items of the
// description filed by attribute id, so that the items of one attribute can
// be merged into one item per type before they are registered. The buckets
// list items; they never own or delete them.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "constraints/p_fs_item.h"

class P_AttributeBuckets {
 public:
  // Attribute ids 0 to 550.
  static constexpr int kBucketCount = 551;

  // Files the item under its attribute. False, filing nothing, for an
  // attribute above 550 (no symbol_table id).
  bool Add(P_FSItem* item);
  // Empties every bucket without deleting any item.
  void Clear();
  // In every bucket of two or more items: the values of the items of each of
  // the six types 0x00, 0x08, 0x10, 0x18, 0x30 and 0x38 are moved into one new
  // complex item of that type, which also takes the path and F-structure bits
  // (0xC0) of the bucket's first item. The merged items replace the bucket's
  // items in the order of the types; items of the types that have no merge
  // (0x20, 0x28) follow unmerged, in their order. Items that gave their values
  // away are deleted.
  void MergeByType();

  const std::vector<P_FSItem*>& Bucket(int attribute) const { return buckets_[attribute]; }

 private:
  void MergeBucket(std::vector<P_FSItem*>& bucket);

  std::array<std::vector<P_FSItem*>, kBucketCount> buckets_;
};

// The one collection area of the description compiler.
extern P_AttributeBuckets AttributeBuckets;
