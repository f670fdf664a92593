// The command-line options of the developer drivers:
//   --batch [FILE]      the sentence list (default "SenList.txt")
//   --benchmark [FILE]  the parser benchmark (default: "SenList_FileName")
//   --output FILE       the result file of either
//   --lfg               the older set-up and road over the LFG chart parser
//   --done-file FILE    with --lfg and a sentence: the worker entry, which
//                       creates FILE when the translation has ended
//   --dump-tokens       with --lfg and a sentence: its lexical entries to
//                       data\tokens.tok
//   --unmatched-words   with --lfg: the mapping lexicon's words that the
//                       English lexicon lacks, to unmatched.txt
//   --listing NAME      a listing of the Urdu grammar instead of translating,
//   --listing-file FILE   into FILE (grammar_listings.h names them)
//   --chart-dump FILE   the CFG chart of every sentence parsed, to FILE
//   --show-fstructures, --show-cstructures
//                       with --lfg and a sentence: its analyses in the LFG
//                       chart as trees on standard error
//   --structure-pair FS CS  with --lfg and a sentence: its F- and
//                       C-structures as a pair of XML files
//   --test-routine NAME one of the developer's print routines
//                       (test_routines.h) instead of translating
#pragma once

#include <string>
#include <vector>

namespace CLI {
class App;
}

struct CDeveloperOptions {
  bool batch = false;
  bool benchmark = false;
  std::string sentenceFile;  // of --batch or --benchmark; empty: the default
  std::string outputFile;
  bool lfg = false;
  std::string doneFile;
  bool dumpTokens = false;
  bool unmatchedWords = false;
  std::string listing;  // empty: no listing
  std::string listingFile;
  std::string chartDumpFile;  // empty: no chart dump
  bool showFStructures = false;
  bool showCStructures = false;
  std::vector<std::string> structurePair;  // the F- and the C-structure file, or none
  std::string testRoutine;                 // empty: none
  // Not an option: standard error is a terminal, so the progress of a list
  // run is rewritten in place (the program sets it).
  bool progressInPlace = false;

  // A developer driver runs instead of the translator's own modes.
  bool Any() const { return batch || benchmark || lfg || !listing.empty() || !testRoutine.empty(); }
};

void AddDeveloperOptions(CLI::App& app, CDeveloperOptions& options);

// After parsing: the options that were given, their files made absolute.
// False, with the reason in error, for a combination that makes no sense.
bool FinishDeveloperOptions(const CLI::App& app, bool hasSentence, CDeveloperOptions& options, std::string& error);
