// What a segment's translation leaves out, found at the end of the road and
// named for the user: the PRED nodes of the Urdu structure that the
// generated sentence does not say, each named by the English word mapped
// into it, and any word of the sentence that is a symbol of the grammar
// rather than Urdu, which is taken out of the sentence.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "core/wide_string.h"

class CFSNode;
struct CSegmentOutcome;

// The name of each left-out node, each once, in order: the English word
// that was mapped into it or, failing that, into the nearest node above it
// (englishOf, by node id; null when none), or else its Urdu word; "not" for
// a negation (a node without a PRED).
std::vector<WString> LeftOutWords(const std::vector<const CFSNode*>& leftOut,
                                  const std::function<const WString*(uint32_t nodeId)>& englishOf);

// The words that every list holds, in the order of the first; none when a
// list is missing (null) or there is no list.
std::vector<WString> WordsDroppedByEvery(const std::vector<const std::vector<WString>*>& lists);

// Appends the word unless it is empty or already there.
void AddWordOnce(std::vector<WString>& words, WString word);

// Takes every word that holds a Latin letter out of the Urdu text (such a
// word is a grammar symbol or an unspelt English word, never Urdu), except
// an alphanumeric code of letters and digits, which the Urdu writes as it
// stands; returns the words taken out.
std::vector<WString> RemoveLatinWords(WString& text);

// "Not translated: " and the words joined by ", ".
WString NotTranslatedMessage(const std::vector<WString>& words);

// Shows the message that names what the segment does not translate: the
// words it left out, or, when nothing was generated, its English text.
// Nothing for a segment translated whole.
void ReportSegmentLoss(const CSegmentOutcome& outcome);
