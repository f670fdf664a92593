// What the chart gives back: the words of a finished edge, the test that a
// structure was used whole, and the cleaning of the sentence list.
#include <algorithm>
#include <cctype>

#include "analysis/lfg/chart_edge.h"
#include "core/fs_node.h"
#include "core/production.h"
#include "transfer/generation/urdu_sentence_generator.h"

void CUrduSentenceGenerator::CollectWords(const CChartEdge* edge, WString& text) const {
  if (edge == nullptr || edge->production == nullptr) return;
  for (const CProductionSymbol* daughter : edge->production->daughters) {
    if (daughter->kind == 1) {
      text += u' ';
      text += daughter->word;
    } else if (daughter->name != u"." && daughter->fillingEdge != nullptr) {
      CollectWords(daughter->fillingEdge, text);
    }
  }
}

bool CUrduSentenceGenerator::AllFeaturesConsumed(CFSNode* node) {
  if (node == nullptr) return false;
  if (node->ChildList.empty()) return true;
  if (node->GenerationMark == 0 && node->Mark == 0) {
    // An unused structure is fine only under an attribute that need not be
    // generated.
    if (specialUnmarked_.count(static_cast<SymbolId>(node->Attribute)) == 0) return false;
    node->GenerationMark = 1;
    return true;
  }
  for (CFSNode* child : node->ChildList) {
    if (child != nullptr && !AllFeaturesConsumed(child)) return false;
  }
  return true;
}

void CUrduSentenceGenerator::PostProcessSentences(WStringList& sentences) const {
  if (sentences.empty()) return;
  std::sort(sentences.begin(), sentences.end());
  WStringList cleaned;
  for (size_t i = 0; i < sentences.size(); ++i) {
    if (i > 0 && sentences[i] == sentences[i - 1]) continue;
    // A lone alif between two words is dropped with one of its blanks.
    const WString withoutAlif = ReplaceAllIgnoreCase(sentences[i], u" \u0627 ", u" ");
    cleaned.push_back(AttachMarks(RemoveCharacter(withoutAlif, u'\'')));
  }
  sentences = std::move(cleaned);
}

WString CUrduSentenceGenerator::AttachMarks(const WString& text) {
  // The Urdu full stop, question mark and comma follow their word without a
  // blank, as Urdu is written; the generator puts a blank before every word.
  auto isMark = [](WChar unit) { return unit == u'\u06D4' || unit == u'\u061F' || unit == u'\u060C'; };
  WString result;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u' ' && i + 1 < text.size() && isMark(text[i + 1])) continue;
    result += text[i];
  }
  return result;
}

WString CUrduSentenceGenerator::RemoveCharacter(const WString& text, WChar unit) {
  WString result;
  for (WChar c : text) {
    if (c != unit) result += c;
  }
  return result;
}

namespace {

// tolower of the unit; units outside ASCII stay as they are.
WChar LowerUnit(WChar unit) { return unit < 0x80 ? static_cast<WChar>(std::tolower(unit)) : unit; }

}  // namespace

WString CUrduSentenceGenerator::ReplaceAllIgnoreCase(const WString& text, const WString& pattern,
                                                     const WString& replacement) {
  if (pattern.empty()) return text;
  WString result;
  size_t position = 0;
  while (position < text.size()) {
    size_t matched = 0;
    while (matched < pattern.size() && position + matched < text.size() &&
           LowerUnit(text[position + matched]) == LowerUnit(pattern[matched])) {
      ++matched;
    }
    // A match that runs into the end of the text counts as a match.
    if (matched == pattern.size() || position + matched == text.size()) {
      result += replacement;
      position += matched;
    } else {
      result += text[position];
      ++position;
    }
  }
  return result;
}
