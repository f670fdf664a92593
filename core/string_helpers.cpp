#include "core/string_helpers.h"

#include <limits>

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

std::string IntToString(int value) { return std::to_string(value); }

int ParseDigits(std::string text) {
  constexpr int kMax = std::numeric_limits<int>::max();
  int number = 0;
  for (char c : text) {
    if (c < '0' || c > '9') continue;
    int digit = c - '0';
    if (number > (kMax - digit) / 10) return kMax;
    number = number * 10 + digit;
  }
  return number;
}

std::string TrimNarrowString(const std::string& text) {
  auto isSpace = [](char c) { return c == '\t' || c == '\n' || c == '\r' || c == ' '; };
  size_t first = 0;
  size_t last = text.size();
  while (first < last && isSpace(text[first])) ++first;
  while (last > first && isSpace(text[last - 1])) --last;
  return text.substr(first, last - first);
}
