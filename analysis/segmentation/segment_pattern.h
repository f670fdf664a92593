// The pattern of a segmentation rule: elements that must match consecutive
// tokens. An element is written "TAG:#" (any word whose best reading has the
// tag) or "WORD:TAG" (exactly that word, with some reading of that tag).
#pragma once

#include <cstdint>
#include <vector>

#include "analysis/segmentation/segment_match.h"
#include "analysis/segmentation/segment_readings.h"
#include "core/wide_string.h"

// The word/tag test shared by pattern elements and conditions.
struct CSegmentWordTag {
  WString word;
  uint16_t wordTagId = 0;     // tag of a "WORD:TAG" test
  uint16_t anyWordTagId = 0;  // tag of a "TAG:#" test
  uint8_t wordGiven = 0;      // 1 for "WORD:TAG", 0 for "TAG:#"

  // Fills the test from the text before and after the ':'; false when either
  // part is empty.
  bool Set(const WString& wordPart, const WString& tagPart, const TagIdLookup& tagIds);
  // "TAG:#": the token's best reading has the tag. "WORD:TAG": the token's
  // text is the word (letter case counts) and some reading has the tag.
  bool Matches(const SegmentReadingList& readings, const CToken* token) const;
  // The tag this test is about: the word tag or the any-word tag.
  uint16_t TagId() const { return wordGiven ? wordTagId : anyWordTagId; }
};

class CSegmentPatternElement : public CSegmentWordTag {
 public:
  // Reads one element (trimmed of blanks, CR and LF first); false when it is
  // malformed (no ':', or an empty word or tag part).
  bool Parse(const WString& text, const TagIdLookup& tagIds);
  // Keeps only the first reading that carries the element's tag, once the
  // rule is chosen; a list of fewer than two readings is left alone, and so
  // is a list without such a reading, so no list is ever emptied.
  void Apply(SegmentReadingList& readings) const;
};

class CSegmentPattern {
 public:
  // Appends one element; false (nothing appended) when it is malformed.
  bool AddElement(const WString& text, const TagIdLookup& tagIds);

  // The next position after start where every element matches on
  // consecutive tokens; 0 for none. A first search (start 0) tries neither
  // the first nor the last token; a later one starts after the previous
  // match.
  uint16_t FindMatch(const SegmentReadingLists& readings, const SegmentTokens& tokens, uint16_t start) const;
  uint16_t Size() const;

  // Applies element i to the reading list of token match.position + i.
  void Apply(SegmentReadingLists& readings, const CSegmentMatch& match) const;

  std::vector<CSegmentPatternElement> elements;

 private:
  bool MatchesAt(const SegmentReadingLists& readings, const SegmentTokens& tokens, size_t position, size_t count) const;
};
