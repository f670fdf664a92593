#include "app/pipeline/sentence_text.h"

#include <algorithm>
#include <cctype>

#include "core/string_helpers.h"

namespace {

bool IsTrailingPunctuation(WChar unit) {
  return unit == u'.' || unit == u':' || unit == u';' || unit == u'!' || unit == u'|';
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
