#include "app/pipeline/sentence_text.h"

#include <cctype>

#include "core/string_helpers.h"

namespace {

bool IsTrailingPunctuation(WChar unit) {
  return unit == u'.' || unit == u':' || unit == u';' || unit == u'!' || unit == u'|';
}

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

WString CleanTypedText(const WString& text) {
  WString clean;
  clean.reserve(text.size());
  for (WChar unit : text) {
    if (unit == kClauseMarker) continue;
    clean.push_back(unit < 0x20 || unit == 0x7F ? u' ' : unit);
  }
  return clean;
}

void TrimTrailingPunctuationOf(WString& sentence) {
  size_t keep = sentence.size();
  while (keep > 1 && IsTrailingPunctuation(sentence[keep - 1])) --keep;
  sentence.resize(keep);
}

std::string ToLowerNarrow(const std::string& text) {
  std::string lower = text;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}
