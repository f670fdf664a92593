#include "analysis/segmentation/segment_pattern.h"

#include <algorithm>
#include <limits>

#include "core/text_reading.h"
#include "core/token.h"

namespace {

// Match positions are 16-bit; tokens beyond are never matched.
constexpr size_t kMaxPositions = size_t{std::numeric_limits<uint16_t>::max()} + 1;

}  // namespace

bool CSegmentWordTag::Set(const WString& wordPart, const WString& tagPart, const TagIdLookup& tagIds) {
  if (wordPart.empty() || tagPart.empty()) return false;
  if (tagPart == u"#") {
    wordGiven = 0;
    anyWordTagId = tagIds(WideToNarrow(wordPart));
    return true;
  }
  wordGiven = 1;
  word = wordPart;
  wordTagId = tagIds(WideToNarrow(tagPart));
  return true;
}

bool CSegmentWordTag::Matches(const SegmentReadingList& readings, const CToken* token) const {
  if (!wordGiven) {
    const CELexicalEntry* best = BestReading(readings);
    return anyWordTagId != 0 && best != nullptr && ReadingTagId(best) == anyWordTagId;
  }
  return token != nullptr && token->Text == word && HasReadingWithTag(readings, wordTagId);
}

bool CSegmentPatternElement::Parse(const WString& text, const TagIdLookup& tagIds) {
  WString element = text;
  TrimSpaceCrLf(element);
  size_t colon = element.find(u':');
  if (colon == WString::npos) return false;
  return Set(element.substr(0, colon), element.substr(colon + 1), tagIds);
}

void CSegmentPatternElement::Apply(SegmentReadingList& readings) const {
  uint16_t tag = TagId();
  if (readings.size() < 2 || tag == 0) return;
  auto kept = std::find_if(readings.begin(), readings.end(),
                           [tag](const CELexicalEntry* r) { return r != nullptr && ReadingTagId(r) == tag; });
  if (kept == readings.end()) return;
  CELexicalEntry* reading = *kept;
  readings.assign(1, reading);
}

bool CSegmentPattern::AddElement(const WString& text, const TagIdLookup& tagIds) {
  CSegmentPatternElement element;
  if (!element.Parse(text, tagIds)) return false;
  elements.push_back(element);
  return true;
}

uint16_t CSegmentPattern::Size() const {
  return static_cast<uint16_t>(std::min<size_t>(elements.size(), std::numeric_limits<uint16_t>::max()));
}

bool CSegmentPattern::MatchesAt(const SegmentReadingLists& readings, const SegmentTokens& tokens, size_t position,
                                size_t count) const {
  if (position + elements.size() > count) return false;
  for (size_t i = 0; i < elements.size(); ++i) {
    if (!elements[i].Matches(readings[position + i], tokens[position + i])) return false;
  }
  return true;
}

uint16_t CSegmentPattern::FindMatch(const SegmentReadingLists& readings, const SegmentTokens& tokens,
                                    uint16_t start) const {
  size_t count = TokenCount(readings, tokens);
  if (elements.empty() || count == 0) return 0;
  // A first search leaves the last token out as well as the first.
  size_t end = std::min(start == 0 ? count - 1 : count, kMaxPositions);
  for (size_t position = size_t{start} + 1; position < end; ++position) {
    if (MatchesAt(readings, tokens, position, count)) return static_cast<uint16_t>(position);
  }
  return 0;
}

void CSegmentPattern::Apply(SegmentReadingLists& readings, const CSegmentMatch& match) const {
  for (size_t i = 0; i < elements.size(); ++i) {
    size_t position = size_t{match.position} + i;
    if (position >= readings.size()) return;
    elements[i].Apply(readings[position]);
  }
}
