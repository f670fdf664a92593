// The developer drivers' options, and the small helpers the older drivers
// name: the trim of narrow strings and the permutation generator.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/cli/command_line.h"
#include "core/string_helpers.h"
#include "resources/lfg/grammar.h"

namespace {

CommandLineOutcome Parse(std::vector<const char*> arguments, CCommandLine& commandLine) {
  arguments.insert(arguments.begin(), "translator");
  std::string text;
  return ParseCommandLine(static_cast<int>(arguments.size()), arguments.data(), commandLine, text);
}

TEST(DeveloperOptions, ModesAndTheirFiles) {
  CCommandLine batch;
  ASSERT_EQ(Parse({"--batch", "list.txt", "--output", "out.txt"}, batch), CommandLineOutcome::kRun);
  EXPECT_TRUE(batch.developer.batch && batch.developer.Any());
  EXPECT_EQ(batch.developer.sentenceFile, (std::filesystem::current_path() / "list.txt").string());
  EXPECT_EQ(batch.developer.outputFile, (std::filesystem::current_path() / "out.txt").string());

  CCommandLine defaults;
  ASSERT_EQ(Parse({"--benchmark", "--lfg"}, defaults), CommandLineOutcome::kRun);
  EXPECT_TRUE(defaults.developer.benchmark && defaults.developer.lfg);
  EXPECT_EQ(defaults.developer.sentenceFile, "");  // the data root's key then names it

  CCommandLine plain;
  ASSERT_EQ(Parse({"I", "gave", "him", "a", "book"}, plain), CommandLineOutcome::kRun);
  EXPECT_FALSE(plain.developer.Any());
}

TEST(DeveloperOptions, CombinationsThatMakeNoSenseAreUsageErrors) {
  const std::vector<std::vector<const char*>> cases = {
      {"--batch", "--benchmark"},
      {"--batch", "--lfg"},
      {"--benchmark", "list.txt", "I", "gave"},
      {"--output", "out.txt"},
      {"--lfg", "--done-file", "done"},
      {"--done-file", "done", "I", "gave"},
      {"--dump-tokens", "I", "gave"},
      {"--lfg", "--unmatched-words", "I", "gave"},
      {"--unmatched-words"},
  };
  for (const std::vector<const char*>& arguments : cases) {
    CCommandLine commandLine;
    EXPECT_EQ(Parse(arguments, commandLine), CommandLineOutcome::kUsageError) << arguments[0] << " " << arguments[1];
  }
}

TEST(DeveloperHelpers, TrimNarrowString) {
  EXPECT_EQ(TrimNarrowString(" 54 "), "54");
  EXPECT_EQ(TrimNarrowString(" \t\r\n "), "");
  EXPECT_EQ(TrimNarrowString(""), "");
}

// Every ordering of the remaining elements after the prefix, in the
// lexicographic order of their positions.
TEST(DeveloperHelpers, PermutationGenerator) {
  std::vector<std::vector<uint16_t>> none;
  CGrammar::GeneratePermutations({}, {}, none);
  EXPECT_EQ(none, (std::vector<std::vector<uint16_t>>{{}}));

  std::vector<std::vector<uint16_t>> three;
  CGrammar::GeneratePermutations({}, {1, 2, 3}, three);
  EXPECT_EQ(three,
            (std::vector<std::vector<uint16_t>>{{1, 2, 3}, {1, 3, 2}, {2, 1, 3}, {2, 3, 1}, {3, 1, 2}, {3, 2, 1}}));

  std::vector<std::vector<uint16_t>> four;
  CGrammar::GeneratePermutations({9}, {1, 2, 3, 4}, four);
  EXPECT_EQ(four.size(), 24u);
  EXPECT_EQ(four.front(), (std::vector<uint16_t>{9, 1, 2, 3, 4}));
  EXPECT_EQ(four.back(), (std::vector<uint16_t>{9, 4, 3, 2, 1}));
}

}  // namespace
