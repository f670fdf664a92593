#include "app/pipeline/sentence_text.h"

#include <algorithm>
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

bool IsDropped(WChar unit) { return unit == u'\uFEFF' || unit == u'\u200B'; }

bool IsBlank(WChar unit) {
  return unit == u' ' || unit == u'\t' || unit == u'\u00A0' || (unit >= u'\u2000' && unit <= u'\u200A') ||
         unit == u'\u202F' || unit == u'\u205F' || unit == u'\u3000';
}

// The ASCII unit the unit stands for, or the unit itself.
WChar AsciiEquivalent(WChar unit) {
  switch (unit) {
    case u'\u2018':
    case u'\u2019':
    case u'\u201A':
    case u'\u201B':
    case u'\u2032':
    case u'\uFF07': return u'\'';
    case u'\u201C':
    case u'\u201D':
    case u'\u201E':
    case u'\u201F':
    case u'\u2033':
    case u'\uFF02': return u'"';
    default: break;
  }
  if (unit >= u'\u0660' && unit <= u'\u0669') return static_cast<WChar>(u'0' + (unit - u'\u0660'));
  if (unit >= u'\u06F0' && unit <= u'\u06F9') return static_cast<WChar>(u'0' + (unit - u'\u06F0'));
  if (unit >= u'\uFF10' && unit <= u'\uFF19') return static_cast<WChar>(u'0' + (unit - u'\uFF10'));
  return unit;
}

bool IsAsciiWord(const WString& word) {
  return std::all_of(word.begin(), word.end(), [](WChar unit) { return unit < 0x80; });
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

WString PrepareSentenceText(const WString& typed, std::vector<WString>& setAside) {
  WString text;
  std::vector<WString> words;
  WString word;
  for (WChar unit : CleanTypedText(typed)) {
    if (IsDropped(unit)) continue;
    if (!IsBlank(unit)) {
      word.push_back(AsciiEquivalent(unit));
      continue;
    }
    if (!word.empty()) words.push_back(std::move(word));
    word.clear();
  }
  if (!word.empty()) words.push_back(std::move(word));
  for (WString& each : words) {
    if (!IsAsciiWord(each)) {
      setAside.push_back(std::move(each));
      continue;
    }
    if (!text.empty()) text += u' ';
    text += each;
  }
  return text;
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

WChar TypedEndMarkOf(const WString& sentence) {
  for (size_t i = sentence.size(); i > 0; --i) {
    const WChar unit = sentence[i - 1];
    if (unit == u'?') return u'?';
    if (unit == u'.' || unit == u'!') return u'.';
    if (unit != u' ' && unit != u'"' && unit != u'\'' && unit != u')' && unit != u']') return 0;
  }
  return 0;
}

std::string ToLowerNarrow(const std::string& text) {
  std::string lower = text;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}
