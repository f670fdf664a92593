#include "app/batch/record_text.h"

#include <algorithm>
#include <vector>

#include "app/pipeline/segment_loss.h"
#include "core/trace_log.h"

namespace {

// What stands between the Urdu of a sentence translated in part and the
// message naming what it leaves out.
const WString kPartSeparator = u"\tNot translated: ";

WString WithAlternatives(WString text, const CTranslationResult& result) {
  for (const CSegmentOutcome& segment : result.segments) {
    for (const WString& alternative : segment.alternatives) text += u"\r\n" + alternative;
  }
  return text;
}

// Every word the translation leaves out, each once: the words set aside
// before the analysis, then per segment the words its sentence leaves out
// or, for a segment without a sentence, its whole text.
std::vector<WString> UntranslatedWords(const CTranslationResult& result) {
  std::vector<WString> words;
  for (const WString& word : result.setAside) AddWordOnce(words, word);
  for (const CSegmentOutcome& segment : result.segments) {
    if (!segment.generated) {
      AddWordOnce(words, segment.english);
      continue;
    }
    for (const WString& word : segment.leftOut) AddWordOnce(words, word);
  }
  return words;
}

}  // namespace

WString GeneratedText(const CTranslationResult& result) {
  if (!result.AllSegmentsTranslated()) return WString();
  return WithAlternatives(result.output, result);
}

WString RecordText(const CTranslationResult& result) {
  if (!result.PartlyTranslated()) return GeneratedText(result);
  const WString message = NotTranslatedMessage(UntranslatedWords(result));
  return WithAlternatives(result.output + u"\t" + message, result);
}

bool IsPartRecordText(const WString& text) {
  const size_t lineEnd = text.find(u"\r\n");
  const size_t separator = text.find(kPartSeparator);
  return separator != WString::npos && separator < lineEnd;
}

bool AnySegmentParsed(const CTranslationResult& result) {
  return std::any_of(result.segments.begin(), result.segments.end(),
                     [](const CSegmentOutcome& segment) { return segment.parsed; });
}

bool AnySegmentMapped(const CTranslationResult& result) {
  return std::any_of(result.segments.begin(), result.segments.end(),
                     [](const CSegmentOutcome& segment) { return segment.mapped; });
}

void TraceListOutcome(const CTranslationResult& result, const WString& text) {
  if (!AnySegmentParsed(result)) {
    WriteTraceLog(u"Sentence could not be parsed.\r\n");
  } else if (!AnySegmentMapped(result)) {
    WriteTraceLog(u"Sentence Target Urdu F-Structure could not be generated.\r\n");
  }
  WriteTraceLog(u"Generated Urdu Sentences: " + text + u"\r\n");
}
