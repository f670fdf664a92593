#include "app/batch/developer_modes.h"

#include <filesystem>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/batch/list_run.h"
#include "app/batch/translation_worker.h"
#include "app/cli/translator_cli.h"
#include "app/engine/translator_dlg.h"
#include "platform/file_system.h"
#include "platform/utf8.h"
#include "resources/lfg/lexicon_manager.h"

namespace {

std::string Absolute(const std::string& path) { return MakeAbsolutePath(MapPath(path)); }

// The summary on standard error and the exit code of a list run.
ExitCode ReportListRun(const CListRunSummary& summary, bool benchmark, std::ostream& errors) {
  switch (summary.failure) {
    case ListRunFailure::kEngines:
      errors << summary.failureText << '\n';
      return kExitSetUpFailed;
    case ListRunFailure::kFile:
      errors << summary.failureText << '\n';
      if (summary.sentences > 0) errors << summary.sentences << " sentences were done before\n";
      return kExitFileError;
    case ListRunFailure::kNone:
      break;
  }
  if (benchmark) {
    errors << "Benchmark: " << summary.sentences << " sentences, " << summary.translated << " parsed, "
           << summary.notParsed << " not parsed\nRecords: " << Absolute(summary.resultFile) << '\n';
  } else {
    errors << "Sentence list: " << summary.sentences << " sentences, " << summary.translated << " translated, "
           << summary.parsedOnly << " parsed without Urdu, " << summary.notParsed << " not parsed\nResults: "
           << Absolute(summary.resultFile) << "\nF-structures: " << Absolute("data\\FStructures.xml") << '\n';
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

ExitCode TranslateOneWithChartParser(CTranslatorDlg& translator, const CCommandLine& commandLine,
                                     std::ostream& output, std::ostream& errors) {
  const CDeveloperOptions& options = commandLine.developer;
  const WString sentence = FromUtf8(commandLine.Sentence());
  ExitCode code = kExitTranslated;
  if (options.dumpTokens && !DumpSentenceTokens(translator, sentence)) {
    errors << "'" << Absolute("data\\tokens.tok") << "' could not be written\n";
    code = kExitFileError;
  }
  if (options.doneFile.empty()) {
    CTranslateOptions translateOptions;
    translateOptions.showCStructure = commandLine.showCStructure;
    translateOptions.chartParserRoad = true;
    return WorseExit(code, PrintResult(translator.OnTranslate(sentence, translateOptions), commandLine, output,
                                       errors));
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
  const CListRunFiles files{options.sentenceFile, options.outputFile};
  if (options.batch) return ReportListRun(translator.TranslateSentenceList(files), false, errors);
  if (options.benchmark) return ReportListRun(translator.RunBenchmark(files), true, errors);
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
