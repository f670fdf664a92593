#include "platform/heap_meter.h"

#include <utility>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "platform/address_sanitizer.h"

// Under AddressSanitizer its own allocator serves every allocation and the C
// library's heap statistics see none of them; the sanitizer keeps its own
// count, which the budget then reads.
#if defined(LFG_ADDRESS_SANITIZER)
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

HeapMeter& Meter() {
  static HeapMeter meter;
  return meter;
}

size_t LibraryHeapBytes() {
#if defined(LFG_ADDRESS_SANITIZER)
  return __sanitizer_get_current_allocated_bytes();
#elif defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 33))
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;  // small blocks in use and mapped large blocks
#else
  return 0;
#endif
}

}  // namespace

size_t HeapBytesInUse() { return Meter() ? Meter()() : LibraryHeapBytes(); }

HeapMeter SetHeapMeterForTesting(HeapMeter meter) { return std::exchange(Meter(), std::move(meter)); }
