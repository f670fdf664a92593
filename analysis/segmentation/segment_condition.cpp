#include "analysis/segmentation/segment_condition.h"

#include <algorithm>

#include "core/text_reading.h"

std::vector<WString> SplitSegmentRuleText(const WString& text, WChar separator) {
  std::vector<WString> pieces(1);
  for (WChar unit : text) {
    if (unit == separator) {
      pieces.emplace_back();
    } else {
      pieces.back().push_back(unit);
    }
  }
  return pieces;
}

bool CSegmentCondition::Parse(const WString& text, const TagIdLookup& tagIds) {
  WString condition = text;
  TrimSpaceCrLf(condition);
  size_t colon = condition.find(u':');
  if (colon == WString::npos) return false;
  size_t sign = condition.find_first_of(u"+-", colon + 1);
  if (sign == WString::npos || sign + 1 >= condition.size()) return false;
  WChar digit = condition[sign + 1];
  if (digit < u'0' || digit > u'9') return false;
  offset = static_cast<uint16_t>(digit - u'0');
  forward = condition[sign] == u'+' ? 1 : 0;
  return Set(condition.substr(0, colon), condition.substr(colon + 1, sign - colon - 1), tagIds);
}

bool CSegmentCondition::TargetPosition(size_t position, size_t count, size_t& target) const {
  if (forward) {
    target = position + offset;
    return target < count;
  }
  if (offset > position) return false;
  target = position - offset;
  return target < count;
}

bool CSegmentCondition::Holds(const SegmentReadingLists& readings, const SegmentTokens& tokens,
                              uint16_t position) const {
  size_t target = 0;
  if (!TargetPosition(position, TokenCount(readings, tokens), target)) return false;
  return Matches(readings[target], tokens[target]);
}

void CSegmentCondition::Apply(SegmentReadingLists& readings, const CSegmentMatch& match) const {
  size_t target = 0;
  if (!TargetPosition(match.position, readings.size(), target)) return;
  SegmentReadingList& list = readings[target];
  uint16_t tag = TagId();
  if (list.size() < 2 || tag == 0) return;
  SegmentReadingList kept;
  for (CELexicalEntry* reading : list) {
    if (reading == nullptr || ReadingTagId(reading) != tag) kept.push_back(reading);
  }
  // Pruning narrows a token's readings; it must never leave it without any.
  if (kept.empty()) return;
  list = kept;
}

bool CSegmentConditionList::Parse(const WString& text, const TagIdLookup& tagIds) {
  std::vector<CSegmentCondition> parsed;
  for (const WString& piece : SplitSegmentRuleText(text, u'*')) {
    CSegmentCondition condition;
    if (!condition.Parse(piece, tagIds)) return false;
    parsed.push_back(condition);
  }
  conditions.insert(conditions.end(), parsed.begin(), parsed.end());
  return true;
}

bool CSegmentConditionList::AllHold(const SegmentReadingLists& readings, const SegmentTokens& tokens,
                                    uint16_t position) const {
  return std::all_of(conditions.begin(), conditions.end(),
                     [&](const CSegmentCondition& condition) { return condition.Holds(readings, tokens, position); });
}

void CSegmentConditionList::ApplyAll(SegmentReadingLists& readings, const CSegmentMatch& match) const {
  for (const CSegmentCondition& condition : conditions) condition.Apply(readings, match);
}

bool CSegmentConditionSet::AddAlternative(const WString& text, const TagIdLookup& tagIds) {
  CSegmentConditionList alternative;
  if (!alternative.Parse(text, tagIds)) return false;
  alternatives.push_back(alternative);
  return true;
}

bool CSegmentConditionSet::AnyHolds(const SegmentReadingLists& readings, const SegmentTokens& tokens,
                                    uint16_t position) const {
  return std::any_of(alternatives.begin(), alternatives.end(), [&](const CSegmentConditionList& alternative) {
    return alternative.AllHold(readings, tokens, position);
  });
}

void CSegmentConditionSet::ApplyAll(SegmentReadingLists& readings, const CSegmentMatch& match) const {
  for (const CSegmentConditionList& alternative : alternatives) alternative.ApplyAll(readings, match);
}
