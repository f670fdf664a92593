#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "core/feature_set.h"
#include "support/test_support.h"

namespace {

// Restores the program-wide geometry each test changes.
class FeatureSetTest : public ::testing::Test {
 protected:
  void SetUp() override { InitFeatureBits(150); }
  void TearDown() override { InitFeatureBits(150); }
};

// The plain minimum test in the highest word where either set is non-zero;
// it leaves many pairs of different sets unordered.
bool MinimumTestSaysLess(const CFeatureSet& a, const CFeatureSet& b) {
  for (int i = kFeatureSetWords - 1; i >= 0; --i) {
    if ((a.PositiveWord(i) | a.NegativeWord(i) | b.PositiveWord(i) | b.NegativeWord(i)) == 0) continue;
    const int32_t m = std::min(int32_t(a.PositiveWord(i)), int32_t(a.NegativeWord(i)));
    return m < int32_t(b.PositiveWord(i)) && m < int32_t(b.NegativeWord(i));
  }
  return false;
}

}  // namespace

TEST_F(FeatureSetTest, LiteralsMapToWordAndBitAndListBackInIdOrder) {
  const CFeatureSet set = BuildFeatureSet({33, 0, -2, 1, -1, 127, -64});
  EXPECT_EQ(set.positive, (std::vector<uint32_t>{1u, 1u, 0, 0x40000000u, 0}));
  EXPECT_EQ(set.negative, (std::vector<uint32_t>{3u, 0x80000000u, 0, 0, 0}));
  EXPECT_EQ(ListFeatureLiterals(set), (FeatureLiteralList{1, -1, -2, 33, -64, 127}));
  InitFeatureBits(10);  // listing stops below the feature count
  EXPECT_EQ(ListFeatureLiterals(BuildFeatureSet({9, 10, -3})), (FeatureLiteralList{-3, 9}));
}

TEST_F(FeatureSetTest, IdsUpToTheLastBitKeepBothSignsAndLargerOnesAreReportedNotWrapped) {
  MessageRecorder recorder;
  InitFeatureBits(kMaxFeatureId + 1);
  // Ids past a signed byte are ordinary choices: both signs, in the right word.
  const ChoiceLiteral wide[] = {128, -128, 129, -150, kMaxFeatureId, -kMaxFeatureId};
  for (ChoiceLiteral literal : wide) {
    const CFeatureSet set = BuildFeatureSet({2, literal});
    EXPECT_EQ(ListFeatureLiterals(set), (FeatureLiteralList{2, literal})) << literal;
    const int id = literal > 0 ? literal : -literal;
    const auto& half = literal > 0 ? set.positive : set.negative;
    EXPECT_EQ(half[(id - 1) / 32], uint32_t{1} << ((id - 1) % 32)) << literal;
  }
  EXPECT_TRUE(recorder.messages().empty());
  EXPECT_EQ(BuildFeatureSet({-(kMaxFeatureId + 1), 5}), BuildFeatureSet({5}));
  EXPECT_EQ(BuildFeatureSet({kMaxFeatureId + 40, 5}), BuildFeatureSet({5}));
  EXPECT_EQ(recorder.messages().size(), 2u) << "each id past the last bit is reported";
  const std::pair<int, int> counts[] = {{0, 1}, {31, 1}, {32, 2}, {127, 4}, {-5, 1}, {1000, kFeatureSetWords}};
  for (const auto& [n, words] : counts) {
    SetFeatureWordCount(n);
    EXPECT_EQ(FeatureWordCount, words) << n;
  }
}

TEST_F(FeatureSetTest, OperationsVisitOnlyTheWordCountAndReadMissingWordsAsZero) {
  const CFeatureSet a = BuildFeatureSet({1, 2, -3, 33}), b = BuildFeatureSet({2, -3, -4, -33});
  EXPECT_EQ(FeatureSetAnd(a, b), BuildFeatureSet({2, -3}));
  EXPECT_FALSE(FeatureSetsConflict(a, b));
  EXPECT_TRUE(FeatureSetConsistent(BuildFeatureSet({33, -33})));
  SetFeatureWordCount(32);  // two words
  EXPECT_EQ(FeatureSetOr(a, b), BuildFeatureSet({1, 2, -3, -4, 33, -33}));
  EXPECT_TRUE(FeatureSetsConflict(a, b));
  EXPECT_FALSE(FeatureSetConsistent(BuildFeatureSet({33, -33})));
  SetFeatureWordCount(127);  // four words
  CFeatureSet shortSet = BuildFeatureSet({1, -2});
  shortSet.Resize(3);
  EXPECT_EQ(shortSet, BuildFeatureSet({1, -2}));
  EXPECT_EQ(FeatureSetOr(shortSet, BuildFeatureSet({100})), BuildFeatureSet({1, -2, 100}));
  EXPECT_FALSE(FeatureSetsConflict(shortSet, BuildFeatureSet({-100})));
}

TEST_F(FeatureSetTest, OrderIsAStrictWeakOrderingThatKeepsTheMinimumTestOfTheTopWord) {
  std::mt19937 rng(20261206);
  // Few distinct words, so that ties of the minimum test are common; short sets mixed in.
  const uint32_t pool[] = {0, 0, 0, 1, 2, 3, 0x80000000u, 0xFFFFFFFFu, 0x10u};
  std::vector<CFeatureSet> sets(120);
  for (size_t n = 0; n < sets.size(); ++n) {
    for (int i = 0, highest = rng() % kFeatureSetWords; i <= highest; ++i) {
      sets[n].positive[i] = pool[rng() % std::size(pool)];
      sets[n].negative[i] = pool[rng() % std::size(pool)];
    }
    if (n % 7 == 0) sets[n].Resize(3 + n % 3);
  }
  auto equivalent = [](const CFeatureSet& x, const CFeatureSet& y) { return !(x < y) && !(y < x); };
  int violations = 0, minimumTestHits = 0;
  for (const auto& a : sets) {
    for (const auto& b : sets) {
      minimumTestHits += MinimumTestSaysLess(a, b);  // and each of these must be ordered the same way
      violations += ((a < b) && (b < a)) + (MinimumTestSaysLess(a, b) && !(a < b)) + (equivalent(a, b) != (a == b));
      for (const auto& c : sets) {
        violations += ((a < b) && (b < c) && !(a < c)) + (equivalent(a, b) && equivalent(b, c) && !equivalent(a, c));
      }
    }
  }
  EXPECT_EQ(violations, 0);
  EXPECT_GT(minimumTestHits, 100);
}

TEST_F(FeatureSetTest, ConflictIsFoundWhicheverSetHoldsThePositiveLiteral) {
  struct Row {
    FeatureLiteralList a, b;
    bool conflict;
  };
  const Row rows[] = {
      {{3}, {-3}, true},         {{-3}, {3}, true},         {{1, -20}, {2, 20}, true},
      {{1, 20}, {2, -20}, true}, {{3, -4}, {3, -4}, false}, {{3}, {4, -5}, false},
  };
  for (const Row& row : rows) {
    const CFeatureSet a = BuildFeatureSet(row.a), b = BuildFeatureSet(row.b);
    EXPECT_EQ(FeatureSetsConflict(a, b), row.conflict) << ::testing::PrintToString(row.a);
    EXPECT_EQ(FeatureSetsConflict(b, a), row.conflict) << ::testing::PrintToString(row.b);
  }
}

TEST_F(FeatureSetTest, ResizingAHalfClearsTheWordsItDropsAndCannotGrowPastTheSet) {
  struct Row {
    size_t first, then, size;
  };
  const Row rows[] = {{2, 5, 5}, {5, 1, 1}, {0, 3, 3}, {5, 9, kFeatureSetWords}};
  const CFeatureSet full = BuildFeatureSet({1, -33, 65, -97, 127});  // a literal in every word
  for (const Row& row : rows) {
    CFeatureSet set = full;
    set.Resize(static_cast<uint32_t>(row.first));
    set.Resize(static_cast<uint32_t>(row.then));
    EXPECT_EQ(set.positive.size(), row.size) << row.first << " then " << row.then;
    for (int i = 0; i < kFeatureSetWords; ++i) {
      const bool kept = static_cast<size_t>(i) < std::min(row.first, row.then);
      EXPECT_EQ(set.PositiveWord(i), kept ? full.PositiveWord(i) : 0u) << row.first << " then " << row.then << " " << i;
      EXPECT_EQ(set.NegativeWord(i), kept ? full.NegativeWord(i) : 0u) << row.first << " then " << row.then << " " << i;
    }
  }
}
