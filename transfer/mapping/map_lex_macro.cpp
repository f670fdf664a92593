#include "transfer/mapping/map_lex_macro.h"

namespace {

WChar LowerAscii(WChar unit) { return unit >= u'A' && unit <= u'Z' ? static_cast<WChar>(unit + (u'a' - u'A')) : unit; }

// Whether pattern, compared without regard to case, stands in text at start.
bool MatchesAt(const WString& text, size_t start, const WString& pattern) {
  if (text.size() - start < pattern.size()) return false;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (LowerAscii(text[start + i]) != LowerAscii(pattern[i])) return false;
  }
  return true;
}

}  // namespace

WString ReplaceAllIgnoreCase(const WString& text, const WString& pattern, const WString& replacement) {
  if (pattern.empty()) return text;
  WString result;
  size_t position = 0;
  while (position < text.size()) {
    if (MatchesAt(text, position, pattern)) {
      result += replacement;
      position += pattern.size();
    } else {
      result += text[position++];
    }
  }
  return result;
}

WString ExpandMacroBody(const CMapLexMacro& macro, const std::vector<WString>& arguments) {
  WString body = macro.body;
  for (size_t i = 0; i < macro.parameters.size() && i < arguments.size(); ++i) {
    body = ReplaceAllIgnoreCase(body, macro.parameters[i], arguments[i]);
  }
  return body;
}
