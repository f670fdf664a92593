// A token of the pre-processor. Tokens are plain values: the pre-processor
// copies and assigns them member-wise.
#pragma once

#include <cstdint>
#include <vector>

#include "core/wide_string.h"

// Token kinds the pre-processor gives; other kinds are the part-of-speech list
// index of a token it classified itself.
constexpr int kTokenWord = 0;
constexpr int kTokenAbbreviation = 100;
constexpr int kTokenSentenceEnd = 101;  // '.', ';' or '?' ending a sentence
constexpr int kTokenEndOfInput = 500;   // empty text

class CToken {
 public:
  CToken() = default;

  WString Text;
  int Kind = kTokenWord;
  std::vector<uint32_t> Readings;  // part-of-speech indices of unit tokens
};
