// The token sequence that segmentation rules look at: for every token its
// reading list (lexicon readings, each with a tag id and a weight) and the
// token itself. The two sequences are parallel. Neither the readings nor the
// tokens are owned here: they belong to the lexicon and to the caller.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CELexicalEntry;
class CToken;

using SegmentReadingList = std::vector<CELexicalEntry*>;
using SegmentReadingLists = std::vector<SegmentReadingList>;
using SegmentTokens = std::vector<CToken*>;

// Turns a tag name of the rule file into the tag id that readings carry
// (their part-of-speech id); 0 for a name the tag list does not know. The
// engine passes the tagger's tag list; tests pass their own.
using TagIdLookup = std::function<uint16_t(const std::string& tagName)>;

// The tag id a reading carries.
uint16_t ReadingTagId(const CELexicalEntry* reading);

// The first reading of the list with the highest weight; null for an empty
// list. A later reading wins only with a strictly higher weight.
const CELexicalEntry* BestReading(const SegmentReadingList& readings);

// Whether some reading of the list carries the tag. Tag 0 stands for an
// unknown tag name and is carried by no reading.
bool HasReadingWithTag(const SegmentReadingList& readings, uint16_t tagId);

// Number of token positions both sequences cover.
size_t TokenCount(const SegmentReadingLists& readings, const SegmentTokens& tokens);
