// The translator's command line:
//   translator [options] [English sentence ...]
// With a sentence (its words as arguments) the Urdu goes to standard output
// on one line; without one, every line of standard input gives exactly one
// line of standard output.
#pragma once

#include <string>
#include <vector>

#include "app/cli/developer_options.h"

struct CCommandLine {
  std::string dataRoot;  // made absolute; the last --data-root wins
  std::string domain;    // empty: the data root's "Domain"
  bool domainGiven = false;
  bool trees = false;              // both F-structure trees on standard error
  bool showCStructure = false;     // write and name each segment's C-structure file
  bool alternatives = false;       // further generated sentences after a tab each
  bool stages = false;             // a "Stage: ..." line per input line on standard error
  bool serve = false;              // serve the page on 127.0.0.1 instead of translating
  int port = 8765;                 // the page's port with --serve; 0: any free port
  std::vector<std::string> words;  // the sentence; empty for the stream mode
  CDeveloperOptions developer;     // the developer drivers (app/batch)

  bool HasSentence() const { return !words.empty(); }
  std::string Sentence() const;
};

enum class CommandLineOutcome { kRun, kHelp, kUsageError };

// Parses the arguments. For kHelp and kUsageError, text holds what to print
// (the help on standard output, the error on standard error).
CommandLineOutcome ParseCommandLine(int argc, const char* const* argv, CCommandLine& commandLine, std::string& text);

// The path made absolute against the folder the program was started in.
std::string MakeAbsolutePath(const std::string& path);
