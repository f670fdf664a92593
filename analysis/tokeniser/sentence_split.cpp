#include "analysis/tokeniser/sentence_split.h"

#include "core/string_helpers.h"

namespace {

bool IsSentenceEnd(WChar unit) { return unit == u'.' || unit == u'?' || unit == u'!'; }

bool IsClosingMark(WChar unit) {
  return unit == u'"' || unit == u'\'' || unit == u')' || unit == u']' || unit == u'}' || unit == u'\u2019' ||
         unit == u'\u201D';
}

bool IsWordUnit(WChar unit) { return !IsWhitespace(unit) && !IsSentenceEnd(unit) && !IsClosingMark(unit); }

// The word that ends right before position end.
WString WordBefore(const WString& text, size_t end) {
  size_t start = end;
  while (start > 0 && IsWordUnit(text[start - 1])) --start;
  return text.substr(start, end - start);
}

void AddSentence(const WString& piece, std::vector<WString>& sentences) {
  WString sentence = TrimWString(piece);
  if (!sentence.empty()) sentences.push_back(std::move(sentence));
}

}  // namespace

std::vector<WString> SplitTypedSentences(const WString& text, const AbbreviationTest& isAbbreviation) {
  std::vector<WString> sentences;
  size_t start = 0;
  size_t at = 0;
  while (at < text.size()) {
    if (!IsSentenceEnd(text[at])) {
      ++at;
      continue;
    }
    const size_t runStart = at;
    while (at < text.size() && IsSentenceEnd(text[at])) ++at;
    while (at < text.size() && IsClosingMark(text[at])) ++at;
    if (at == text.size() || !IsWhitespace(text[at])) continue;
    const bool abbreviation =
        text[runStart] == u'.' && at == runStart + 1 && isAbbreviation && isAbbreviation(WordBefore(text, runStart));
    if (abbreviation) continue;
    AddSentence(text.substr(start, at - start), sentences);
    start = at;
  }
  AddSentence(text.substr(start), sentences);
  return sentences;
}
