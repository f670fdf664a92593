// Small text steps of the translate road: cleaning the typed text, cutting
// it into its sentences and trimming each, and the lower-casing that the
// developer drivers use.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/wide_string.h"

// The unit that marks where collected clauses go inside segment texts while
// they are merged. It is a private-use character, so typed text never holds
// it once CleanTypedText has run.
inline constexpr WChar kClauseMarker = u'\uE000';

// The typed text made safe for the log and the merge: control characters
// (below U+0020, and U+007F) become blanks, so a sentence cannot add lines to
// the trace log, and the clause marker is removed.
WString CleanTypedText(const WString& text);

// Whether a word (without its dot) is an abbreviation, as the tokeniser
// reads "Mr" in "Mr. Smith".
using AbbreviationTest = std::function<bool(const WString& word)>;

// The typed text cut into its sentences, in order. A sentence ends at a run
// of '.', '?' and '!' (with any closing quotes or brackets after it) that is
// followed by a blank; a dot right after an abbreviation ends nothing, and a
// dot between digits ("3.5") is never followed by a blank. Each sentence
// keeps its end punctuation and loses its outer blanks; blank pieces are
// left out, so a text of blanks gives no sentence.
std::vector<WString> SplitTypedSentences(const WString& text, const AbbreviationTest& isAbbreviation);

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
