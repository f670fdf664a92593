// The bytes the program holds on its heap, for the memory budget of one
// sentence. Tests can install their own meter.
#pragma once

#include <cstddef>
#include <functional>

// Bytes allocated and not yet freed (the C library's own count); 0 where the
// library keeps none (the budget then never binds).
size_t HeapBytesInUse();

// Replaces the meter by a function; an empty function restores the real one.
// Returns the meter it replaces.
using HeapMeter = std::function<size_t()>;
HeapMeter SetHeapMeterForTesting(HeapMeter meter);
