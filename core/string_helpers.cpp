#include "core/string_helpers.h"

WString NarrowToWide(const std::string& text) {
  WString wide;
  wide.reserve(text.size());
  for (char c : text) wide += static_cast<WChar>(static_cast<unsigned char>(c));
  return wide;
}

WString IntToWString(int value) { return NarrowToWide(std::to_string(value)); }

bool IsWhitespace(WChar unit) { return unit == u'\t' || unit == u'\n' || unit == u'\r' || unit == u' '; }

WString TrimWString(const WString& text) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && IsWhitespace(text[first])) ++first;
  while (last > first && IsWhitespace(text[last - 1])) --last;
  return text.substr(first, last - first);
}
