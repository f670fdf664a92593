// A set of part-of-speech ids 0 to 63: the parts of speech that can begin a
// compiled production, and those of a chart column's readings. The parser's
// predictor keeps a production only when the two sets meet.
#pragma once

#include <cstdint>

class CCategoryMask {
 public:
  CCategoryMask();

  // Sets the bit of id n (low word for 0-31, high word for 32-63) and returns
  // the word it changed. Ids outside 0-63 set nothing and return 0.
  uint32_t Set(int n);
  // Empties the set.
  void Clear();
  // True when no id is set.
  bool IsClear() const;

  uint32_t LowWord() const { return low_; }
  uint32_t HighWord() const { return high_; }

 private:
  uint32_t low_;
  uint32_t high_;
};

// True when a and b share a set bit.
bool CategoryMasksIntersect(const CCategoryMask& a, const CCategoryMask& b);
