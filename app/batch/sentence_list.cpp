// The sentence list: every sentence of a file through the translate road,
// one record per sentence in the result file, and the F-structure of each
// parsed sentence in "data\FStructures.xml", which lives exactly as long as
// the run.
#include <string>
#include <vector>

#include "analysis/lfg/lfg_parser.h"
#include "analysis/xml/xml_escape.h"
#include "app/batch/record_text.h"
#include "app/batch/sentence_file_reader.h"
#include "app/engine/translator_dlg.h"
#include "core/file_writer.h"
#include "core/fs_handle.h"
#include "core/parse_result.h"
#include "core/string_helpers.h"
#include "platform/clock.h"
#include "platform/message_box.h"

namespace {

constexpr const char* kDefaultSentenceList = "SenList.txt";
constexpr const char* kDefaultTranslatedList = "TranslatedSenList.txt";
constexpr const char* kFStructureFile = "data\\FStructures.xml";
constexpr const char16_t* kParsed = u"Parsed";
constexpr const char16_t* kNotParsed = u"Not Parsed";

// The program-wide F-structure file, opened for one run and closed when the
// run ends, also by an exception.
class FStructureFileScope {
 public:
  FStructureFileScope() : opened_(InitFStructuresXmlStream(kFStructureFile)) {}
  ~FStructureFileScope() { FStructuresXmlStream().Close(); }
  FStructureFileScope(const FStructureFileScope&) = delete;
  FStructureFileScope& operator=(const FStructureFileScope&) = delete;
  bool opened() const { return opened_; }

 private:
  bool opened_;
};

CListRunSummary FileFailure(CListRunSummary summary, const std::string& text) {
  summary.failure = ListRunFailure::kFile;
  summary.failureText = text;
  return summary;
}

}  // namespace

CListRunSummary CTranslatorDlg::TranslateSentenceList(const CListRunFiles& files, const ListRunProgress& progress) {
  CListRunSummary summary;
  summary.sentenceFile = files.sentences.empty() ? kDefaultSentenceList : files.sentences;
  summary.resultFile = files.results.empty() ? kDefaultTranslatedList : files.results;
  if (!ready_) {
    summary.failure = ListRunFailure::kEngines;
    summary.failureText = "The translator's engines are not set up";
    return summary;
  }
  CSentenceFileReader reader(true);
  if (!reader.Open(summary.sentenceFile)) {
    return FileFailure(summary, "The sentence file '" + summary.sentenceFile + "' cannot be read");
  }
  CFileWriter writer(summary.resultFile);
  if (!writer.IsOpen()) return FileFailure(summary, "The result file '" + summary.resultFile + "' cannot be written");
  const FStructureFileScope fStructures;
  if (!fStructures.opened()) return FileFailure(summary, std::string("'") + kFStructureFile + "' cannot be written");
  CFileWriter& fStructureWriter = FStructuresXmlStream();
  bool written = fStructureWriter.Write(u"<F-Structures>") == 1;

  const std::vector<WString> sentences = reader.RemainingSentences();
  if (progress) progress(0, sentences.size());
  for (const WString& sentence : sentences) {
    const uint32_t start = TickCountMilliseconds();
    const WString result = TranslateListSentence(sentence);
    const uint32_t elapsed = TickCountMilliseconds() - start;
    written = writer.Write(u"[" + sentence + u"][" + NarrowToWide(std::to_string(elapsed)) + u"ms]\t\t") == 1 &&
              writer.Write(result + u"\r\n") == 1 && written;
    ++summary.sentences;
    if (result == kNotParsed) {
      ++summary.notParsed;
    } else if (result == kParsed) {
      ++summary.parsedOnly;
    } else if (IsPartRecordText(result)) {
      ++summary.translatedInPart;
    } else {
      ++summary.translated;
    }
    if (progress) progress(summary.sentences, sentences.size());
  }
  written = fStructureWriter.Write(u"</F-Structures>") == 1 && written;
  if (!written) {
    return FileFailure(
        summary, "The result file '" + summary.resultFile + "' or '" + kFStructureFile + "' could not be written");
  }
  ShowMessage(u"Completed...", u"", MessageStyle::Ok);
  return summary;
}

WString CTranslatorDlg::TranslateListSentence(const WString& sentence) {
  // The sentence goes in front of the first analysis written for it.
  bool sentenceWritten = false;
  CTranslateOptions options;
  options.parsedAnalysis = [this, &sentenceWritten](const CParseResult& analysis) {
    CFileWriter& writer = FStructuresXmlStream();
    if (!writer.IsOpen() || analysis.FStructure == nullptr || result_ == nullptr) return;
    if (!sentenceWritten) {
      writer.Write(u"<Sentence>" + XmlEscape(result_->sentence) + u"</Sentence>");
      sentenceWritten = true;
    }
    m_pLFGParser->WriteFStructureXml(analysis.FStructure->root, writer);
  };
  const CTranslationResult result = OnTranslate(sentence, options);
  WString text = RecordText(result);
  if (text.empty()) text = AnySegmentParsed(result) ? kParsed : kNotParsed;
  TraceListOutcome(result, text);
  return text;
}
