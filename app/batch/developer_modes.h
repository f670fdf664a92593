// The developer drivers on the command line, run after the data root is
// entered and the engines are set up (the older set-up with --lfg): the
// sentence list, the benchmark, the unmatched words, and the older road for
// one sentence (printed as the main road prints) or for every line of the
// input.
#pragma once

#include <iosfwd>

#include "app/cli/command_line.h"
#include "app/cli/exit_codes.h"

class CTranslatorDlg;

ExitCode RunDeveloperMode(CTranslatorDlg& translator, const CCommandLine& commandLine, std::istream& input,
                          std::ostream& output, std::ostream& errors);
