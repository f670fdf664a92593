#include "app/cli/developer_options.h"

#include <CLI/CLI.hpp>

#include "app/batch/test_routines.h"
#include "app/cli/command_line.h"
#include "resources/lfg/grammar_listings.h"

namespace {

std::string UsageError(bool fails, const std::string& text) { return fails ? text : std::string(); }

}  // namespace

void AddDeveloperOptions(CLI::App& app, CDeveloperOptions& options) {
  app.add_option("--batch", options.sentenceFile,
                 "Translate the sentences of FILE (default SenList.txt; each ends with '.') into the --output file "
                 "(default TranslatedSenList.txt) and data\\FStructures.xml")
      ->expected(0, 1)
      ->type_name("[FILE]");
  app.add_option("--benchmark", options.sentenceFile,
                 "Time the parser on every sentence of FILE (default: the data root's SenList_FileName) into the "
                 "--output file (default: BenchMarks_FileName)")
      ->expected(0, 1)
      ->type_name("[FILE]");
  app.add_option("--output", options.outputFile, "The result file of --batch or --benchmark")->type_name("FILE");
  app.add_flag("--lfg", options.lfg,
               "Set up and translate over the LFG chart parser (the data root names an LFG grammar and lexicon)");
  app.add_option("--done-file", options.doneFile,
                 "With --lfg and a sentence: create this file, empty, when the translation has ended")
      ->type_name("FILE");
  app.add_flag("--dump-tokens", options.dumpTokens,
               "With --lfg and a sentence: write its lexical entries to data\\tokens.tok");
  app.add_flag("--unmatched-words", options.unmatchedWords,
               "With --lfg: write the mapping lexicon's words that the English lexicon lacks to unmatched.txt");
  CLI::Option* listing =
      app.add_option("--listing", options.listing,
                     "Write the listing of the Urdu grammar instead of translating; without --listing-file "
                     "raw-productions and production-counts go to standard output, derivation-stack to "
                     "stackFile.txt, production-numbers to temp.txt, and the others need one")
          ->check(CLI::IsMember(GrammarListingNames()))
          ->type_name("NAME");
  app.add_option("--listing-file", options.listingFile, "The file of the --listing")->type_name("FILE")->needs(listing);
  app.add_option("--chart-dump", options.chartDumpFile,
                 "Write the CFG parser's chart of each sentence it parses to FILE (the last sentence's charts "
                 "stay)")
      ->type_name("FILE");
  app.add_flag("--show-fstructures", options.showFStructures,
               "With --lfg and a sentence: print the F-structures of its LFG chart on standard error");
  app.add_flag("--show-cstructures", options.showCStructures,
               "With --lfg and a sentence: print the C-structures of its LFG chart on standard error");
  app.add_option("--structure-pair", options.structurePair,
                 "With --lfg and a sentence: write the F-structures and the C-structures of its LFG chart as XML to "
                 "the two files")
      ->expected(2)
      ->allow_extra_args(false)
      ->type_name("FILE");
  app.add_option("--test-routine", options.testRoutine,
                 "Run one of the developer's print routines instead of translating: characters, write-file "
                 "(abc.txt), read-file (abc.txt unit by unit), grammar (the expanded English grammar), trim, "
                 "orderings")
      ->check(CLI::IsMember(TestRoutineNames()))
      ->type_name("NAME");
}

bool FinishDeveloperOptions(const CLI::App& app, bool hasSentence, CDeveloperOptions& options, std::string& error) {
  options.batch = app.count("--batch") > 0;
  options.benchmark = app.count("--benchmark") > 0;
  const bool listRun = options.batch || options.benchmark;
  const bool lfgSentence = options.lfg && hasSentence;
  const bool listing = !options.listing.empty();
  for (const std::string& reason :
       {UsageError(options.batch && options.benchmark, "--batch and --benchmark exclude each other"),
        UsageError(options.batch && options.lfg, "--batch runs the main road; it does not take --lfg"),
        UsageError(listRun && hasSentence, "--batch and --benchmark read their sentences from a file"),
        UsageError(!options.outputFile.empty() && !listRun, "--output needs --batch or --benchmark"),
        UsageError(!options.doneFile.empty() && (!options.lfg || !hasSentence),
                   "--done-file needs --lfg and a sentence"),
        UsageError(options.dumpTokens && (!options.lfg || !hasSentence), "--dump-tokens needs --lfg and a sentence"),
        UsageError(options.unmatchedWords && (!options.lfg || hasSentence || listRun),
                   "--unmatched-words needs --lfg and no sentence"),
        UsageError(listing && (hasSentence || listRun || options.unmatchedWords),
                   "--listing runs instead of translating: it takes no sentence, --batch, --benchmark or "
                   "--unmatched-words"),
        UsageError(!options.chartDumpFile.empty() && options.lfg,
                   "--chart-dump dumps the CFG parser's chart; --lfg has none"),
        UsageError(options.showFStructures && !lfgSentence, "--show-fstructures needs --lfg and a sentence"),
        UsageError(options.showCStructures && !lfgSentence, "--show-cstructures needs --lfg and a sentence"),
        UsageError(!options.structurePair.empty() && !lfgSentence, "--structure-pair needs --lfg and a sentence"),
        UsageError(!options.testRoutine.empty() && (hasSentence || listRun || listing || options.lfg),
                   "--test-routine runs alone: it takes no sentence, --batch, --benchmark, --listing or --lfg")}) {
    if (!reason.empty()) {
      error = reason;
      return false;
    }
  }
  options.sentenceFile = MakeAbsolutePath(options.sentenceFile);
  options.outputFile = MakeAbsolutePath(options.outputFile);
  options.doneFile = MakeAbsolutePath(options.doneFile);
  options.listingFile = MakeAbsolutePath(options.listingFile);
  options.chartDumpFile = MakeAbsolutePath(options.chartDumpFile);
  for (std::string& file : options.structurePair) file = MakeAbsolutePath(file);
  return true;
}
