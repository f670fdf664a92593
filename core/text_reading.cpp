#include "core/text_reading.h"

namespace {

bool IsSpaceCrLf(WChar unit) { return unit == u' ' || unit == u'\r' || unit == u'\n'; }

}  // namespace

void TrimSpaceCrLf(WString& text) {
  size_t end = text.size();
  while (end > 0 && IsSpaceCrLf(text[end - 1])) --end;
  size_t begin = 0;
  while (begin < end && IsSpaceCrLf(text[begin])) ++begin;
  text = text.substr(begin, end - begin);
}

WChar ReadUntilChar(WString& out, WChar delimiter, CFileReader& reader, bool* delimiterFound) {
  WChar unit = reader.GetChar();
  while (unit != 0 && unit != delimiter) {
    out.push_back(unit);
    unit = reader.NextChar();
  }
  if (delimiterFound != nullptr) *delimiterFound = unit != 0;
  if (unit == 0) return 0;
  return reader.NextChar();
}

std::string WideToNarrow(const WString& text) {
  std::string narrow;
  narrow.reserve(text.size());
  for (WChar unit : text) narrow.push_back(static_cast<char>(unit & 0xFF));
  return narrow;
}
