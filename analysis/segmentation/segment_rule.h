// One segmentation rule: a pattern, its exceptions and a label that says how
// the sentence is cut where the rule applies ("F": after the matched tokens,
// "S": before them, any other text: the matched tokens are dropped and the
// text joins the two translations).
#pragma once

#include <memory>

#include "analysis/segmentation/segment_condition.h"
#include "analysis/segmentation/segment_match.h"
#include "analysis/segmentation/segment_pattern.h"
#include "analysis/segmentation/segment_readings.h"
#include "core/wide_string.h"

class CSegmentRule {
 public:
  // Reads the pattern line (elements joined by '*'); false when an element
  // is malformed or the line is empty.
  bool ParsePattern(const WString& line, const TagIdLookup& tagIds);
  // Reads the condition line (alternatives joined by '|'); false when an
  // alternative is malformed. The loader does not call it for "#".
  bool ParseConditions(const WString& line, const TagIdLookup& tagIds);
  // The label line, without surrounding blanks, CR and LF.
  void SetLabel(const WString& line);

  // The first pattern match around which no exception holds, or null.
  std::unique_ptr<CSegmentMatch> Match(const SegmentReadingLists& readings, const SegmentTokens& tokens) const;
  // Narrows the readings once the rule was chosen at the match: the matched
  // tokens keep the readings the pattern asked for, and the tokens the
  // exceptions look at lose the readings that would have made them hold.
  void Apply(SegmentReadingLists& readings, const CSegmentMatch& match) const;

  WString label;
  CSegmentPattern pattern;
  CSegmentConditionSet conditions;
};
