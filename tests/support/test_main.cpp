// The main of every test binary: GoogleTest's, with the process-wide policy
// of the engine (message limit, parse clock and time limit, memory budget)
// put back to a fresh process's before each test suite. An engine set up by
// one suite thus leaves nothing to the next, and a binary run whole as one
// process sees what CTest's one process per test sees.
#include <gtest/gtest.h>

#include "core/process_policy.h"

namespace {

class ProcessPolicyReset : public ::testing::EmptyTestEventListener {
 public:
  void OnTestSuiteStart(const ::testing::TestSuite&) override { RestoreDefaultProcessPolicy(); }
};

class ProcessPolicyEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { RestoreDefaultProcessPolicy(); }
  void TearDown() override { RestoreDefaultProcessPolicy(); }
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new ProcessPolicyEnvironment);
  ::testing::UnitTest::GetInstance()->listeners().Append(new ProcessPolicyReset);
  return RUN_ALL_TESTS();
}
