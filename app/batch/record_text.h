// What the developer drivers take from a translation's result record: the
// generated sentences as one text, and the trace-log lines of the list
// roads.
#pragma once

#include "app/engine/translation_result.h"
#include "core/wide_string.h"

// The Urdu of a sentence whose every segment was translated: the output,
// then CR LF and each further generated sentence. Empty otherwise.
WString GeneratedText(const CTranslationResult& result);

// The result text of a batch record: the Urdu of a sentence translated
// whole (GeneratedText); for a sentence translated in part its Urdu with,
// after a tab, the "Not translated: " message that names every word left
// out, then CR LF and each further generated sentence. Empty when nothing
// was generated.
WString RecordText(const CTranslationResult& result);
// Whether a result text is that of a sentence translated in part.
bool IsPartRecordText(const WString& text);

bool AnySegmentParsed(const CTranslationResult& result);
bool AnySegmentMapped(const CTranslationResult& result);

// The trace-log lines of a list road: why nothing was generated, then
// "Generated Urdu Sentences: " and the text.
void TraceListOutcome(const CTranslationResult& result, const WString& text);
