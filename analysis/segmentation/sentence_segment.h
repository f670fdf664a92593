// One segment of a sentence: the tokens (with their reading lists) that are
// parsed and translated by themselves, and the text that joins the
// segment's translation to the next one's.
#pragma once

#include "analysis/segmentation/segment_readings.h"
#include "core/wide_string.h"

class CSentenceSegment {
 public:
  CSentenceSegment() = default;

  SegmentReadingLists readingLists;  // one list per token, parallel to tokens
  SegmentTokens tokens;              // not owned
  // The label of the rule whose cut ends the segment (unless "F" or "S"),
  // with U+060C marks for commas moved out of the tokens.
  WString joiningText;
  WString translation;  // written by the translation pipeline
  int ruleIndex = -1;   // the rule whose cut ends the segment; -1 for none
};
