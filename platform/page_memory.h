// Large blocks of memory straight from the operating system, for allocators
// that cut them up themselves. Such blocks bypass the C library's heap, so
// taking and returning them never makes the heap sort its free lists, and a
// returned block leaves the process at once.
#pragma once

#include <cstddef>

// bytes of zeroed memory aligned to a page; throws std::bad_alloc when the
// system has none.
void* MapPages(size_t bytes);
// Returns a block of MapPages with the same size; null is ignored.
void UnmapPages(void* block, size_t bytes) noexcept;
