#include "platform/page_memory.h"

#include <new>

#if defined(__unix__) || defined(__APPLE__)
#include <sys/mman.h>

void* MapPages(size_t bytes) {
  void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (block == MAP_FAILED) throw std::bad_alloc();
  return block;
}

void UnmapPages(void* block, size_t bytes) noexcept {
  if (block != nullptr) munmap(block, bytes);
}

#else
#include <cstring>

// Elsewhere the heap serves, aligned to a page.
constexpr std::align_val_t kPageAlignment{4096};

void* MapPages(size_t bytes) {
  void* block = ::operator new(bytes, kPageAlignment);
  std::memset(block, 0, bytes);
  return block;
}

void UnmapPages(void* block, size_t) noexcept { ::operator delete(block, kPageAlignment); }
#endif
