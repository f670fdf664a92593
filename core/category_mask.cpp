#include "core/category_mask.h"

CCategoryMask::CCategoryMask() : low_(0), high_(0) {}

uint32_t CCategoryMask::Set(int n) {
  if (n < 0 || n >= 64) return 0;
  if (n < 32) return low_ |= (uint32_t{1} << n);
  return high_ |= (uint32_t{1} << (n - 32));
}

void CCategoryMask::Clear() {
  low_ = 0;
  high_ = 0;
}

bool CCategoryMask::IsClear() const { return low_ == 0 && high_ == 0; }

bool CategoryMasksIntersect(const CCategoryMask& a, const CCategoryMask& b) {
  return (a.LowWord() & b.LowWord()) != 0 || (a.HighWord() & b.HighWord()) != 0;
}
