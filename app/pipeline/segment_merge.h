// Joining the translations of a sentence's segments into one output text.
//
// A segment cut off by the clause rule ("p:#") is a clause that belongs
// inside the text that follows it: its translation is collected (later
// collected clauses go in front of earlier ones) and inserted where the
// clause marker stands in the output, that is in front of the translation of
// the segment that was appended after the last insertion. The coordination
// rule ("and:coord_conj") ends a run of clauses without collecting the
// conjoined segment. Joining texts (commas, conjunctions) follow their
// segment, or follow the inserted clauses when they were collected.
#pragma once

#include <cstddef>
#include <vector>

#include "core/wide_string.h"

// What the merge reads of a segment (and the marker it puts into the
// translation).
struct CSegmentText {
  WString translation;
  WString joiningText;
  int ruleIndex = -1;  // the rule whose cut ends the segment; -1 for none
};

// The merged text: markers and line feeds removed, runs of blanks made one,
// blanks, CRs and LFs trimmed at both ends. clauseRule and coordinationRule
// are the rule indexes of "p:#" and "and:coord_conj" (any value that is no
// segment's index when the rule file lacks one). typedEndMark is the mark
// that ended the English sentence ('?', '.', or 0 for none, see
// TypedEndMarkOf): the one final mark of a marked text is ؟ after '?' and ۔
// after '.'; without one, ؟ when a segment asked.
WString MergeSegmentTexts(std::vector<CSegmentText>& segments, int clauseRule, int coordinationRule,
                          WChar typedEndMark = 0);
