#include <gtest/gtest.h>

#include "constraints/solver_hooks.h"
#include "core/parse_clock.h"

TEST(SolverHooksTest, TimeLimitIsStrictlyExceeded) {
  int64_t now = 1000;
  const SolverClock previous = SetSolverClock([&] { return now; });
  const int32_t limit = ParseTimeLimit;
  const int64_t start = ParseStartTime;
  ParseTimeLimit = 50;
  ParseStartTime = 950;
  struct Case {
    int64_t now;
    bool exceeded;
  } cases[] = {{950, false}, {1000, false}, {1001, true}};
  for (const Case& c : cases) {
    now = c.now;
    EXPECT_EQ(SolverTimeExceeded(), c.exceeded) << c.now;
  }
  ParseTimeLimit = limit;
  ParseStartTime = start;
  SetSolverClock(previous);
}

TEST(SolverHooksTest, FramesComeFromTheInstalledSource) {
  const SubcatFrameSource previous = SetSubcatFrameSource(nullptr);
  EXPECT_FALSE(LookUpSubcatFrame(0).has_value());
  SetSubcatFrameSource([](int n) -> std::optional<std::vector<uint16_t>> {
    if (n == 2) return std::vector<uint16_t>{75, 76};
    return std::nullopt;
  });
  EXPECT_EQ(LookUpSubcatFrame(2), (std::vector<uint16_t>{75, 76}));
  EXPECT_FALSE(LookUpSubcatFrame(3).has_value());
  SetSubcatFrameSource(previous);
}
