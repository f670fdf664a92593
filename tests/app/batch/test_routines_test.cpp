// The developer's print routines: what each prints, the scratch file that
// one writes and another reads back, and the failures.
#include <gtest/gtest.h>

#include <sstream>

#include "app/batch/test_routines.h"
#include "batch_test_support.h"

namespace app_test {
namespace {

TEST(TestRoutines, EachPrintsItsText) {
  TempDir folder;
  CurrentFolder inside(folder.path());
  MessageRecorder messages;
  struct Case {
    const char* name;
    bool runs;
    std::string printed;  // what the output starts with
  };
  const std::vector<Case> cases = {
      {"read-file", false, ""},  // no abc.txt yet
      {"grammar", false, ""},    // no configuration names the grammar
      {"no-such-routine", false, ""},
      {"characters", true, "L\nF\nG\n"},
      {"trim", true, "[ 54 ]\n[54]\n"},
      {"orderings", true, "1 2 3 4 \n1 2 4 3 \n1 3 2 4 \n"},
      {"write-file", true, "Written: abc.txt\n"},
      // After its mark, unit by unit: "Hello All", CR LF, " Urdu: " and the word.
      {"read-file", true, "H [72]\ne [101]\n"},
  };
  for (const Case& c : cases) {
    std::ostringstream output;
    EXPECT_EQ(RunTestRoutine(c.name, output), c.runs) << c.name;
    EXPECT_EQ(output.str().rfind(c.printed, 0), 0u) << c.name << ":\n" << output.str();
    if (std::string(c.name) == "read-file" && c.runs) {
      EXPECT_NE(output.str().find("\r [13]\n\n [10]\n  [32]\nU [85]"), std::string::npos);
      EXPECT_NE(output.str().find(": [58]\n  [32]\nع [1593]\n"), std::string::npos);
    }
    if (std::string(c.name) == "orderings") {
      EXPECT_EQ(Lines(output.str()).size(), 24u);
    }
  }
}

}  // namespace
}  // namespace app_test
