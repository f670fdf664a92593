// Feature sets: conjunctions of signed literals over small positive ids, held
// as two bit vectors of 32-bit words (literal +k sets bit k-1 of the positive
// half, -k bit k-1 of the negative half). The constraint system uses them for
// its choice contexts and nogoods.
//
// Both halves live inside the set (at most kFeatureSetWords words each), so
// making, copying and combining sets never touches the heap: the solver and
// the charts make millions of them per sentence.
//
// The operations visit only the first FeatureWordCount words of each half;
// the CFG parser sets that count per sentence. A word that a short set does not
// have reads as zero everywhere, so sets of any length can be mixed safely.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// Sets built here have this many words per half (ids 1 to 160).
constexpr int kFeatureSetWords = 5;
// The highest id a set can carry: its last bit.
constexpr int kMaxFeatureId = kFeatureSetWords * 32;

// A choice literal: +k choice k taken, -k not taken, 0 always true. Sixteen
// bits, so every id a feature set carries has both signs.
using ChoiceLiteral = int16_t;
using FeatureLiteralList = std::vector<ChoiceLiteral>;

// Program-wide geometry, set by InitFeatureBits and SetFeatureWordCount.
extern int FeatureWordSize;                 // 32
extern int FeatureWordCount;                // words the operations visit, 1 to 5
extern int FeatureCount;                    // highest id with a mask
extern std::vector<uint32_t> FeatureMasks;  // [k] = 1 << ((k-1) mod 32); [0] unused

// One half of a feature set: up to kFeatureSetWords words held in place,
// read and written like a vector of that length.
class FeatureWords {
 public:
  using value_type = uint32_t;
  using iterator = uint32_t*;
  using const_iterator = const uint32_t*;

  // n words of zero; a count above kFeatureSetWords is held as that many.
  explicit FeatureWords(size_t n = kFeatureSetWords) { resize(n); }

  // The words from the old count on become zero.
  void resize(size_t n) {
    const size_t kept = std::min(n, words_.size());
    std::fill(words_.begin() + static_cast<std::ptrdiff_t>(std::min<size_t>(count_, kept)), words_.end(), 0u);
    count_ = static_cast<uint8_t>(kept);
  }
  size_t size() const { return count_; }
  uint32_t& operator[](size_t i) { return words_[i]; }
  uint32_t operator[](size_t i) const { return words_[i]; }
  iterator begin() { return words_.data(); }
  iterator end() { return words_.data() + count_; }
  const_iterator begin() const { return words_.data(); }
  const_iterator end() const { return words_.data() + count_; }

  // Same length and words.
  friend bool operator==(const FeatureWords& a, const FeatureWords& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
  }
  friend bool operator==(const FeatureWords& a, const std::vector<uint32_t>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
  }

 private:
  std::array<uint32_t, kFeatureSetWords> words_{};  // zero beyond count_
  uint8_t count_ = 0;
};

class CFeatureSet {
 public:
  explicit CFeatureSet(uint32_t words = kFeatureSetWords);

  // Both halves get n words (at most kFeatureSetWords); new words are zero.
  void Resize(uint32_t n);

  // Word i of a half, zero when the half is shorter.
  uint32_t PositiveWord(int i) const;
  uint32_t NegativeWord(int i) const;

  // Words 0 to 4 of both halves are equal.
  bool operator==(const CFeatureSet& other) const;
  // A strict weak ordering for sorting and merging lists of sets; see the
  // comment at its definition.
  bool operator<(const CFeatureSet& other) const;

  FeatureWords positive;
  FeatureWords negative;
};

// Word size 32, word count 1, feature count n and the masks of ids 1 to n.
void InitFeatureBits(int n);
// Word count = n / 32 + 1, kept within 1 to kFeatureSetWords.
void SetFeatureWordCount(int n);

// A 5-word set of the literals; 0 is ignored. A literal whose id is above
// kMaxFeatureId is reported and left out.
CFeatureSet BuildFeatureSet(const FeatureLiteralList& literals);
// The literals of the set by ascending id below FeatureCount, +k before -k.
// A set bit above kMaxFeatureId is reported and skipped.
FeatureLiteralList ListFeatureLiterals(const CFeatureSet& set);

// New 5-word sets whose first FeatureWordCount words are the AND (OR) of the
// inputs' words; the rest are zero.
CFeatureSet FeatureSetAnd(const CFeatureSet& a, const CFeatureSet& b);
CFeatureSet FeatureSetOr(const CFeatureSet& a, const CFeatureSet& b);

// Some literal of one set is negated in the other (within the word count).
bool FeatureSetsConflict(const CFeatureSet& a, const CFeatureSet& b);
// No literal appears with both signs (within the word count).
bool FeatureSetConsistent(const CFeatureSet& a);
