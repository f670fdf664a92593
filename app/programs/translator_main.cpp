// The command-line translator: translator --help tells how to use it.
#include <iostream>

#include "app/cli/command_line.h"
#include "app/cli/translator_cli.h"

int main(int argc, char** argv) {
  CCommandLine commandLine;
  std::string text;
  switch (ParseCommandLine(argc, argv, commandLine, text)) {
    case CommandLineOutcome::kHelp:
      std::cout << text;
      return kExitTranslated;
    case CommandLineOutcome::kUsageError:
      std::cerr << text;
      return kExitUsageError;
    case CommandLineOutcome::kRun:
      break;
  }
  return RunTranslator(commandLine, std::cin, std::cout, std::cerr);
}
