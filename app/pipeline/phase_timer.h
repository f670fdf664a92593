// Phase timings of the translate road: milliseconds (and microseconds, for
// the benchmark's shares of fast sentences) of the monotonic clock, counted
// from each phase's own start.
#pragma once

#include <cstdint>

#include "platform/clock.h"

class CPhaseTimer {
 public:
  CPhaseTimer() : start_(PerformanceCounter()) {}
  void Restart() { start_ = PerformanceCounter(); }
  // Milliseconds since the start: ticks x 1000 / frequency, in 64 bits.
  int64_t ElapsedMilliseconds() const { return (PerformanceCounter() - start_) * 1000 / PerformanceFrequency(); }
  int64_t ElapsedMicroseconds() const { return (PerformanceCounter() - start_) * 1'000'000 / PerformanceFrequency(); }

 private:
  int64_t start_;
};
