// Cuts long sentences into segments by the rules of the segmentation rule
// file. The first rule (in file order) that applies to a piece cuts it; both
// halves are cut again the same way. Commas at the edges of segments leave
// the tokens and become the Urdu comma U+060C in the joining texts.
//
// Rule file: UTF-16LE text, one block of five lines per rule: a header
// (comment), the pattern, the conditions ("#" for none), the label and a
// blank line (optional after the last block). Lines end with CR LF, LF or
// CR. A malformed block is reported with the line at fault and skipped up to
// the next blank line; the blocks after it are read as usual. A file that
// ends inside a block is reported too, and the rules before it remain.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "analysis/segmentation/segment_match.h"
#include "analysis/segmentation/segment_readings.h"
#include "analysis/segmentation/segment_rule.h"
#include "analysis/segmentation/sentence_segment.h"

class CSentenceSegmenter {
 public:
  // The rule index of a pattern line that the file does not have; it equals
  // no segment's rule index.
  static constexpr uint16_t kNoRule = 0xFFFF;

  // Loads the rules of the file; tag names become ids through tagIds.
  CSentenceSegmenter(const std::string& fileName, const TagIdLookup& tagIds);
  ~CSentenceSegmenter();
  CSentenceSegmenter(const CSentenceSegmenter&) = delete;
  CSentenceSegmenter& operator=(const CSentenceSegmenter&) = delete;

  // Cuts one sentence and returns the segment list (which also holds the
  // segments of earlier calls not yet cleared). The inputs are consumed:
  // afterwards they hold what remained for the last segment. Segments do not
  // own their tokens or readings. Sequences of different lengths are not cut:
  // they become one segment.
  std::vector<CSentenceSegment*> Segment(SegmentReadingLists& readingLists, SegmentTokens& tokens);
  // Deletes the segments of the list; pointers returned by Segment die here.
  void ClearSegments();

  uint16_t pRuleIndex = kNoRule;                     // the rule whose pattern line is "p:#"
  uint16_t andRuleIndex = kNoRule;                   // the rule whose pattern line is "and:coord_conj"
  std::vector<CSentenceSegment*> segments;           // owned, in sentence order
  std::vector<std::unique_ptr<CSegmentRule>> rules;  // in file order

  // The recursive steps of Segment.
  void SplitRecursive(SegmentReadingLists& readingLists, SegmentTokens& tokens, const CSegmentMatch* parent);
  // Moves the tokens before the cut into a new segment, which the caller owns.
  CSentenceSegment* SplitAtMatch(SegmentReadingLists& readingLists, SegmentTokens& tokens, CSegmentMatch* match);
  void AddFinalSegment(SegmentReadingLists& readingLists, SegmentTokens& tokens, const CSegmentMatch* parent);
  void ApplyRule(SegmentReadingLists& readingLists, const CSegmentMatch* match);
  void MoveEdgeCommas(CSentenceSegment* segment);

 private:
  void LoadRules(const std::string& fileName, const TagIdLookup& tagIds);
  // The first rule that cuts the piece, with its index set; null for none.
  std::unique_ptr<CSegmentMatch> FindFirstCut(const SegmentReadingLists& readingLists,
                                              const SegmentTokens& tokens) const;

  // Segments before this index belong to earlier sentences: a comma that
  // opens a sentence must not mark them.
  size_t sentenceStart_ = 0;
};
