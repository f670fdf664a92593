// One entry of the LFG lexicon: a word with its category, its PRED text, its
// functional equations and its constraint texts, as the raw lexicon writes
// them or as the lexicon in numbers stores them.
#pragma once

#include <cstdint>
#include <vector>

#include "core/equation.h"
#include "core/wide_string.h"

class CLexicalEntry {
 public:
  CLexicalEntry();
  ~CLexicalEntry();
  CLexicalEntry(const CLexicalEntry&) = delete;
  CLexicalEntry& operator=(const CLexicalEntry&) = delete;

  // "word,category," then "^PRED=<pred>," when PRED is set, then the
  // constraint texts and the equation texts, each list joined by ",".
  WString ToString() const;

  // In the order written; deleted with the entry unless ownsEquations is
  // cleared (word forms that refer to equations kept elsewhere).
  std::vector<CEquation*> equations;
  bool ownsEquations = true;
  // Whole bracketed constraints as written ("[...]" or "~[...]"), and
  // constraining items turned into "[left =c right]".
  std::vector<WString> constraints;
  int16_t category = -1;  // global symbol id, -1 when none was given
  WString word;           // the head text before ':', several words allowed
  WString pred;           // right side of "^PRED" as written, quotes included
  uint8_t finished = 0;   // 1 once the raw parser has read the closing '.'

  static int liveInstances;
};
