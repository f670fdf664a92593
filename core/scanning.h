// Character classes and cursor moves shared by the hand-written scanners of
// the data files (grammar rules, lexicon entries, rule and table files).
#pragma once

#include <cstddef>
#include <vector>

#include "core/wide_string.h"

inline bool IsLineEnd(WChar unit) { return unit == u'\r' || unit == u'\n'; }

// A blank inside a line: space or tab.
inline bool IsBlank(WChar unit) { return unit == u' ' || unit == u'\t'; }

// The first position at or after pos that is not a blank (or the end).
inline size_t SkipBlanks(const WString& text, size_t pos) {
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  return pos;
}

// The position of the line end at or after pos (or the end of the text).
inline size_t SkipToLineEnd(const WString& text, size_t pos) {
  while (pos < text.size() && !IsLineEnd(text[pos])) ++pos;
  return pos;
}

// The punctuation of a grammar rule's groups (alternatives, options,
// repetitions and negation): each stands as a symbol of its own.
inline bool IsGroupPunctuation(WChar unit) {
  switch (unit) {
    case u'%':
    case u'(':
    case u')':
    case u'*':
    case u'+':
    case u'[':
    case u']':
    case u'{':
    case u'|':
    case u'}':
    case u'~': return true;
    default: return false;
  }
}

// The lines of a text without their ends; CR LF, LF and a lone CR each end a
// line. A line end at the very end of the text does not open another line.
std::vector<WString> SplitLines(const WString& text);
