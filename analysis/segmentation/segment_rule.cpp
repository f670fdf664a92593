#include "analysis/segmentation/segment_rule.h"

#include "core/text_reading.h"

bool CSegmentRule::ParsePattern(const WString& line, const TagIdLookup& tagIds) {
  CSegmentPattern parsed;
  for (const WString& piece : SplitSegmentRuleText(line, u'*')) {
    if (!parsed.AddElement(piece, tagIds)) return false;
  }
  pattern = parsed;
  return true;
}

bool CSegmentRule::ParseConditions(const WString& line, const TagIdLookup& tagIds) {
  CSegmentConditionSet parsed;
  for (const WString& piece : SplitSegmentRuleText(line, u'|')) {
    if (!parsed.AddAlternative(piece, tagIds)) return false;
  }
  conditions = parsed;
  return true;
}

void CSegmentRule::SetLabel(const WString& line) {
  label = line;
  TrimSpaceCrLf(label);
}

std::unique_ptr<CSegmentMatch> CSegmentRule::Match(const SegmentReadingLists& readings,
                                                   const SegmentTokens& tokens) const {
  // Each search starts after the previous match, so the loop ends.
  uint16_t position = pattern.FindMatch(readings, tokens, 0);
  while (position != 0 && conditions.AnyHolds(readings, tokens, position)) {
    position = pattern.FindMatch(readings, tokens, position);
  }
  if (position == 0) return nullptr;
  auto match = std::make_unique<CSegmentMatch>();
  match->position = position;
  match->length = pattern.Size();
  match->label = label;
  return match;
}

void CSegmentRule::Apply(SegmentReadingLists& readings, const CSegmentMatch& match) const {
  pattern.Apply(readings, match);
  conditions.ApplyAll(readings, match);
}
