// What the developer drivers take from a translation's result record: the
// generated sentences as one text, and the trace-log lines of the list
// roads.
#pragma once

#include "app/engine/translation_result.h"
#include "core/wide_string.h"

// The Urdu of a sentence whose every segment was translated: the output,
// then CR LF and each further generated sentence. Empty otherwise.
WString GeneratedText(const CTranslationResult& result);

bool AnySegmentParsed(const CTranslationResult& result);
bool AnySegmentMapped(const CTranslationResult& result);

// The trace-log lines of a list road: why nothing was generated, then
// "Generated Urdu Sentences: " and the text.
void TraceListOutcome(const CTranslationResult& result, const WString& text);
