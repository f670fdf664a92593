// The main of every test binary: GoogleTest's, with the process-wide policy
// of the engine (message limit, parse clock and time limit, memory budget)
// and the test clock and heap meter put back to a fresh process's before
// each test suite. An engine set up by
// one suite thus leaves nothing to the next, and a binary run whole as one
// process sees what CTest's one process per test sees.
#include <gtest/gtest.h>

#include "core/process_policy.h"
#include "platform/clock.h"
#include "platform/heap_meter.h"

namespace {

// The engine's policy and the clock and heap meter a test may have put in.
void RestoreFreshProcess() {
  RestoreDefaultProcessPolicy();
  SetClockSourceForTesting({});
  SetHeapMeterForTesting({});
}

class ProcessPolicyReset : public ::testing::EmptyTestEventListener {
 public:
  void OnTestSuiteStart(const ::testing::TestSuite&) override { RestoreFreshProcess(); }
};

class ProcessPolicyEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { RestoreFreshProcess(); }
  void TearDown() override { RestoreFreshProcess(); }
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new ProcessPolicyEnvironment);
  ::testing::UnitTest::GetInstance()->listeners().Append(new ProcessPolicyReset);
  return RUN_ALL_TESTS();
}
