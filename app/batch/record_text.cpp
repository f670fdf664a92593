#include "app/batch/record_text.h"

#include <algorithm>

#include "core/trace_log.h"

WString GeneratedText(const CTranslationResult& result) {
  if (!result.AllSegmentsTranslated()) return WString();
  WString text = result.output;
  for (const CSegmentOutcome& segment : result.segments) {
    for (const WString& alternative : segment.alternatives) text += u"\r\n" + alternative;
  }
  return text;
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
