// The developer's print routines: what each prints, and the scratch file
// that one writes and another reads back.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "app/batch/test_routines.h"
#include "batch_test_support.h"
#include "core/config_store.h"

namespace app_test {
namespace {

struct RoutineOutput {
  std::string output;
  bool ran = false;
};

RoutineOutput RunRoutine(const std::string& name) {
  std::ostringstream output;
  const bool ran = RunTestRoutine(name, output);
  return {output.str(), ran};
}

TEST(TestRoutines, EachPrintsItsText) {
  TempDir folder;
  CurrentFolder inside(folder.path());
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"characters", "L\nF\nG\n"},
      {"trim", "[ 54 ]\n[54]\n"},
      {"write-file", "Written: abc.txt\n"},
      {"read-file", "H [72]\ne [101]\n"},
  };
  for (const auto& [name, start] : cases) {
    const RoutineOutput run = RunRoutine(name);
    EXPECT_TRUE(run.ran) << name;
    EXPECT_EQ(run.output.rfind(start, 0), 0u) << name << ":\n" << run.output;
  }
  // The scratch file read back unit by unit: the line end and the Urdu word.
  const std::string read = RunRoutine("read-file").output;
  for (const char* line : {"\r [13]\n", "\n [10]\n", "ع [1593]\n", "ن [1606]\n"}) {
    EXPECT_NE(read.find(line), std::string::npos) << line;
  }
  EXPECT_EQ(std::count(read.begin(), read.end(), '['), 23) << "one line per unit after the mark:\n" << read;
}

TEST(TestRoutines, OrderingsComeInTheOrderOfTheirPositions) {
  const std::vector<std::string> lines = Lines(RunRoutine("orderings").output);
  ASSERT_EQ(lines.size(), 24u);
  EXPECT_EQ(lines[0], "1 2 3 4 ");
  EXPECT_EQ(lines[1], "1 2 4 3 ");
  EXPECT_EQ(lines[6], "2 1 3 4 ");
  EXPECT_EQ(lines[23], "4 3 2 1 ");
}

TEST(TestRoutines, MissingFilesAndUnknownNamesFail) {
  TempDir folder;
  CurrentFolder inside(folder.path());
  MessageRecorder messages;
  EXPECT_FALSE(RunRoutine("read-file").ran) << "no abc.txt yet";
  EXPECT_FALSE(RunRoutine("grammar").ran) << "no configuration names the grammar";
  EXPECT_FALSE(RunRoutine("no-such-routine").ran);
  ClearConfiguration();
}

TEST(TestRoutines, TheGrammarIsPrintedAfterYes) {
  DataRootCopy root;
  root.WriteDataFile("data/english/EGrammar.lfg", u"S -> NP VP .");
  root.SetKey("lfgFileName", "data\\english\\EGrammar.lfg");
  CurrentFolder inside(root.path());
  ASSERT_TRUE(LoadConfiguration("EConfig.inf", false));
  const RoutineOutput run = RunRoutine("grammar");
  EXPECT_TRUE(run.ran);
  EXPECT_EQ(run.output, "yes:: S -> NP VP .\n");
  ClearConfiguration();
}

}  // namespace
}  // namespace app_test
