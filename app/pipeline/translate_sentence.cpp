// The road of one typed sentence: cleaned and trimmed, tokenised, cut into
// segments, and per segment parsed, mapped and generated; the segments'
// texts are merged into the output. Everything the road shows goes into the
// result record of the call.
#include <exception>
#include <memory>
#include <optional>

#include "analysis/cfg/cfg_parser.h"
#include "analysis/segmentation/sentence_segmenter.h"
#include "analysis/tokeniser/pre_processor.h"
#include "app/engine/handler_scopes.h"
#include "app/engine/translator_dlg.h"
#include "app/pipeline/phase_timer.h"
#include "app/pipeline/segment_loss.h"
#include "app/pipeline/segment_merge.h"
#include "app/pipeline/sentence_text.h"
#include "core/config_store.h"
#include "core/fs_handle.h"
#include "core/parse_result.h"
#include "core/sentence_state.h"
#include "core/string_helpers.h"
#include "core/token.h"
#include "core/trace_log.h"
#include "platform/document_viewer.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/utf8.h"
#include "transfer/walk/f_structure_mapper.h"

namespace {

constexpr const char* kCStructureFile = "data\\CStructures.xml";
const WString kHyphenLine(44, u'-');
const WString kEqualsLine(44, u'=');

WString Milliseconds(int64_t milliseconds) { return NarrowToWide(std::to_string(milliseconds)); }

// The text of a UTF-16LE file's bytes, after its mark.
WString DecodeUtf16File(const std::string& bytes) {
  WString text;
  size_t at =
      bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE
          ? 2
          : 0;
  for (; at + 1 < bytes.size(); at += 2) {
    text.push_back(
        static_cast<WChar>(static_cast<unsigned char>(bytes[at]) | (static_cast<unsigned char>(bytes[at + 1]) << 8)));
  }
  return text;
}

WString JoinTokenTexts(const CSentenceSegment& segment) {
  WString text;
  for (const CToken* token : segment.tokens) {
    if (token == nullptr) continue;
    if (!text.empty()) text += u' ';
    text += token->Text;
  }
  return text;
}

// Deletes the segmenter's segments when the road ends, also by an exception.
class SegmentListGuard {
 public:
  explicit SegmentListGuard(CSentenceSegmenter& segmenter) : segmenter_(segmenter) {}
  ~SegmentListGuard() { segmenter_.ClearSegments(); }
  SegmentListGuard(const SegmentListGuard&) = delete;
  SegmentListGuard& operator=(const SegmentListGuard&) = delete;

 private:
  CSentenceSegmenter& segmenter_;
};

// A sentence longer than the tokeniser takes (with the two blanks it adds)
// is refused whole, with a message, before any engine sees it.
bool RefuseOverlongSentence(const WString& sentence) {
  constexpr size_t kLongestSentence = kMaxSentenceLength - 2;
  if (sentence.size() <= kLongestSentence) return false;
  ShowMessage(u"The sentence has more than " + NarrowToWide(std::to_string(kLongestSentence)) +
                  u" characters; it is not translated.",
              u"Quillet", MessageStyle::IconInformation);
  return true;
}

// A failure deep in an engine, thrown as an exception: shown as a message.
void ReportDeepFailure(const std::string& text) {
  ShowMessage(FromUtf8(text), u"Tarnwick", MessageStyle::IconInformation);
}

}  // namespace

bool CTranslatorDlg::TrimTrailingPunctuation(WString& sentence) {
  TrimTrailingPunctuationOf(sentence);
  return true;
}

CTranslationResult CTranslatorDlg::OnTranslate(const WString& typed, const CTranslateOptions& options) {
  CTranslationResult result;
  result_ = &result;
  options_ = options;
  int handedOverSegment = 0;
  CCallHandlers handlers(
      [&result](const std::u16string& text, const std::u16string& caption, unsigned style) {
        result.messages.push_back(CTranslationMessage{text, caption, style});
        return MessageAnswer::Ok;
      },
      [&result, &handedOverSegment](const std::string& path) {
        const std::optional<std::string> bytes = ReadFileBytes(path);
        result.cStructures.push_back(CStructureDocument{
            handedOverSegment, path, bytes ? DecodeUtf16File(*bytes) : WString(), bytes.has_value()});
      });
  currentSegment_ = &handedOverSegment;

  const WString text = PrepareSentenceText(typed, result.setAside);
  if (!(options.chartParserRoad ? HasChartParserEngine() : ready_)) {
    ShowMessage(u"The translator's engines are not set up.", u"Tarnwick", MessageStyle::IconInformation);
  } else if (RefuseOverlongSentence(text)) {
    // Nothing of it is translated; the message says so.
  } else if (text.empty()) {
    ShowMessage(u"Please Enter the Sentence and then press 'Map' Button.", u"Quillet", MessageStyle::IconInformation);
  } else {
    TranslateTypedText(text);
  }
  if (!result.setAside.empty()) {
    ShowMessage(NotTranslatedMessage(result.setAside), u"Quillet", MessageStyle::IconInformation);
  }
  currentSegment_ = nullptr;
  result_ = nullptr;
  options_ = {};
  return result;
}

// Each sentence of the text is translated on its own, in order, and its
// output joins the output of the text after a blank. The older road takes
// the text as one sentence.
void CTranslatorDlg::TranslateTypedText(const WString& text) {
  std::vector<WString> sentences{text};
  if (!options_.chartParserRoad) {
    const CPreProcessor& tokeniser = *m_pPreProcessor;
    sentences = SplitTypedSentences(text, [&tokeniser](const WString& word) { return tokeniser.IsAbbreviation(word); });
    if (sentences.empty()) sentences.push_back(text);
  }
  try {
    const CPhaseTimer timer;
    for (WString& sentence : sentences) {
      typedEndMark_ = TypedEndMarkOf(sentence);
      TrimTrailingPunctuation(sentence);
      if (!result_->sentence.empty()) result_->sentence += u' ';
      result_->sentence += sentence;
      TranslateReportingFailures(sentence);
    }
    typedEndMark_ = 0;
    result_->totalMilliseconds = timer.ElapsedMilliseconds();
    result_->totalMicroseconds = timer.ElapsedMicroseconds();
    result_->translated = true;
  } catch (const std::exception& error) {
    ReportDeepFailure(error.what());
  } catch (const char* failure) {
    ReportDeepFailure(failure);
  }
  WriteTraceLog(kHyphenLine);
  WriteTraceLog(u"\nTotal Translation Time: " + Milliseconds(result_->totalMilliseconds));
  WriteTraceLog(kEqualsLine);
}

// A deep failure outside the segments (tokeniser, segmenter) is reported
// like one inside them, and the per-sentence state is freed all the same.
void CTranslatorDlg::TranslateReportingFailures(const WString& sentence) {
  try {
    if (options_.chartParserRoad) {
      TranslateWithChartParser(sentence);
    } else {
      TranslateSentence(sentence);
    }
    return;
  } catch (const std::exception& error) {
    ReportDeepFailure(error.what());
  } catch (const char* text) {
    ReportDeepFailure(text);
  }
  ResetSentenceState();
}

bool CTranslatorDlg::TranslateSentence(const WString& sentence) {
  if (result_ == nullptr || !ready_) return false;  // only inside OnTranslate, with every engine built
  domain_ = GetConfigValue("Domain");
  // The Urdu set members of every sentence are numbered from 1 again. The
  // mapper's number would run on from the sentences before, and a member's
  // name decides which English member of the same name it meets on the walk
  // (the English ones are numbered per sentence), so the same sentence would
  // come out differently after other sentences than alone.
  if (m_pMapper) m_pMapper->Engine().SetNextSetElementNumber(1);
  m_pPreProcessor->SetSentence(sentence);
  WriteTraceLog(sentence);

  CSentenceReadings readings;
  CSentenceTokens tokens;
  m_pCfgParser->PreprocessText(readings, tokens);
  // Segments point to the tokens without owning them.
  std::vector<std::unique_ptr<CToken>> ownedTokens;
  for (CToken* token : tokens) ownedTokens.emplace_back(token);

  SegmentListGuard clearSegments(*m_pSegmenter);
  std::unique_ptr<CSentenceSegment> wholeSentence;
  std::vector<CSentenceSegment*> segments;
  if (m_bSegmentSentence && static_cast<long>(readings.size()) >= m_nMinSentLength) {
    segments = m_pSegmenter->Segment(readings, tokens);
  } else {
    wholeSentence = std::make_unique<CSentenceSegment>();
    wholeSentence->readingLists = readings;
    wholeSentence->tokens = tokens;
    segments.push_back(wholeSentence.get());
  }

  // Segments are numbered across all sentences of the typed text.
  int number = static_cast<int>(result_->segments.size()) + 1;
  for (CSentenceSegment* segment : segments) {
    try {
      TranslateSegment(*segment, number);
    } catch (const std::exception& error) {
      ReportDeepFailure(error.what());
    } catch (const char* text) {
      ReportDeepFailure(text);
    }
    ++number;
    ResetAfterSentence();
  }
  ResetSentenceState();
  const WString merged = MergeSegmentTranslations(segments);
  if (!result_->output.empty() && !merged.empty()) result_->output += u' ';
  result_->output += merged;
  return true;
}

void CTranslatorDlg::TranslateSegment(CSentenceSegment& segment, int number) {
  result_->segments.emplace_back();
  const size_t index = result_->segments.size() - 1;
  result_->segments[index].number = number;
  result_->segments[index].english = JoinTokenTexts(segment);
  // The segment's text should a deeper step throw: its words rewritten.
  segment.translation = RewriteWords(segment);
  result_->segments[index].translation = segment.translation;

  std::vector<std::unique_ptr<CParseResult>> results;
  ParseSegment(segment, result_->segments[index], results);
  if (!results.empty() && scope_ == EngineScope::kTranslation) MapAndGenerate(results, result_->segments[index]);
  if (options_.showCStructure) HandOverCStructures(number);

  CSegmentOutcome& outcome = result_->segments[index];
  if (!outcome.generated) outcome.translation = RewriteWords(segment);
  segment.translation = outcome.translation;
  // An engine for the analysis alone loses nothing it was asked for.
  if (scope_ == EngineScope::kTranslation) ReportSegmentLoss(outcome);
}

void CTranslatorDlg::ParseSegment(CSentenceSegment& segment, CSegmentOutcome& outcome,
                                  std::vector<std::unique_ptr<CParseResult>>& results) {
  const CPhaseTimer timer;
  if (m_pCfgParser->ParseTokens(segment.readingLists, segment.tokens)) {
    outcome.chartMicroseconds = timer.ElapsedMicroseconds();
    std::unique_ptr<CParseResult> parsed(m_pCfgParser->GetParseResult());
    if (parsed && parsed->FStructure != nullptr) results.push_back(std::move(parsed));
    outcome.treeMicroseconds = timer.ElapsedMicroseconds() - outcome.chartMicroseconds;
  } else {
    outcome.chartMicroseconds = timer.ElapsedMicroseconds();
  }
  outcome.parseMilliseconds = timer.ElapsedMilliseconds();
  WriteTraceLog(kHyphenLine);
  WriteTraceLog(u"\nParsing Time: " + Milliseconds(outcome.parseMilliseconds));
  outcome.parsed = !results.empty();
  if (outcome.parsed && options_.parsedAnalysis) options_.parsedAnalysis(*results.front());
  if (!outcome.parsed) {
    ShowMessage(u"Sentence could not be parsed.", u"Tarnwick", MessageStyle::IconInformation);
    return;
  }
  int k = 1;
  for (const std::unique_ptr<CParseResult>& parsed : results) {
    CTreeItem& heading =
        result_->sourceTree.InsertRoot(u"Source F-Structure # " + SegmentPrefix(outcome.number) + IntToWString(k++));
    FillFStructureTree(parsed->FStructure->root, &result_->sourceTree, &heading, true);
    heading.expanded = true;
  }
}

// The C-structures of the segment's chart, handed over right after they are
// written, before the next segment overwrites the file.
void CTranslatorDlg::HandOverCStructures(int number) {
  m_pCfgParser->WriteCStructuresXml(kCStructureFile);
  *currentSegment_ = number;
  OpenDocument(kCStructureFile);
}

WString CTranslatorDlg::SegmentPrefix(int number) const {
  return m_bSegmentSentence ? IntToWString(number) + u" - " : WString();
}

WString CTranslatorDlg::MergeSegmentTranslations(std::vector<CSentenceSegment*>& segments) {
  std::vector<CSegmentText> texts;
  texts.reserve(segments.size());
  for (const CSentenceSegment* segment : segments) {
    texts.push_back(CSegmentText{segment->translation, segment->joiningText, segment->ruleIndex});
  }
  return MergeSegmentTexts(texts, m_pSegmenter->pRuleIndex, m_pSegmenter->andRuleIndex, typedEndMark_);
}

void CTranslatorDlg::FillFStructureTree(CFSNode* node, CTreeView* tree, CTreeItem* parent, bool underParent) {
  if (node == nullptr || tree == nullptr) return;
  CTreeItem item = BuildFStructureItem(node);
  if (underParent && parent != nullptr) {
    parent->children.push_back(std::move(item));
  } else {
    tree->roots.push_back(std::move(item));
  }
}
