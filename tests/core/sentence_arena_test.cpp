// The sentence arena: blocks that never overlap, its byte count and
// high-water mark, the release in one step, and the reset and the memory
// budget that build on it.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory_resource>
#include <new>
#include <utility>
#include <vector>

#include "core/fs_handle.h"
#include "core/fs_node.h"
#include "core/sentence_arena.h"
#include "core/sentence_memory.h"
#include "core/sentence_state.h"
#include "platform/address_sanitizer.h"
#include "platform/heap_meter.h"
#include "platform/utf8.h"
#include "support/test_support.h"

namespace {

#if defined(LFG_ADDRESS_SANITIZER)
constexpr bool kOnHeap = true;
#else
constexpr bool kOnHeap = false;
#endif

TEST(SentenceArena, BlocksOfEverySizeAreAlignedApartAndCountedUntilTheRelease) {
  CSentenceArena arena;
  // Empty, tiny, one size class apart, the largest reused size, a quarter
  // chunk and beyond, and larger than a chunk.
  const size_t sizes[] = {
      0, 1, 15, 16, 17, 1024, 1025, CSentenceArena::kChunkBytes / 4 + 1, CSentenceArena::kChunkBytes + 3, 48, 48};
  std::vector<std::pair<unsigned char*, size_t>> blocks;
  size_t asked = 0;
  for (size_t round = 0; round < 40; ++round) {  // enough to run through several chunks
    for (size_t size : sizes) {
      auto* block = static_cast<unsigned char*>(arena.Allocate(size));
      ASSERT_EQ(reinterpret_cast<uintptr_t>(block) % CSentenceArena::kAlignment, 0u) << size;
      std::memset(block, static_cast<int>(blocks.size() & 0xFF), size);
      blocks.emplace_back(block, size);
      asked += size;
    }
  }
  for (size_t k = 0; k < blocks.size(); ++k) {  // a later block overwrote none before it
    for (size_t at = 0; at < blocks[k].second; ++at) {
      ASSERT_EQ(blocks[k].first[at], k & 0xFF) << "block " << k << " byte " << at;
    }
  }
  EXPECT_GE(arena.BytesInUse(), asked);
  EXPECT_EQ(arena.LiveBlocks(), blocks.size());
  EXPECT_EQ(arena.HighWaterBytes(), arena.BytesInUse());
  const size_t peak = arena.HighWaterBytes();
  arena.Free(blocks[3].first, blocks[3].second);
  EXPECT_EQ(arena.LiveBlocks(), blocks.size() - 1);
  EXPECT_EQ(arena.HighWaterBytes(), peak);
  arena.Release();
  EXPECT_EQ(arena.BytesInUse(), 0u);
  EXPECT_EQ(arena.LiveBlocks(), 0u);
  EXPECT_EQ(arena.HighWaterBytes(), peak) << "the mark outlives the release";
  arena.ResetHighWater();
  EXPECT_EQ(arena.HighWaterBytes(), 0u);
  arena.Free(nullptr, 8);
  EXPECT_NE(arena.Allocate(8), nullptr) << "the arena works again after its release";
}

TEST(SentenceArena, AGivenBackBlockServesTheNextRequestOfItsSize) {
  CSentenceArena arena;
  void* first = arena.Allocate(40);
  const size_t held = arena.BytesInUse();
  arena.Free(first, 40);
  void* again = arena.Allocate(33);  // the same size class of 48 bytes
  if (kOnHeap) {
    EXPECT_EQ(arena.BytesInUse(), held) << "on the heap the freed block is gone and a new one counted";
  } else {
    EXPECT_EQ(again, first);
    EXPECT_EQ(arena.BytesInUse(), held) << "a reused block is not counted twice";
  }
  void* large = arena.Allocate(CSentenceArena::kLargestReusedBlock + 1);
  arena.Free(large, CSentenceArena::kLargestReusedBlock + 1);
  arena.Free(again, 33);
  arena.Release();
}

TEST(SentenceArena, ContainersOnItsResourceCountInTheArenaAndOverAlignedRequestsAreRefused) {
  const size_t before = SentenceArena().LiveBlocks();
  {
    std::pmr::vector<int> numbers(SentenceArenaResource());
    for (int i = 0; i < 5000; ++i) numbers.push_back(i);  // grows through several blocks
    EXPECT_EQ(numbers[4999], 4999);
    EXPECT_GT(SentenceArena().LiveBlocks(), before);
  }
  EXPECT_EQ(SentenceArena().LiveBlocks(), before) << "every block the vector had is given back";
  EXPECT_THROW(static_cast<void>(SentenceArenaResource()->allocate(64, 2 * CSentenceArena::kAlignment)),
               std::bad_alloc);
}

class SentenceArenaReset : public ::testing::Test {
 protected:
  void TearDown() override {
    SetSentenceRelease(SentencePart::kNodes, CFSNode::DeleteAll);
    ResetSentenceSegment();
  }
};

TEST_F(SentenceArenaReset, TheResetReleasesTheArenaUnlessAPartKeptItsObjects) {
  ResetSentenceSegment();
  CFSNode* node = new CFSNode(7, nullptr);
  node->Value = {1, 2};
  new CFSHandle(node, 1.0);
  EXPECT_GT(SentenceArena().BytesInUse(), 0u);
  SetSentenceRelease(SentencePart::kNodes, [] {});  // a release that keeps the nodes
  ResetSentenceSegment();
  EXPECT_EQ(CFSNode::RegisteredCount(), 1u);
  EXPECT_GT(SentenceArena().BytesInUse(), 0u) << "the kept node's memory is not released under it";
  CFSNode* other = new CFSNode(8, nullptr);
  EXPECT_EQ(node->Attribute, 7);
  EXPECT_NE(other, node);
  SetSentenceRelease(SentencePart::kNodes, CFSNode::DeleteAll);
  ResetSentenceSegment();
  EXPECT_EQ(CFSNode::RegisteredCount(), 0u);
  EXPECT_EQ(SentenceArena().BytesInUse(), 0u);
}

#if defined(LFG_ADDRESS_SANITIZER)
// The sanitizer build keeps every block on its heap, so a structure used
// after the reset is reported.
TEST_F(SentenceArenaReset, TheSanitizerReportsANodeReadAfterTheReset) {
  EXPECT_DEATH(
      {
        CFSNode* node = new CFSNode(7, nullptr);
        ResetSentenceSegment();
        std::fprintf(stderr, "%d\n", static_cast<int>(*reinterpret_cast<volatile int16_t*>(&node->Attribute)));
      },
      "heap-use-after-free");
}
#endif

TEST_F(SentenceArenaReset, TheBudgetCountsTheArenaWhateverTheHeapMeterSays) {
  MessageRecorder recorder;
  SetHeapMeterForTesting([] { return size_t{1} << 20; });  // the heap never seems to grow
  SentenceMemoryBudget = size_t{1} << 20;
  BeginSentenceMemory(0);
  std::vector<CFSNode*> nodes;
  while (SentenceArena().BytesInUse() < (size_t{1} << 20)) {
    EXPECT_FALSE(SentenceMemoryExceeded(0)) << SentenceArena().BytesInUse();
    nodes.push_back(new CFSNode(1, nullptr));
  }
  for (int i = 0; i < 64; ++i) nodes.push_back(new CFSNode(1, nullptr));
  EXPECT_TRUE(SentenceMemoryExceeded(0));
  EXPECT_TRUE(SentenceMemoryExceeded(0));
  ASSERT_EQ(recorder.messages().size(), 1u);
  EXPECT_EQ(ToUtf8(recorder.messages()[0].text), "The sentence needs more than 1 MB of memory and cannot be analysed.");
  SentenceMemoryBudget = kDefaultSentenceMemoryBudget;
  SetHeapMeterForTesting({});
}

}  // namespace
