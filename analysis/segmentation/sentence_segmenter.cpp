#include "analysis/segmentation/sentence_segmenter.h"

#include <algorithm>

#include "core/token.h"

namespace {

constexpr WChar kUrduComma = 0x060C;

bool IsCutLabel(const WString& label) { return label == u"F" || label == u"S"; }

bool IsComma(const CToken* token) { return token != nullptr && token->Text == u","; }

// Moves the first count elements (at most all) of from to the end of to.
template <typename T>
void MoveFront(std::vector<T>& from, std::vector<T>& to, size_t count) {
  count = std::min(count, from.size());
  to.insert(to.end(), from.begin(), from.begin() + static_cast<std::ptrdiff_t>(count));
  from.erase(from.begin(), from.begin() + static_cast<std::ptrdiff_t>(count));
}

template <typename T>
void DropFront(std::vector<T>& items, size_t count) {
  items.erase(items.begin(), items.begin() + static_cast<std::ptrdiff_t>(std::min(count, items.size())));
}

}  // namespace

CSentenceSegmenter::~CSentenceSegmenter() { ClearSegments(); }

std::vector<CSentenceSegment*> CSentenceSegmenter::Segment(SegmentReadingLists& readingLists, SegmentTokens& tokens) {
  sentenceStart_ = segments.size();
  if (readingLists.size() == tokens.size()) {
    SplitRecursive(readingLists, tokens, nullptr);
  } else {
    AddFinalSegment(readingLists, tokens, nullptr);
  }
  return segments;
}

void CSentenceSegmenter::ClearSegments() {
  for (CSentenceSegment* segment : segments) delete segment;
  segments.clear();
  sentenceStart_ = 0;
}

std::unique_ptr<CSegmentMatch> CSentenceSegmenter::FindFirstCut(const SegmentReadingLists& readingLists,
                                                                const SegmentTokens& tokens) const {
  size_t count = TokenCount(readingLists, tokens);
  for (size_t index = 0; index < rules.size(); ++index) {
    std::unique_ptr<CSegmentMatch> match = rules[index]->Match(readingLists, tokens);
    if (!match) continue;
    // An "F" cut that takes the piece up to its last token leaves nothing
    // after it: cutting there again and again would never end.
    if (match->label == u"F" && size_t{match->position} + match->length >= count) continue;
    match->ruleIndex = static_cast<uint16_t>(index);
    return match;
  }
  return nullptr;
}

void CSentenceSegmenter::SplitRecursive(SegmentReadingLists& readingLists, SegmentTokens& tokens,
                                        const CSegmentMatch* parent) {
  std::unique_ptr<CSegmentMatch> match = FindFirstCut(readingLists, tokens);
  if (!match) {
    AddFinalSegment(readingLists, tokens, parent);
    return;
  }
  // The head only carries the tokens before the cut; its pieces become the
  // segments, the last of them ended by this cut.
  std::unique_ptr<CSentenceSegment> head(SplitAtMatch(readingLists, tokens, match.get()));
  SplitRecursive(head->readingLists, head->tokens, match.get());
  SplitRecursive(readingLists, tokens, parent);
}

CSentenceSegment* CSentenceSegmenter::SplitAtMatch(SegmentReadingLists& readingLists, SegmentTokens& tokens,
                                                   CSegmentMatch* match) {
  auto* segment = new CSentenceSegment;
  segment->ruleIndex = match->ruleIndex;
  ApplyRule(readingLists, match);
  size_t position = match->position;
  size_t length = match->length;
  if (match->label == u"F") {
    MoveFront(readingLists, segment->readingLists, position + length);
    MoveFront(tokens, segment->tokens, position + length);
  } else {
    MoveFront(readingLists, segment->readingLists, position);
    MoveFront(tokens, segment->tokens, position);
  }
  if (!IsCutLabel(match->label)) {
    segment->joiningText = match->label;
    DropFront(readingLists, length);
    DropFront(tokens, length);
  }
  MoveEdgeCommas(segment);
  return segment;
}

void CSentenceSegmenter::AddFinalSegment(SegmentReadingLists& readingLists, SegmentTokens& tokens,
                                         const CSegmentMatch* parent) {
  auto segment = std::make_unique<CSentenceSegment>();
  segment->readingLists = readingLists;
  segment->tokens = tokens;
  if (parent != nullptr) {
    segment->ruleIndex = parent->ruleIndex;
    if (!IsCutLabel(parent->label)) segment->joiningText = parent->label;
  }
  MoveEdgeCommas(segment.get());
  // A piece left without tokens (a cut at the very end of the sentence, or
  // a lone comma) would give the parser nothing to parse.
  if (segment->tokens.empty()) return;
  segments.push_back(segment.release());
}

void CSentenceSegmenter::ApplyRule(SegmentReadingLists& readingLists, const CSegmentMatch* match) {
  if (match == nullptr || match->ruleIndex >= rules.size()) return;
  rules[match->ruleIndex]->Apply(readingLists, *match);
}

void CSentenceSegmenter::MoveEdgeCommas(CSentenceSegment* segment) {
  if (!segment->tokens.empty() && IsComma(segment->tokens.back())) {
    segment->tokens.pop_back();
    if (segment->readingLists.size() > segment->tokens.size()) segment->readingLists.pop_back();
    segment->joiningText.insert(segment->joiningText.begin(), kUrduComma);
  }
  if (!segment->tokens.empty() && IsComma(segment->tokens.front())) {
    segment->tokens.erase(segment->tokens.begin());
    if (!segment->readingLists.empty()) segment->readingLists.erase(segment->readingLists.begin());
    // A comma that opens the sentence has no earlier segment to mark.
    if (segments.size() > sentenceStart_) segments.back()->joiningText.push_back(kUrduComma);
  }
}
