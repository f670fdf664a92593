// The command-line front end: enters and locks the data root, sets the
// engine up, translates the sentence of the arguments or every line of the
// input, and prints from the result records.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>

#include "app/cli/command_line.h"
#include "app/engine/exit_codes.h"

class CTranslatorDlg;
struct CTranslationResult;

// The whole run; the exit code of the program.
ExitCode RunTranslator(const CCommandLine& commandLine, std::istream& input, std::ostream& output,
                       std::ostream& errors);

// What one result prints: the line of standard output (without its line
// end) and what goes to standard error; the outcome of the sentence. With a
// line number (from 1), each message starts with "line N: ". The outcome is
// untranslated unless every segment was translated whole.
ExitCode PrintResult(const CTranslationResult& result, const CCommandLine& commandLine, std::ostream& output,
                     std::ostream& errors, int lineNumber = 0);

// Every line of the input (a CR before the line end is dropped) that is not
// empty given to translateLine, which prints its one line; an empty line
// gives an empty line. The worst of the lines' exit codes.
ExitCode ForEachInputLine(std::istream& input, std::ostream& output, std::ostream& errors,
                          const std::function<ExitCode(const std::string& line)>& translateLine);

// ForEachInputLine that also hands over each line's number in the input
// (from 1, empty lines counted).
ExitCode ForEachNumberedInputLine(std::istream& input, std::ostream& output, std::ostream& errors,
                                  const std::function<ExitCode(const std::string& line, int number)>& translateLine);

// Every line of the input (UTF-8; a CR before the line end is dropped)
// translated into exactly one line of the output, flushed per line. An empty
// line gives an empty line. Messages start with the line's number.
ExitCode TranslateStream(CTranslatorDlg& translator, const CCommandLine& commandLine, std::istream& input,
                         std::ostream& output, std::ostream& errors);
