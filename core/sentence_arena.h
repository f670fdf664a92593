// The memory of one sentence's structures. F-structure nodes and handles are
// made by the hundred thousand per sentence and all die at the sentence's
// reset; taking each from the general heap and giving it back one by one
// cost more than building them. The arena hands out memory from large chunks
// by moving a pointer, keeps blocks given back during the sentence in lists
// by size for the next request of that size, and the reset releases
// everything at once (ResetSentenceSegment calls Release last, once every
// block was given back: the per-sentence registries give back each object
// they free, so a block still live means an object some part kept).
//
// The arena also counts its own bytes: the sentence memory budget reads that
// count, which costs nothing and is the same in every build, and the
// benchmark reads its high-water mark.
//
// In the AddressSanitizer build every block comes from the heap instead and
// goes back to it when it is given back or released, so that the sanitizer
// still reports any use of a structure after the reset.
#pragma once

#include <cstddef>
#include <memory>
#include <memory_resource>
#include <vector>

class CSentenceArena {
 public:
  // Every block is aligned for any fundamental type.
  static constexpr size_t kAlignment = alignof(std::max_align_t);
  static constexpr size_t kChunkBytes = size_t{1} << 20;
  // Blocks up to this size are kept for reuse when given back; larger ones
  // stay unused until the release.
  static constexpr size_t kLargestReusedBlock = 1024;
  // Chunks kept after a release for the next sentence (most sentences need
  // no more); the chunks of a sentence that needed more go back to the
  // system.
  static constexpr size_t kChunksKept = 4;

  CSentenceArena();
  ~CSentenceArena();
  CSentenceArena(const CSentenceArena&) = delete;
  CSentenceArena& operator=(const CSentenceArena&) = delete;

  // A block of at least bytes (at least one byte); throws std::bad_alloc
  // when the system has no memory left.
  void* Allocate(size_t bytes);
  // Gives back a block that Allocate handed out with the same size; a null
  // block is ignored.
  void Free(void* block, size_t bytes) noexcept;
  // Frees every block at once; every pointer into the arena dangles after.
  void Release() noexcept;

  // Bytes held for the current sentence: what was handed out since the last
  // release, blocks given back for reuse included (from the heap: the bytes
  // of the blocks not given back).
  size_t BytesInUse() const { return bytesInUse_; }
  // Blocks handed out and not given back since the last release.
  size_t LiveBlocks() const { return liveBlocks_; }
  // The largest BytesInUse since the arena was made or ResetHighWater.
  size_t HighWaterBytes() const { return highWater_; }
  void ResetHighWater() { highWater_ = bytesInUse_; }

 private:
  struct Chunk;
  struct FreeBlock;
  struct HeapBlock;

  void* TakeFromChunks(size_t bytes);
  void StartNextChunk();
  void* TakeFromHeap(size_t bytes);
  void FreeToHeap(void* block) noexcept;
  void Count(size_t bytes);

  std::vector<std::unique_ptr<Chunk>> chunks_;  // ordinary chunks, in use order
  std::vector<std::unique_ptr<Chunk>> large_;   // one chunk per block above a quarter chunk
  size_t currentChunk_ = 0;                     // index into chunks_ of the chunk being cut
  std::byte* cursor_ = nullptr;
  std::byte* limit_ = nullptr;
  std::vector<FreeBlock*> freeLists_;  // [size class] = first given-back block
  HeapBlock* heapBlocks_ = nullptr;    // the AddressSanitizer build's live blocks
  size_t bytesInUse_ = 0;
  size_t liveBlocks_ = 0;
  size_t highWater_ = 0;
};

// The program's one arena of sentence structures.
CSentenceArena& SentenceArena();

// The arena as a memory resource, for the containers inside per-sentence
// objects (std::pmr containers made with it). It serves alignments up to
// CSentenceArena::kAlignment and throws std::bad_alloc for larger ones.
std::pmr::memory_resource* SentenceArenaResource();

// A base for the classes whose objects live in the sentence arena: new and
// delete of such an object take its memory from the arena and give it back.
// Only classes whose objects the sentence reset frees derive from it.
struct SentenceArenaObject {
  static void* operator new(size_t bytes) { return SentenceArena().Allocate(bytes); }
  static void operator delete(void* block, size_t bytes) noexcept { SentenceArena().Free(block, bytes); }
};
