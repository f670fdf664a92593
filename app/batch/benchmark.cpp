// The parser benchmark: every sentence of a file parsed and timed, one
// record per sentence: the sentence in small letters, ",", the milliseconds
// and ",parsed." or ",not parsed.". It times the parser of the set-up that
// ran: the LFG chart parser after the older set-up (the word look-up
// included), else the CFG parser (tokenising and tagging included).
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "analysis/cfg/cfg_parser.h"
#include "analysis/lfg/lfg_parser.h"
#include "analysis/lfg/lfg_start_edges.h"
#include "analysis/tokeniser/pre_processor.h"
#include "analysis/xml/lfg_show_drivers.h"
#include "app/batch/sentence_file_reader.h"
#include "app/engine/translator_dlg.h"
#include "app/pipeline/sentence_text.h"
#include "core/config_store.h"
#include "core/file_writer.h"
#include "core/string_helpers.h"
#include "core/token.h"
#include "platform/clock.h"
#include "resources/lfg/lexicon_manager.h"

namespace {

// The chart parser's words are looked up as written (else in small
// letters); a sentence with a word the lexicon lacks is not parsed. Parsed
// means a complete "S" edge spans the sentence.
bool ParseWithChartParser(CLexiconManager& manager, CLFGParser& parser, const WString& sentence) {
  const std::unique_ptr<SentenceEntryLists> entries = manager.CheckWordInLexicon(sentence);
  if (!entries) return false;
  return parser.BuildChart(ChartWordsOf(*entries)) != nullptr && !CompleteStartEdges(parser).empty();
}

bool ParseWithCfgParser(CPreProcessor& preProcessor, CCfgParser& parser, const WString& sentence) {
  preProcessor.SetSentence(CleanTypedText(sentence));
  CSentenceReadings readings;
  CSentenceTokens tokens;
  parser.PreprocessText(readings, tokens);
  std::vector<std::unique_ptr<CToken>> ownedTokens;
  for (CToken* token : tokens) ownedTokens.emplace_back(token);
  return parser.ParseTokens(readings, tokens);
}

}  // namespace

CListRunSummary CTranslatorDlg::RunBenchmark(const CListRunFiles& files, const ListRunProgress& progress) {
  CListRunSummary summary;
  const bool chartParser = HasChartParserEngine();
  if (!chartParser && !ready_) {
    summary.failure = ListRunFailure::kEngines;
    summary.failureText = "No parser was set up";
    return summary;
  }
  summary.sentenceFile = files.sentences.empty() ? GetConfigValue("SenList_FileName") : files.sentences;
  summary.resultFile = files.results.empty() ? GetConfigValue("BenchMarks_FileName") : files.results;
  summary.failure = ListRunFailure::kFile;
  if (summary.sentenceFile.empty() || summary.resultFile.empty()) {
    summary.failureText = "The benchmark's files are not named (\"SenList_FileName\", \"BenchMarks_FileName\")";
    return summary;
  }
  CSentenceFileReader reader(false);
  if (!reader.Open(summary.sentenceFile)) {
    summary.failureText = "The sentence file '" + summary.sentenceFile + "' cannot be read";
    return summary;
  }
  CFileWriter writer(summary.resultFile);
  if (!writer.IsOpen()) {
    summary.failureText = "The benchmark file '" + summary.resultFile + "' cannot be written";
    return summary;
  }
  summary.failure = ListRunFailure::kNone;

  bool written = true;
  const std::vector<WString> sentences = reader.RemainingSentences();
  if (progress) progress(0, sentences.size());
  for (const WString& sentence : sentences) {
    const uint32_t start = TickCountMilliseconds();
    bool parsed = false;
    try {
      parsed = chartParser ? ParseWithChartParser(*m_pLexiconManager, *m_pLFGParser, sentence)
                           : ParseWithCfgParser(*m_pPreProcessor, *m_pCfgParser, sentence);
    } catch (const std::exception&) {
      parsed = false;  // a deep failure counts as no parse; the reset below still runs
    }
    const uint32_t elapsed = TickCountMilliseconds() - start;
    if (chartParser) {
      ResetAfterChartSentence();
    } else {
      ResetAfterListSentence();
    }
    written = writer.Write(ToLowerString(sentence) + u"," + NarrowToWide(std::to_string(elapsed)) +
                           (parsed ? u",parsed." : u",not parsed.")) == 1 &&
              written;
    ++summary.sentences;
    ++(parsed ? summary.translated : summary.notParsed);
    if (progress) progress(summary.sentences, sentences.size());
  }
  if (!written) {
    summary.failure = ListRunFailure::kFile;
    summary.failureText = "The benchmark file '" + summary.resultFile + "' could not be written";
  }
  return summary;
}
