#include "platform/clock.h"

#include <chrono>
#include <utility>

namespace {

int64_t SteadyNanoseconds() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

ClockSource& CurrentSource() {
  static ClockSource source = SteadyNanoseconds;
  return source;
}

}  // namespace

int64_t PerformanceCounter() { return CurrentSource()(); }

int64_t MonotonicMilliseconds() { return PerformanceCounter() / 1'000'000; }

uint32_t TickCountMilliseconds() { return static_cast<uint32_t>(MonotonicMilliseconds()); }

ClockSource SetClockSourceForTesting(ClockSource source) {
  ClockSource previous = std::move(CurrentSource());
  CurrentSource() = source ? std::move(source) : ClockSource(SteadyNanoseconds);
  return previous;
}
