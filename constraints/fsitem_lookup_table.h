// The item registry: every compiled item is interned once in
// fsitem_lookup_table and referred to everywhere else by its 1-based id
// (entry i has id i + 1). Items registered at start-up are permanent and go
// into the "P_FSInitializerDump" dump; items registered while a sentence is
// parsed are removed by P_FSCompiler::ResetForSentence. The operations are
// in p_fs_compiler.h (P_FSCompiler::RegisterItem and the others).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "constraints/p_fs_item.h"

struct FSItemLookupTable {
  // Entries in use are 0 to count - 1; the table owns their items.
  static constexpr int kCapacity = 25000;
  // Words of the dump allowed per item on average.
  static constexpr uint16_t kDumpWordsPerItem = 100;

  std::vector<std::unique_ptr<P_FSItem>> entries = std::vector<std::unique_ptr<P_FSItem>>(kCapacity);
  int16_t count = 0;
  // Entries below the mark are permanent.
  int16_t initialMark = 0;
  // Per attribute id 0 to 550, the entries whose item has that attribute, in
  // order of registration; equal items are looked for here only.
  std::vector<std::vector<uint16_t>> buckets = std::vector<std::vector<uint16_t>>(551);
};

extern FSItemLookupTable fsitem_lookup_table;
