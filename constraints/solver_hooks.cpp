#include "constraints/solver_hooks.h"

#include <utility>

#include "core/parse_clock.h"
#include "core/sentence_memory.h"

namespace {

SubcatFrameSource& FrameSource() {
  static SubcatFrameSource source;
  return source;
}

SolverClock& Clock() {
  static SolverClock clock;
  return clock;
}

}  // namespace

SubcatFrameSource SetSubcatFrameSource(SubcatFrameSource source) {
  return std::exchange(FrameSource(), std::move(source));
}

std::optional<std::vector<uint16_t>> LookUpSubcatFrame(int frame_number) {
  if (!FrameSource()) return std::nullopt;
  return FrameSource()(frame_number);
}

SolverClock SetSolverClock(SolverClock clock) { return std::exchange(Clock(), std::move(clock)); }

bool SolverTimeExceeded() {
  const int64_t now = Clock() ? Clock()() : ParseClock();
  return now - ParseStartTime > ParseTimeLimit || SentenceMemoryExceeded(now);
}
