// The wait cursor of a list run: the start line, then the figure of
// sentences done, in place on a terminal and as lines elsewhere.
#include <gtest/gtest.h>

#include <sstream>
#include <utility>
#include <vector>

#include "app/batch/run_progress.h"

namespace {

using Report = std::pair<size_t, size_t>;

struct ProgressCase {
  const char* name;
  bool inPlace;
  std::vector<Report> reports;
  const char* expected;
};

TEST(RunProgress, StartLineThenFigures) {
  const std::vector<ProgressCase> cases = {
      {"plain lines",
       false,
       {{0, 3}, {1, 3}, {2, 3}, {3, 3}},
       "Run: 3 sentences\n1 of 3 done\n2 of 3 done\n3 of 3 done\n"},
      {"in place",
       true,
       {{0, 3}, {1, 3}, {2, 3}, {3, 3}},
       "Run: 3 sentences\n\r1 of 3 done\r2 of 3 done\r3 of 3 done\n"},
      {"one sentence", false, {{0, 1}, {1, 1}}, "Run: 1 sentence\n1 of 1 done\n"},
      {"empty file", true, {{0, 0}}, "Run: 0 sentences\n"},
      // A run stopped part way still leaves its figure on a line of its own.
      {"stopped in place", true, {{0, 4}, {1, 4}}, "Run: 4 sentences\n\r1 of 4 done\n"},
  };
  for (const ProgressCase& c : cases) {
    std::ostringstream errors;
    {
      CRunProgressPrinter printer(errors, "Run:", c.inPlace);
      for (const auto& [done, all] : c.reports) printer.Report(done, all);
    }
    EXPECT_EQ(errors.str(), c.expected) << c.name;
  }
}

}  // namespace
