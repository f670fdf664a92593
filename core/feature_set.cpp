#include "core/feature_set.h"

#include <algorithm>

#include "core/string_helpers.h"
#include "core/wide_string.h"
#include "platform/message_box.h"

int FeatureWordSize = 32;
int FeatureWordCount = 1;
int FeatureCount = 0;
std::vector<uint32_t> FeatureMasks;

namespace {

uint32_t WordAt(const FeatureWords& half, int i) {
  if (i < 0 || static_cast<size_t>(i) >= half.size()) return 0;
  return half[i];
}

int WordOfId(int id) { return (id - 1) / 32; }
uint32_t BitOfId(int id) { return uint32_t{1} << ((id - 1) % 32); }

bool HasBit(const FeatureWords& half, int id) { return (WordAt(half, WordOfId(id)) & BitOfId(id)) != 0; }

void ReportIdTooLarge(int id) {
  ShowMessage(u"Choice " + IntToWString(id) + u" is beyond the " + IntToWString(kMaxFeatureId) +
                  u" choices a feature set can carry; it is left out.",
              u"Feature Set", MessageStyle::Ok);
}

// The key of word i: the smaller of the two halves' words, read as signed
// numbers.
int32_t SignedMinimum(const CFeatureSet& s, int i) {
  return std::min(static_cast<int32_t>(s.PositiveWord(i)), static_cast<int32_t>(s.NegativeWord(i)));
}

// Every word count the operations visit is 1 to kFeatureSetWords.
int VisitedWords() { return std::clamp(FeatureWordCount, 1, kFeatureSetWords); }

}  // namespace

CFeatureSet::CFeatureSet(uint32_t words) : positive(words), negative(words) {}

void CFeatureSet::Resize(uint32_t n) {
  positive.resize(n);
  negative.resize(n);
}

uint32_t CFeatureSet::PositiveWord(int i) const { return WordAt(positive, i); }
uint32_t CFeatureSet::NegativeWord(int i) const { return WordAt(negative, i); }

bool CFeatureSet::operator==(const CFeatureSet& other) const {
  for (int i = 0; i < kFeatureSetWords; ++i) {
    if (PositiveWord(i) != other.PositiveWord(i)) return false;
    if (NegativeWord(i) != other.NegativeWord(i)) return false;
  }
  return true;
}

// The sets are ordered by the signed minimum of their positive and negative
// words, from word 4 down to word 0; sets equal in all five keys are ordered
// by their raw words from word 4 down. Above the highest non-zero word of
// either set both keys are 0, so a set precedes another whenever its minimum
// in the highest non-zero word of the two is the smaller one; the remaining
// keys only settle the pairs that this first test leaves tied. Sets that test
// equal under == are the only ones neither of which precedes the other, so
// the order is total.
bool CFeatureSet::operator<(const CFeatureSet& other) const {
  for (int i = kFeatureSetWords - 1; i >= 0; --i) {
    const int32_t mine = SignedMinimum(*this, i);
    const int32_t theirs = SignedMinimum(other, i);
    if (mine != theirs) return mine < theirs;
  }
  for (int i = kFeatureSetWords - 1; i >= 0; --i) {
    if (PositiveWord(i) != other.PositiveWord(i)) return PositiveWord(i) < other.PositiveWord(i);
    if (NegativeWord(i) != other.NegativeWord(i)) return NegativeWord(i) < other.NegativeWord(i);
  }
  return false;
}

void InitFeatureBits(int n) {
  FeatureWordSize = 32;
  FeatureWordCount = 1;
  FeatureCount = std::max(n, 0);
  FeatureMasks.assign(FeatureCount + 1, 0);
  for (int k = 1; k <= FeatureCount; ++k) FeatureMasks[k] = BitOfId(k);
}

void SetFeatureWordCount(int n) { FeatureWordCount = std::clamp(n / 32 + 1, 1, kFeatureSetWords); }

CFeatureSet BuildFeatureSet(const FeatureLiteralList& literals) {
  CFeatureSet set(kFeatureSetWords);
  for (ChoiceLiteral literal : literals) {
    if (literal == 0) continue;
    const int id = literal > 0 ? literal : -static_cast<int>(literal);
    if (id > kMaxFeatureId) {
      ReportIdTooLarge(id);
      continue;
    }
    auto& half = literal > 0 ? set.positive : set.negative;
    half[WordOfId(id)] |= BitOfId(id);
  }
  return set;
}

FeatureLiteralList ListFeatureLiterals(const CFeatureSet& set) {
  FeatureLiteralList literals;
  const int lastId = std::min(FeatureCount - 1, kFeatureSetWords * 32);
  for (int id = 1; id <= lastId; ++id) {
    const bool inPositive = HasBit(set.positive, id);
    const bool inNegative = HasBit(set.negative, id);
    if (!inPositive && !inNegative) continue;
    if (id > kMaxFeatureId) {
      ReportIdTooLarge(id);
      continue;
    }
    if (inPositive) literals.push_back(static_cast<ChoiceLiteral>(id));
    if (inNegative) literals.push_back(static_cast<ChoiceLiteral>(-id));
  }
  return literals;
}

namespace {

template <typename Combine>
CFeatureSet CombineWords(const CFeatureSet& a, const CFeatureSet& b, Combine combine) {
  CFeatureSet result(kFeatureSetWords);
  for (int i = 0; i < VisitedWords(); ++i) {
    result.positive[i] = combine(a.PositiveWord(i), b.PositiveWord(i));
    result.negative[i] = combine(a.NegativeWord(i), b.NegativeWord(i));
  }
  return result;
}

}  // namespace

CFeatureSet FeatureSetAnd(const CFeatureSet& a, const CFeatureSet& b) {
  return CombineWords(a, b, [](uint32_t x, uint32_t y) { return x & y; });
}

CFeatureSet FeatureSetOr(const CFeatureSet& a, const CFeatureSet& b) {
  return CombineWords(a, b, [](uint32_t x, uint32_t y) { return x | y; });
}

bool FeatureSetsConflict(const CFeatureSet& a, const CFeatureSet& b) {
  for (int i = 0; i < VisitedWords(); ++i) {
    if ((a.PositiveWord(i) & b.NegativeWord(i)) != 0) return true;
    if ((a.NegativeWord(i) & b.PositiveWord(i)) != 0) return true;
  }
  return false;
}

bool FeatureSetConsistent(const CFeatureSet& a) {
  for (int i = 0; i < VisitedWords(); ++i) {
    if ((a.PositiveWord(i) & a.NegativeWord(i)) != 0) return false;
  }
  return true;
}
