#include "analysis/segmentation/segment_readings.h"

#include <algorithm>

#include "resources/english/e_lexicon_entry.h"

uint16_t ReadingTagId(const CELexicalEntry* reading) { return reading->posId; }

const CELexicalEntry* BestReading(const SegmentReadingList& readings) {
  const CELexicalEntry* best = nullptr;
  for (const CELexicalEntry* reading : readings) {
    if (reading == nullptr) continue;
    if (best == nullptr || reading->weight > best->weight) best = reading;
  }
  return best;
}

bool HasReadingWithTag(const SegmentReadingList& readings, uint16_t tagId) {
  if (tagId == 0) return false;
  return std::any_of(readings.begin(), readings.end(), [tagId](const CELexicalEntry* reading) {
    return reading != nullptr && ReadingTagId(reading) == tagId;
  });
}

size_t TokenCount(const SegmentReadingLists& readings, const SegmentTokens& tokens) {
  return std::min(readings.size(), tokens.size());
}
