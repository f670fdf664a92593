// The words of a generated sentence as its terminals give them, and the
// text they make. Urdu places the negation of a compound verb (a noun,
// adjective or stem with a light verb: کام کرنا، یاد رکھنا، داخل ہونا) before
// the light verb, inside the compound: کام نہیں کرتی، یاد نہیں رکھ سکتا،
// فکر نہ کریں. The grammar writes the compound as one verb terminal after
// the negation, so the joining moves the negation into it.
#pragma once

#include <vector>

#include "core/wide_string.h"

struct SentenceWord {
  WString category;  // the terminal's part of speech in the Urdu grammar
  WString word;      // its written form; a compound verb's parts stand with blanks
};

// The words joined, each after one blank (the sentence starts with a
// blank). A negation (neg or impneg) directly before a verb whose form has
// several words goes before the verb's last word (before the word ahead
// of a future affix گا، گی، گے).
WString JoinSentenceWords(const std::vector<SentenceWord>& words);
