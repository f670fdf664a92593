#include "core/sentence_arena.h"

#include <algorithm>
#include <new>

#include "platform/address_sanitizer.h"
#include "platform/page_memory.h"

namespace {

#if defined(LFG_ADDRESS_SANITIZER)
constexpr bool kBlocksFromHeap = true;
#else
constexpr bool kBlocksFromHeap = false;
#endif

size_t RoundUp(size_t bytes) {
  const size_t atLeastOne = std::max<size_t>(bytes, 1);
  return (atLeastOne + CSentenceArena::kAlignment - 1) / CSentenceArena::kAlignment * CSentenceArena::kAlignment;
}

// Blocks of one size class have the same rounded size.
size_t SizeClass(size_t roundedBytes) { return roundedBytes / CSentenceArena::kAlignment; }

constexpr size_t kSizeClasses = CSentenceArena::kLargestReusedBlock / CSentenceArena::kAlignment + 1;

}  // namespace

// Chunks come straight from the system (see platform/page_memory.h): a
// sentence that needed many gives them back to it at the release, and
// taking them never stirs the C library's heap.
struct CSentenceArena::Chunk {
  explicit Chunk(size_t size) : bytes(static_cast<std::byte*>(MapPages(size))), end(bytes + size) {}
  ~Chunk() { UnmapPages(bytes, static_cast<size_t>(end - bytes)); }
  Chunk(const Chunk&) = delete;
  Chunk& operator=(const Chunk&) = delete;
  std::byte* bytes;  // aligned to a page
  std::byte* end;
};

// A given-back block, in the list of its size class.
struct CSentenceArena::FreeBlock {
  FreeBlock* next;
};

// The header of a block taken from the heap: the live blocks form a list, so
// that the release can free the ones never given back.
struct alignas(CSentenceArena::kAlignment) CSentenceArena::HeapBlock {
  HeapBlock* previous;
  HeapBlock* next;
  size_t bytes;
};

CSentenceArena::CSentenceArena() : freeLists_(kSizeClasses, nullptr) {}

CSentenceArena::~CSentenceArena() { Release(); }

void* CSentenceArena::Allocate(size_t bytes) {
  const size_t rounded = RoundUp(bytes);
  void* block = kBlocksFromHeap ? TakeFromHeap(rounded) : TakeFromChunks(rounded);
  ++liveBlocks_;
  return block;
}

void CSentenceArena::Free(void* block, size_t bytes) noexcept {
  if (block == nullptr) return;
  --liveBlocks_;
  if (kBlocksFromHeap) {
    FreeToHeap(block);
    return;
  }
  const size_t rounded = RoundUp(bytes);
  if (rounded > kLargestReusedBlock) return;
  FreeBlock* freed = static_cast<FreeBlock*>(block);
  FreeBlock*& list = freeLists_[SizeClass(rounded)];
  freed->next = list;
  list = freed;
}

void CSentenceArena::Release() noexcept {
  while (heapBlocks_ != nullptr) FreeToHeap(heapBlocks_ + 1);
  liveBlocks_ = 0;
  std::fill(freeLists_.begin(), freeLists_.end(), nullptr);
  large_.clear();
  if (chunks_.size() > kChunksKept) chunks_.resize(kChunksKept);
  currentChunk_ = 0;
  cursor_ = chunks_.empty() ? nullptr : chunks_.front()->bytes;
  limit_ = chunks_.empty() ? nullptr : chunks_.front()->end;
  bytesInUse_ = 0;
}

void* CSentenceArena::TakeFromChunks(size_t bytes) {
  if (bytes <= kLargestReusedBlock) {
    FreeBlock*& list = freeLists_[SizeClass(bytes)];
    if (list != nullptr) {
      FreeBlock* reused = list;
      list = reused->next;
      return reused;
    }
  }
  if (bytes > kChunkBytes / 4) {
    large_.push_back(std::make_unique<Chunk>(bytes));
    Count(bytes);
    return large_.back()->bytes;
  }
  if (static_cast<size_t>(limit_ - cursor_) < bytes) StartNextChunk();
  std::byte* block = cursor_;
  cursor_ += bytes;
  Count(bytes);
  return block;
}

// The rest of the current chunk is left unused: blocks are at most a quarter
// chunk, so at most a quarter of any chunk is lost this way.
void CSentenceArena::StartNextChunk() {
  if (cursor_ != nullptr) ++currentChunk_;
  if (currentChunk_ >= chunks_.size()) chunks_.push_back(std::make_unique<Chunk>(kChunkBytes));
  cursor_ = chunks_[currentChunk_]->bytes;
  limit_ = chunks_[currentChunk_]->end;
}

void* CSentenceArena::TakeFromHeap(size_t bytes) {
  auto* header = static_cast<HeapBlock*>(::operator new(sizeof(HeapBlock) + bytes));
  header->previous = nullptr;
  header->next = heapBlocks_;
  header->bytes = bytes;
  if (heapBlocks_ != nullptr) heapBlocks_->previous = header;
  heapBlocks_ = header;
  Count(bytes);
  return header + 1;
}

void CSentenceArena::FreeToHeap(void* block) noexcept {
  HeapBlock* header = static_cast<HeapBlock*>(block) - 1;
  if (header->previous != nullptr) header->previous->next = header->next;
  if (header->next != nullptr) header->next->previous = header->previous;
  if (heapBlocks_ == header) heapBlocks_ = header->next;
  bytesInUse_ -= header->bytes;
  ::operator delete(header);
}

void CSentenceArena::Count(size_t bytes) {
  bytesInUse_ += bytes;
  highWater_ = std::max(highWater_, bytesInUse_);
}

// Never destroyed: nodes may still be deleted while the program shuts down.
CSentenceArena& SentenceArena() {
  static auto* arena = new CSentenceArena();
  return *arena;
}

namespace {

class SentenceArenaMemoryResource final : public std::pmr::memory_resource {
 private:
  void* do_allocate(size_t bytes, size_t alignment) override {
    if (alignment > CSentenceArena::kAlignment) throw std::bad_alloc();
    return SentenceArena().Allocate(bytes);
  }
  void do_deallocate(void* block, size_t bytes, size_t) override { SentenceArena().Free(block, bytes); }
  bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override { return this == &other; }
};

}  // namespace

std::pmr::memory_resource* SentenceArenaResource() {
  static auto* resource = new SentenceArenaMemoryResource();
  return resource;
}
