// Clocks. Every timing of the system reads one monotonic clock
// (std::chrono::steady_clock), so limits and phase timings never jump with the
// wall clock. Tests can install their own clock.
#pragma once

#include <cstdint>
#include <functional>

// Nanoseconds of the monotonic clock; stands where a high-resolution counter
// is read. Its frequency is PerformanceFrequency() ticks per second.
int64_t PerformanceCounter();
constexpr int64_t PerformanceFrequency() { return 1'000'000'000; }

// Milliseconds of the monotonic clock, for parse time limits and timings.
int64_t MonotonicMilliseconds();

// Milliseconds of the monotonic clock, wrapped to 32 bits as a tick count.
uint32_t TickCountMilliseconds();

// Replaces the monotonic clock by a function that returns nanoseconds; an
// empty function restores the real clock. Returns the clock it replaces.
using ClockSource = std::function<int64_t()>;
ClockSource SetClockSourceForTesting(ClockSource source);
