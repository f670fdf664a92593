// The older translate road over the LFG chart parser: the sentence's words
// looked up by the lexicon manager, parsed by the chart parser, then mapped
// and generated as on the main road. One sentence is one segment; nothing
// is segmented and no words are rewritten.
#include <memory>
#include <string>
#include <vector>

#include "analysis/lfg/lfg_parser.h"
#include "analysis/xml/lfg_show_drivers.h"
#include "app/batch/record_text.h"
#include "app/engine/translator_dlg.h"
#include "app/pipeline/phase_timer.h"
#include "core/config_store.h"
#include "core/fs_handle.h"
#include "core/parse_result.h"
#include "core/string_helpers.h"
#include "core/trace_log.h"
#include "platform/document_viewer.h"
#include "platform/message_box.h"
#include "platform/utf8.h"
#include "resources/lfg/lexicon_manager.h"

namespace {

constexpr const char* kLfgCStructureFile = "data\\LFGParserCStructures.xml";
const WString kHyphenLine(44, u'-');

}  // namespace

bool CTranslatorDlg::TranslateWithChartParser(const WString& sentence) {
  if (result_ == nullptr || !HasChartParserEngine()) return false;
  // The configured domain: an empty one would map nothing.
  domain_ = GetConfigValue("Domain");
  result_->segments.emplace_back();
  CSegmentOutcome& outcome = result_->segments.back();
  outcome.number = 1;
  outcome.english = sentence;
  std::unique_ptr<SentenceEntryLists> entries = m_pLexiconManager->BuildSentenceEntries(sentence);
  if (!entries) return false;

  WriteTraceLog(sentence);
  const CPhaseTimer timer;
  ParseResultList parsed;
  m_pLFGParser->Parse(ChartWordsOf(*entries), parsed, true);
  std::vector<std::unique_ptr<CParseResult>> results;
  for (CParseResult* result : parsed) {
    if (result != nullptr) results.emplace_back(result);
  }
  outcome.parseMilliseconds = timer.ElapsedMilliseconds();
  WriteTraceLog(kHyphenLine);
  WriteTraceLog(u"\nParsing Time: " + NarrowToWide(std::to_string(outcome.parseMilliseconds)));
  outcome.parsed = !results.empty();
  if (!outcome.parsed) {
    ShowMessage(u"Sentence could not be parsed.", u"Tarnwick", MessageStyle::IconInformation);
  } else {
    if (options_.parsedAnalysis) options_.parsedAnalysis(*results.front());
    int k = 1;
    for (const std::unique_ptr<CParseResult>& result : results) {
      CTreeItem& heading = result_->sourceTree.InsertRoot(u"Source F-Structure # " + IntToWString(k++));
      FillFStructureTree(result->FStructure->root, &result_->sourceTree, &heading, true);
      heading.expanded = true;
    }
    if (options_.showCStructure) {
      if (m_pLFGParser->WriteCStructureXmlFile(parsed, kLfgCStructureFile)) {
        *currentSegment_ = 1;
        OpenDocument(ToUtf8(m_strCStructureXmlPath));
      } else {
        ShowMessage(u"File 'data\\LFGParserCStructures.xml' could not be written", u"Tarnwick",
                    MessageStyle::IconInformation);
      }
    }
    MapAndGenerate(results, outcome);
  }
  if (outcome.generated) result_->output = outcome.translation;
  // The analyses and the entry lists, then everything the sentence registered.
  results.clear();
  entries.reset();
  ResetAfterChartSentence();
  return true;
}

WString CTranslatorDlg::TranslateWithChartParserTraced(const WString& sentence) {
  CTranslateOptions options;
  options.chartParserRoad = true;
  const CTranslationResult result = OnTranslate(sentence, options);
  const WString text = GeneratedText(result);
  TraceListOutcome(result, text);
  return text;
}
