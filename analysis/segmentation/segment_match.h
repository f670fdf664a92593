// Where a segmentation rule applies in a token sequence.
#pragma once

#include <cstdint>

#include "core/wide_string.h"

class CSegmentMatch {
 public:
  uint16_t position = 0;   // token where the pattern's first element matched
  uint16_t length = 0;     // number of pattern elements
  uint16_t ruleIndex = 0;  // the rule's index in file order, set by the segmenter
  WString label;           // copied from the rule
};
