// The exceptions of a segmentation rule. A condition is an element with an
// offset, "TAG:#+n", "TAG:#-n", "WORD:TAG+n" or "WORD:TAG-n": the element
// test on the token n places after (+) or before (-) the match. A condition
// list holds when all its conditions hold; a condition set holds when one of
// its lists (alternatives) holds, and then the rule does not apply there.
#pragma once

#include <cstdint>
#include <vector>

#include "analysis/segmentation/segment_match.h"
#include "analysis/segmentation/segment_pattern.h"
#include "analysis/segmentation/segment_readings.h"
#include "core/wide_string.h"

class CSegmentCondition : public CSegmentWordTag {
 public:
  // Reads one condition (trimmed of blanks, CR and LF first); false when it
  // is malformed: no ':', no '+' or '-' after it, no digit after the sign, or
  // an empty word or tag part. Only the one digit after the sign counts.
  bool Parse(const WString& text, const TagIdLookup& tagIds);
  // The element test on the token at the offset from position; false when
  // that token lies outside the sequence.
  bool Holds(const SegmentReadingLists& readings, const SegmentTokens& tokens, uint16_t position) const;
  // Once the rule is chosen, removes the readings that carry the condition's
  // tag from the token at the offset from the match (the word is not
  // compared). A list of fewer than two readings is left alone, and so is a
  // list that would lose every reading.
  void Apply(SegmentReadingLists& readings, const CSegmentMatch& match) const;

  uint16_t offset = 0;
  uint8_t forward = 0;  // 1 for '+', 0 for '-'

 private:
  // The token position the condition looks at, when it lies in [0, count).
  bool TargetPosition(size_t position, size_t count, size_t& target) const;
};

class CSegmentConditionList {
 public:
  // Reads conditions joined by '*'; false when one is malformed.
  bool Parse(const WString& text, const TagIdLookup& tagIds);
  // Every condition holds at the position (an empty list holds).
  bool AllHold(const SegmentReadingLists& readings, const SegmentTokens& tokens, uint16_t position) const;
  void ApplyAll(SegmentReadingLists& readings, const CSegmentMatch& match) const;

  std::vector<CSegmentCondition> conditions;
};

class CSegmentConditionSet {
 public:
  // Appends one alternative; false (nothing appended) when it is malformed.
  bool AddAlternative(const WString& text, const TagIdLookup& tagIds);
  // Some alternative holds entirely at the position (an empty set never does).
  bool AnyHolds(const SegmentReadingLists& readings, const SegmentTokens& tokens, uint16_t position) const;
  void ApplyAll(SegmentReadingLists& readings, const CSegmentMatch& match) const;

  std::vector<CSegmentConditionList> alternatives;
};

// The pieces of text between the separators, each as written (untrimmed);
// empty pieces are kept, so "a**b" gives three pieces.
std::vector<WString> SplitSegmentRuleText(const WString& text, WChar separator);
