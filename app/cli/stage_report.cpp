#include "app/cli/stage_report.h"

#include <algorithm>

#include "app/engine/translation_result.h"
#include "platform/utf8.h"

namespace {

// A PRED item holds its word in the child "VALUE ----- word " (and its
// frame in "GF ----- ...").
const WString kPredItem = u"PRED";
const WString kValuePrefix = u"VALUE ----- ";

bool IsDigits(const WString& word) {
  return !word.empty() && std::all_of(word.begin(), word.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

void AddIfRewritten(const CTreeItem& value, std::vector<WString>& words) {
  if (value.text.rfind(kValuePrefix, 0) != 0) return;
  WString word = value.text.substr(kValuePrefix.size());
  while (!word.empty() && word.back() == u' ') word.pop_back();
  if (!word.empty() && word.front() != u'\'' && !IsDigits(word)) words.push_back(word);
}

void CollectRewritten(const CTreeItem& item, std::vector<WString>& words) {
  const bool isPred = item.text == kPredItem || item.text.rfind(kPredItem + u"(", 0) == 0;
  for (const CTreeItem& child : item.children) {
    if (isPred) {
      AddIfRewritten(child, words);
    } else {
      CollectRewritten(child, words);
    }
  }
}

// The stages in order; a segment reaches "partial" when its generated
// sentence leaves words out, and a sentence whose typed words were partly
// set aside reaches "partial" at most.
const char* LeastStage(const CTranslationResult& result) {
  if (!result.translated || result.segments.empty()) return "none";
  int least = 4;
  for (const CSegmentOutcome& segment : result.segments) {
    const int generated = segment.leftOut.empty() ? 4 : 3;
    const int reached = segment.generated ? generated : segment.mapped ? 2 : segment.parsed ? 1 : 0;
    least = std::min(least, reached);
  }
  if (!result.setAside.empty()) least = std::min(least, 3);
  static const char* const kNames[] = {"none", "analysed", "mapped", "partial", "generated"};
  return kNames[least];
}

}  // namespace

std::vector<WString> RewrittenPredicates(const CTreeView& tree) {
  std::vector<WString> words;
  for (const CTreeItem& root : tree.roots) CollectRewritten(root, words);
  return words;
}

std::string StageReport(const CTranslationResult& result) {
  std::string line = std::string("Stage: ") + LeastStage(result);
  const std::vector<WString> rewritten = RewrittenPredicates(result.targetTree);
  if (rewritten.empty()) return line;
  line += " rewritten:";
  for (const WString& word : rewritten) line += ' ' + ToUtf8(word);
  return line;
}
