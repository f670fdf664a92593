// The command line's page-server options: --serve [--port N].
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/cli/command_line.h"

namespace {

struct ServeCase {
  std::vector<const char*> arguments;
  CommandLineOutcome outcome;
  bool serve;
  int port;
};

TEST(ServeOptions, ServeTakesAPortAndNoSentence) {
  const std::vector<ServeCase> cases = {
      {{"--serve"}, CommandLineOutcome::kRun, true, 8765},
      {{"--serve", "--port", "0"}, CommandLineOutcome::kRun, true, 0},
      {{"--serve", "--port", "65535", "--domain", "News"}, CommandLineOutcome::kRun, true, 65535},
      {{"I", "gave"}, CommandLineOutcome::kRun, false, 8765},
      {{"--port", "9000"}, CommandLineOutcome::kUsageError, false, 0},
      {{"--serve", "--port", "65536"}, CommandLineOutcome::kUsageError, false, 0},
      {{"--serve", "--port", "-1"}, CommandLineOutcome::kUsageError, false, 0},
      {{"--serve", "--port", "http"}, CommandLineOutcome::kUsageError, false, 0},
      {{"--serve", "I", "gave", "him", "a", "book"}, CommandLineOutcome::kUsageError, false, 0},
  };
  for (const ServeCase& c : cases) {
    std::vector<const char*> arguments = c.arguments;
    arguments.insert(arguments.begin(), "translator");
    CCommandLine commandLine;
    std::string text;
    const CommandLineOutcome outcome =
        ParseCommandLine(static_cast<int>(arguments.size()), arguments.data(), commandLine, text);
    std::string name;
    for (const char* argument : c.arguments) name += std::string(argument) + " ";
    EXPECT_EQ(outcome, c.outcome) << name << text;
    if (outcome != CommandLineOutcome::kRun) continue;
    EXPECT_EQ(commandLine.serve, c.serve) << name;
    EXPECT_EQ(commandLine.port, c.port) << name;
  }
}

}  // namespace
