// Small text steps of the translate road: cleaning the typed text, cutting
// it into its sentences and trimming each, and the lower-casing that the
// developer drivers use.
#pragma once

#include <string>
#include <vector>

#include "analysis/tokeniser/sentence_split.h"
#include "core/wide_string.h"

// The unit that marks where collected clauses go inside segment texts while
// they are merged. It is a private-use character, so typed text never holds
// it once CleanTypedText has run.
inline constexpr WChar kClauseMarker = u'\uE000';

// The typed text made safe for the log and the merge: control characters
// (below U+0020, and U+007F) become blanks, so a sentence cannot add lines to
// the trace log, and the clause marker is removed.
WString CleanTypedText(const WString& text);

// The typed text as the analysis reads it, after CleanTypedText:
//  - a byte-order mark or zero-width space anywhere is dropped;
//  - a no-break, thin, ideographic or other wide space, and a tab, is a blank;
//  - runs of blanks are one blank, and the text is trimmed of blanks;
//  - curly and prime quotes are the ASCII apostrophe or double quote;
//  - Arabic-Indic, Urdu (extended Arabic-Indic) and full-width digits are
//    ASCII digits.
// A word (between blanks) that still holds a unit outside ASCII (a symbol,
// an emoji, a letter of another script) is taken out of the text and added
// to setAside, since the analysis has no reading for it.
WString PrepareSentenceText(const WString& typed, std::vector<WString>& setAside);

// Walks back from the last unit while it is '.', ':', ';', '!' or '|', never
// removing the first unit, and keeps what stays. An empty text stays empty.
void TrimTrailingPunctuationOf(WString& sentence);

// The mark that ends the typed sentence: '?' or '.' ('!' counts as '.'),
// read past closing quotes and brackets and trailing blanks; 0 when the
// sentence ends in none of them.
WChar TypedEndMarkOf(const WString& sentence);

// A copy in which each byte went through tolower (the "C" locale).
std::string ToLowerNarrow(const std::string& text);
