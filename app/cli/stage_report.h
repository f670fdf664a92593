// The developer's report of how far a translation got, one line per input
// line on standard error (translator --stages), read by tools/quality.py:
//   "Stage: STAGE" and, when the Urdu structures hold words that no mapping
//   lexicon gave (spelt in Urdu letters by the character rules), " rewritten:"
//   and those words, each after a blank.
// STAGE is the least stage any segment reached: "none" (not analysed),
// "analysed" (analysed but not mapped), "mapped" (mapped but not generated),
// "partial" (generated, but words of the segment or of the typed text are
// not in the output) or "generated".
#pragma once

#include <string>
#include <vector>

#include "core/wide_string.h"

struct CTranslationResult;
struct CTreeView;

// The PRED values of the tree's items that are not quoted lexicon words and
// not numbers in digits, in tree order.
std::vector<WString> RewrittenPredicates(const CTreeView& tree);

// The report line, without its line end.
std::string StageReport(const CTranslationResult& result);
