// The developer drivers on the command line, run after the data root is
// entered and the engines are set up (the older set-up with --lfg): the
// sentence list, the benchmark, the unmatched words, and the older road for
// one sentence (printed as the main road prints) or for every line of the
// input. Besides: the grammar listings, the CFG chart dump, and the LFG
// chart's trees and structure pair of one sentence.
#pragma once

#include <iosfwd>

#include "app/cli/command_line.h"
#include "app/engine/exit_codes.h"

class CTranslatorDlg;

ExitCode RunDeveloperMode(CTranslatorDlg& translator, const CCommandLine& commandLine, std::istream& input,
                          std::ostream& output, std::ostream& errors);

// After set-up, before any sentence: switches the CFG chart dump on when it
// was asked for. kExitFileError when its file cannot be written.
ExitCode EnableChartDumpOption(CTranslatorDlg& translator, const CDeveloperOptions& options, std::ostream& errors);
