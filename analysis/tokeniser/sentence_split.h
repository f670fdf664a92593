// Cutting a typed text into its sentences, before each is tokenised on its
// own. The translate road and the coverage tool cut a line the same way, so
// a line of several sentences is analysed sentence by sentence in both.
#pragma once

#include <functional>
#include <vector>

#include "core/wide_string.h"

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
