#include "app/pipeline/segment_merge.h"

#include <algorithm>

#include "app/pipeline/sentence_text.h"
#include "core/text_reading.h"

namespace {

constexpr WChar kFullStop = u'\u06D4';      // ۔
constexpr WChar kQuestionMark = u'\u061F';  // ؟

void RemoveAll(WString& text, WChar unit) { text.erase(std::remove(text.begin(), text.end(), unit), text.end()); }

bool IsClauseMark(WChar unit) { return unit == u'\u060C' || unit == u'\u061B'; }  // ، ؛

// Runs of blanks become one, and a blank before the Urdu comma or semicolon
// goes: the mark joins the word before it, as the final marks do.
void CollapseBlankRuns(WString& text) {
  WString collapsed;
  collapsed.reserve(text.size());
  for (WChar unit : text) {
    if (unit == u' ' && !collapsed.empty() && collapsed.back() == u' ') continue;
    if (IsClauseMark(unit) && !collapsed.empty() && collapsed.back() == u' ') collapsed.pop_back();
    collapsed.push_back(unit);
  }
  text = std::move(collapsed);
}

// The state of one merge walk.
struct MergeState {
  WString output;
  WString pending;  // collected clauses, latest first
  WString tail;     // the joining text of the last collected clause
  bool collecting = false;
};

void AppendSegment(MergeState& state, CSegmentText& segment) {
  RemoveAll(state.output, kClauseMarker);
  if (segment.translation.find(kClauseMarker) == WString::npos) segment.translation.insert(0, 1, kClauseMarker);
  state.output += segment.translation;
  if (!segment.joiningText.empty()) state.output += u" " + segment.joiningText;
  state.output += u" ";
}

void CollectClause(MergeState& state, const CSegmentText& segment) {
  state.pending = segment.translation + u" " + state.pending;
  if (!segment.joiningText.empty()) state.tail = segment.joiningText;
}

void InsertCollectedClauses(MergeState& state) {
  const size_t marker = state.output.find(kClauseMarker);
  state.output.insert(marker == WString::npos ? 0 : marker, state.pending);
  state.pending.clear();
  if (!state.tail.empty()) {
    state.output += state.tail + u" ";
    state.tail.clear();
  }
  state.collecting = false;
}

// Each segment's translation is a sentence with its final mark; the merged
// text is one sentence, so the marks come off the segments and one goes at
// its end. The writer's own mark says whether the sentence asks: a clause
// the analysis read as a question ("when the rain stopped, ...") does not
// make a statement a question. Without a typed mark, the question mark
// when a segment asked, else the full stop.
WString TakeFinalMarks(std::vector<CSegmentText>& segments, WChar typedEndMark) {
  WString mark;
  for (CSegmentText& segment : segments) {
    WString& text = segment.translation;
    TrimSpaceCrLf(text);
    if (text.empty() || (text.back() != kFullStop && text.back() != kQuestionMark)) continue;
    if (mark.empty() || text.back() == kQuestionMark) mark = WString(1, text.back());
    text.pop_back();
  }
  if (!mark.empty() && typedEndMark == u'?') mark = WString(1, kQuestionMark);
  if (!mark.empty() && typedEndMark == u'.') mark = WString(1, kFullStop);
  return mark;
}

}  // namespace

WString MergeSegmentTexts(std::vector<CSegmentText>& segments, int clauseRule, int coordinationRule,
                          WChar typedEndMark) {
  const WString finalMark = TakeFinalMarks(segments, typedEndMark);
  MergeState state;
  for (size_t i = 0; i < segments.size(); ++i) {
    CSegmentText& segment = segments[i];
    if (state.collecting) {
      CollectClause(state, segment);
    } else {
      AppendSegment(state, segment);
    }
    const CSegmentText& next = i + 1 < segments.size() ? segments[i + 1] : segment;
    if (next.ruleIndex != coordinationRule && segment.ruleIndex == clauseRule) {
      state.collecting = true;
    } else if (state.collecting && next.ruleIndex != clauseRule) {
      InsertCollectedClauses(state);
    }
  }
  // A run of clauses that the last segment leaves open is not dropped.
  if (state.collecting) InsertCollectedClauses(state);
  WString merged = std::move(state.output);
  RemoveAll(merged, kClauseMarker);
  RemoveAll(merged, u'\n');
  CollapseBlankRuns(merged);
  TrimSpaceCrLf(merged);
  return merged + finalMark;
}
