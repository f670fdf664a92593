// The command-line translator: translator --help tells how to use it.
#include <iostream>
#include <ostream>

#include <unistd.h>

#include "app/cli/command_line.h"
#include "app/cli/translator_cli.h"
#include "app/engine/program_translator.h"

int main(int argc, char** argv) {
  CCommandLine commandLine;
  std::string text;
  switch (ParseCommandLine(argc, argv, commandLine, text)) {
    case CommandLineOutcome::kHelp: std::cout << text; return kExitTranslated;
    case CommandLineOutcome::kUsageError: std::cerr << text; return kExitUsageError;
    case CommandLineOutcome::kRun: break;
  }
  commandLine.developer.progressInPlace = isatty(STDERR_FILENO) != 0;
  // Standard output carries the translations only, one line per input line:
  // what the engines write to the console while loading their tables goes to
  // standard error instead.
  // The process ends with the run: its translator is not freed piece by piece.
  LeaveProgramTranslatorsToTheSystem();
  ReuseFreedMemoryInProgramRun();
  std::ostream translations(std::cout.rdbuf());
  std::cout.rdbuf(std::cerr.rdbuf());
  const ExitCode code = RunTranslator(commandLine, std::cin, translations, std::cerr);
  translations.flush();
  std::cout.rdbuf(translations.rdbuf());
  return code;
}
