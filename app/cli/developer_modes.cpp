#include "app/cli/developer_modes.h"

#include <cstdio>
#include <filesystem>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "analysis/cfg/cfg_chart_dump.h"
#include "analysis/lfg/lfg_parser.h"
#include "analysis/xml/lfg_show_drivers.h"
#include "analysis/xml/lfg_structure_pair_writer.h"
#include "app/batch/run_progress.h"
#include "app/batch/test_routines.h"
#include "app/batch/translation_worker.h"
#include "app/cli/translator_cli.h"
#include "app/engine/list_run.h"
#include "app/engine/translator_dlg.h"
#include "core/config_store.h"
#include "core/file_writer.h"
#include "core/tree_item.h"
#include "platform/file_system.h"
#include "platform/utf8.h"
#include "resources/lfg/grammar_listings.h"
#include "resources/lfg/lexicon_manager.h"

namespace {

std::string Absolute(const std::string& path) { return MakeAbsolutePath(MapPath(path)); }

// The summary on standard error and the exit code of a list run.
ExitCode ReportListRun(const CListRunSummary& summary, bool benchmark, std::ostream& errors) {
  switch (summary.failure) {
    case ListRunFailure::kEngines: errors << summary.failureText << '\n'; return kExitSetUpFailed;
    case ListRunFailure::kFile:
      errors << summary.failureText << '\n';
      if (summary.sentences > 0) errors << summary.sentences << " sentences were done before\n";
      return kExitFileError;
    case ListRunFailure::kNone: break;
  }
  if (benchmark) {
    errors << "Benchmark: " << summary.sentences << " sentences, " << summary.translated << " parsed, "
           << summary.notParsed << " not parsed\nRecords: " << Absolute(summary.resultFile) << '\n';
  } else {
    errors << "Sentence list: " << summary.sentences << " sentences, " << summary.translated << " translated, "
           << summary.translatedInPart << " translated in part, " << summary.parsedOnly << " parsed without Urdu, "
           << summary.notParsed << " not parsed\nResults: " << Absolute(summary.resultFile)
           << "\nF-structures: " << Absolute("data\\FStructures.xml") << '\n';
  }
  return summary.AllTranslated() ? kExitTranslated : kExitUntranslated;
}

// Every line of the input through the older road without a record: one line
// of output each, the first generated sentence (with --alternatives the
// others after a tab each); an empty line when nothing was generated.
ExitCode TranslateTracedStream(CTranslatorDlg& translator, const CCommandLine& commandLine, std::istream& input,
                               std::ostream& output, std::ostream& errors) {
  return ForEachInputLine(input, output, errors, [&](const std::string& line) {
    const WString text = translator.TranslateWithChartParserTraced(FromUtf8(line));
    WString printed;
    for (size_t start = 0; start <= text.size();) {
      size_t end = text.find(u"\r\n", start);
      if (end == WString::npos) end = text.size();
      if (start > 0) {
        if (!commandLine.alternatives) break;
        printed += u'\t';
      }
      printed += text.substr(start, end - start);
      start = end + 2;
    }
    output << ToUtf8(printed) << '\n' << std::flush;
    return text.empty() ? kExitUntranslated : kExitTranslated;
  });
}

bool DumpSentenceTokens(CTranslatorDlg& translator, const WString& sentence) {
  const std::unique_ptr<SentenceEntryLists> entries = translator.m_pLexiconManager->BuildSentenceEntries(sentence);
  std::vector<CLexicalEntry*> flat;
  if (entries) {
    for (const LexicalEntryList& list : entries->lists) flat.insert(flat.end(), list.begin(), list.end());
  }
  return translator.DumpTokens(flat);
}

// The listing of the Urdu grammar; the console listings without a file go
// to standard output.
ExitCode WriteGrammarListing(CTranslatorDlg& translator, const CDeveloperOptions& options, std::ostream& output,
                             std::ostream& errors) {
  output << std::flush;
  const bool written = RunGrammarListing(*translator.m_pUrduGrammar, options.listing, options.listingFile,
                                         GetConfigValue("UlfgFileName"));
  std::fflush(stdout);
  if (!written) {
    errors << "The listing '" << options.listing << "' could not be written"
           << (options.listingFile.empty() ? " (it needs --listing-file)" : ": " + options.listingFile) << '\n';
    return kExitFileError;
  }
  if (!options.listingFile.empty()) errors << "Listing " << options.listing << ": " << options.listingFile << '\n';
  return kExitTranslated;
}

// Runs one view of the sentence's LFG chart over its lexical entries, then
// frees the chart's per-sentence state. False when the sentence gives no
// entries or the view finds no analysis.
template <typename View>
bool RunChartView(CTranslatorDlg& translator, const WString& sentence, View view) {
  const std::unique_ptr<SentenceEntryLists> entries = translator.m_pLexiconManager->BuildSentenceEntries(sentence);
  const bool shown = entries && view(ChartWordsOf(*entries));
  translator.ResetAfterChartSentence();
  return shown;
}

// The trees and the structure pair asked for, before the sentence is
// translated. The trees go to standard error as an outline.
ExitCode ShowChartViews(CTranslatorDlg& translator, const CDeveloperOptions& options, const WString& sentence,
                        std::ostream& errors) {
  using ShowDriver = bool (*)(CLFGParser&, const std::vector<ChartWord>&, TreeItem&);
  const std::pair<bool, ShowDriver> trees[] = {{options.showFStructures, ParseAndShowFStructures},
                                               {options.showCStructures, ParseAndShowCStructures}};
  CLFGParser& parser = *translator.m_pLFGParser;
  for (const auto& [asked, driver] : trees) {
    if (!asked) continue;
    const ShowDriver show = driver;  // the clang in use captures no structured binding
    TreeItem tree;
    RunChartView(translator, sentence, [&](const std::vector<ChartWord>& words) { return show(parser, words, tree); });
    errors << ToUtf8(FormatTreeOutline(tree));
  }
  if (options.structurePair.empty()) return kExitTranslated;
  const std::string& fsFile = options.structurePair[0];
  const std::string& csFile = options.structurePair[1];
  int analyses = 0;
  RunChartView(translator, sentence, [&](const std::vector<ChartWord>& words) {
    if (parser.BuildChart(words) == nullptr) return false;
    analyses = WriteStartEdgeStructures(parser, fsFile, csFile);
    return analyses > 0;
  });
  if (!std::filesystem::exists(fsFile) || !std::filesystem::exists(csFile)) {
    errors << "The structure pair '" << fsFile << "' and '" << csFile << "' could not be written\n";
    return kExitFileError;
  }
  errors << "Structure pair of " << analyses << " analyses: " << fsFile << ", " << csFile << '\n';
  return kExitTranslated;
}

ExitCode TranslateOneWithChartParser(CTranslatorDlg& translator, const CCommandLine& commandLine, std::ostream& output,
                                     std::ostream& errors) {
  const CDeveloperOptions& options = commandLine.developer;
  const WString sentence = FromUtf8(commandLine.Sentence());
  ExitCode code = ShowChartViews(translator, options, sentence, errors);
  if (options.dumpTokens && !DumpSentenceTokens(translator, sentence)) {
    errors << "'" << Absolute("data\\tokens.tok") << "' could not be written\n";
    code = kExitFileError;
  }
  if (options.doneFile.empty()) {
    CTranslateOptions translateOptions;
    translateOptions.showCStructure = commandLine.showCStructure;
    translateOptions.chartParserRoad = true;
    return WorseExit(code,
                     PrintResult(translator.OnTranslate(sentence, translateOptions), commandLine, output, errors));
  }
  CTranslationRequest request;
  request.dialog = &translator;
  request.sentence = sentence;
  request.markerFile = options.doneFile;
  request.showCStructure = commandLine.showCStructure;
  const unsigned done = TranslationWorkerProc(&request);
  code = WorseExit(code, PrintResult(request.result, commandLine, output, errors));
  if (done != 1) {
    errors << "The marker file '" << options.doneFile << "' could not be made\n";
    code = kExitFileError;
  }
  return code;
}

}  // namespace

ExitCode RunDeveloperMode(CTranslatorDlg& translator, const CCommandLine& commandLine, std::istream& input,
                          std::ostream& output, std::ostream& errors) {
  const CDeveloperOptions& options = commandLine.developer;
  if (!options.listing.empty()) return WriteGrammarListing(translator, options, output, errors);
  if (!options.testRoutine.empty()) {
    return RunTestRoutine(options.testRoutine, output) ? kExitTranslated : kExitFileError;
  }
  const CListRunFiles files{options.sentenceFile, options.outputFile};
  if (options.batch || options.benchmark) {
    CListRunSummary summary;
    {
      CRunProgressPrinter progress(errors, options.batch ? "Sentence list: translating" : "Benchmark: parsing",
                                   options.progressInPlace);
      const ListRunProgress report = [&progress](size_t done, size_t all) { progress.Report(done, all); };
      summary =
          options.batch ? translator.TranslateSentenceList(files, report) : translator.RunBenchmark(files, report);
    }
    return ReportListRun(summary, options.benchmark, errors);
  }
  if (options.unmatchedWords) {
    const int count = translator.WriteUnmatchedWords();
    if (count < 0) {
      errors << "'" << Absolute("unmatched.txt") << "' could not be written\n";
      return kExitFileError;
    }
    errors << count << " words of the mapping lexicon are not in the English lexicon: " << Absolute("unmatched.txt")
           << '\n';
    return kExitTranslated;
  }
  if (!commandLine.HasSentence()) return TranslateTracedStream(translator, commandLine, input, output, errors);
  return TranslateOneWithChartParser(translator, commandLine, output, errors);
}

ExitCode EnableChartDumpOption(CTranslatorDlg& translator, const CDeveloperOptions& options, std::ostream& errors) {
  if (options.chartDumpFile.empty() || translator.m_pCfgParser == nullptr) return kExitTranslated;
  // Made empty now, so that a file that cannot be written stops the run
  // before any sentence; each parse rewrites it.
  if (!CFileWriter(options.chartDumpFile).IsOpen()) {
    errors << "The chart dump '" << options.chartDumpFile << "' cannot be written\n";
    return kExitFileError;
  }
  EnableChartDump(*translator.m_pCfgParser, options.chartDumpFile);
  return kExitTranslated;
}
