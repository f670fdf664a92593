#include "app/pipeline/sentence_text.h"

#include <cctype>

namespace {

bool IsTrailingPunctuation(WChar unit) {
  return unit == u'.' || unit == u':' || unit == u';' || unit == u'!' || unit == u'|';
}

}  // namespace

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
