// The command-line front end: enters and locks the data root, sets the
// engine up, translates the sentence of the arguments or every line of the
// input, and prints from the result records.
#pragma once

#include <iosfwd>

#include "app/cli/command_line.h"
#include "app/cli/exit_codes.h"

class CTranslatorDlg;
struct CTranslationResult;

// The whole run; the exit code of the program.
ExitCode RunTranslator(const CCommandLine& commandLine, std::istream& input, std::ostream& output,
                       std::ostream& errors);

// What one result prints: the line of standard output (without its line
// end) and what goes to standard error; the outcome of the sentence.
ExitCode PrintResult(const CTranslationResult& result, const CCommandLine& commandLine, std::ostream& output,
                     std::ostream& errors);

// Every line of the input (UTF-8; a CR before the line end is dropped)
// translated into exactly one line of the output, flushed per line. An empty
// line gives an empty line.
ExitCode TranslateStream(CTranslatorDlg& translator, const CCommandLine& commandLine, std::istream& input,
                         std::ostream& output, std::ostream& errors);
