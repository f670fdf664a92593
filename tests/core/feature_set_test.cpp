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

CFeatureSet Words(std::vector<uint32_t> positive, std::vector<uint32_t> negative) {
  CFeatureSet set(0);
  set.positive = std::move(positive);
  set.negative = std::move(negative);
  set.Resize(kFeatureSetWords);
  return set;
}

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

TEST_F(FeatureSetTest, LiteralsMapToWordAndBit) {
  struct Case {
    int8_t literal;
    bool positive;
    int word;
    uint32_t bits;
  } cases[] = {
      {1, true, 0, 1u},         {-2, false, 0, 2u},        {32, true, 0, 0x80000000u},
      {33, true, 1, 1u},        {-64, false, 1, 0x80000000u}, {127, true, 3, 0x40000000u},
  };
  for (const auto& c : cases) {
    const CFeatureSet set = BuildFeatureSet({c.literal});
    for (int i = 0; i < kFeatureSetWords; ++i) {
      const uint32_t expected = i == c.word ? c.bits : 0;
      EXPECT_EQ(set.PositiveWord(i), c.positive ? expected : 0u) << int(c.literal) << " word " << i;
      EXPECT_EQ(set.NegativeWord(i), c.positive ? 0u : expected) << int(c.literal) << " word " << i;
    }
  }
}

TEST_F(FeatureSetTest, BuildAndListRoundTripInIdOrder) {
  const CFeatureSet set = BuildFeatureSet({33, 0, -2, 1, -1, 127});
  EXPECT_EQ(set.positive.size(), size_t(kFeatureSetWords));
  EXPECT_EQ(ListFeatureLiterals(set), (FeatureLiteralList{1, -1, -2, 33, 127}));
}

TEST_F(FeatureSetTest, ListingStopsBelowTheFeatureCount) {
  InitFeatureBits(10);
  EXPECT_EQ(ListFeatureLiterals(BuildFeatureSet({9, 10, -3})), (FeatureLiteralList{-3, 9}));
}

TEST_F(FeatureSetTest, IdsBeyondASignedByteAreReportedNotWrapped) {
  MessageRecorder recorder;
  EXPECT_EQ(BuildFeatureSet({-128, 5}), BuildFeatureSet({5}));
  ASSERT_EQ(recorder.messages().size(), 1u);

  recorder.clear();
  CFeatureSet wide = BuildFeatureSet({2});
  wide.positive[4] = 1;  // id 129
  EXPECT_EQ(ListFeatureLiterals(wide), (FeatureLiteralList{2}));
  EXPECT_EQ(recorder.messages().size(), 1u);
}

TEST_F(FeatureSetTest, WordCountFollowsTheParserCountWithinRange) {
  struct Case {
    int n, words;
  } cases[] = {{0, 1}, {31, 1}, {32, 2}, {127, 4}, {-5, 1}, {1000, kFeatureSetWords}};
  for (const auto& c : cases) {
    SetFeatureWordCount(c.n);
    EXPECT_EQ(FeatureWordCount, c.words) << c.n;
  }
  InitFeatureBits(150);
  EXPECT_EQ(FeatureWordCount, 1);
  EXPECT_EQ(FeatureMasks.size(), 151u);
  EXPECT_EQ(FeatureMasks[33], 1u);
  EXPECT_EQ(FeatureMasks[32], 0x80000000u);
}

TEST_F(FeatureSetTest, ConflictAndConsistencyVisitOnlyTheWordCount) {
  const CFeatureSet plus33 = BuildFeatureSet({33});
  const CFeatureSet minus33 = BuildFeatureSet({-33});
  const CFeatureSet both33 = BuildFeatureSet({33, -33});
  EXPECT_FALSE(FeatureSetsConflict(plus33, minus33));
  EXPECT_TRUE(FeatureSetConsistent(both33));

  SetFeatureWordCount(32);  // two words
  EXPECT_TRUE(FeatureSetsConflict(plus33, minus33));
  EXPECT_TRUE(FeatureSetsConflict(minus33, plus33));
  EXPECT_FALSE(FeatureSetConsistent(both33));

  const CFeatureSet empty;
  EXPECT_TRUE(FeatureSetConsistent(empty));
  EXPECT_FALSE(FeatureSetsConflict(empty, both33));
  EXPECT_FALSE(FeatureSetsConflict(plus33, plus33));
}

TEST_F(FeatureSetTest, AndOrCombineOnlyTheVisitedWords) {
  const CFeatureSet a = BuildFeatureSet({1, 2, -3, 40});
  const CFeatureSet b = BuildFeatureSet({2, -3, -4, 40});
  EXPECT_EQ(FeatureSetAnd(a, b), BuildFeatureSet({2, -3}));
  EXPECT_EQ(FeatureSetOr(a, b), BuildFeatureSet({1, 2, -3, -4}));

  SetFeatureWordCount(32);
  EXPECT_EQ(FeatureSetAnd(a, b), BuildFeatureSet({2, -3, 40}));
  EXPECT_EQ(FeatureSetOr(a, b), BuildFeatureSet({1, 2, -3, -4, 40}));
}

TEST_F(FeatureSetTest, ShortSetsReadMissingWordsAsZero) {
  SetFeatureWordCount(127);  // four words
  CFeatureSet shortSet = BuildFeatureSet({1, -2});
  shortSet.Resize(3);
  const CFeatureSet full = BuildFeatureSet({1, -2});
  EXPECT_EQ(shortSet, full);
  EXPECT_FALSE(shortSet < full);
  EXPECT_FALSE(full < shortSet);
  EXPECT_EQ(FeatureSetOr(shortSet, BuildFeatureSet({100})), BuildFeatureSet({1, -2, 100}));
  EXPECT_FALSE(FeatureSetsConflict(shortSet, BuildFeatureSet({-100})));
  EXPECT_TRUE(FeatureSetConsistent(CFeatureSet(0)));
  EXPECT_TRUE(BuildFeatureSet({100}) != shortSet);
}

TEST_F(FeatureSetTest, OrderKeepsTheMinimumTestOfTheTopWord) {
  // a < b whenever min(a.pos, a.neg) < min(b.pos, b.neg) in the highest word
  // where either set is non-zero, the words read as signed numbers.
  struct Case {
    CFeatureSet a, b;
  } cases[] = {
      {Words({1}, {1}), Words({2}, {2})},
      {Words({0}, {5}), Words({3}, {1})},
      {Words({0x80000000u}, {1}), Words({0}, {0})},  // negative minimum
      {Words({}, {}), Words({0, 1}, {0, 1})},
      {Words({7, 0x80000000u}, {7, 1}), Words({0, 1}, {0, 1})},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(MinimumTestSaysLess(c.a, c.b));
    EXPECT_TRUE(c.a < c.b);
    EXPECT_FALSE(c.b < c.a);
  }
  EXPECT_FALSE(CFeatureSet() < CFeatureSet());
}

TEST_F(FeatureSetTest, OrderIsAStrictWeakOrderingOverRandomSets) {
  std::mt19937 rng(20261206);
  // Few distinct words, so that ties of the minimum test are common.
  const uint32_t pool[] = {0, 0, 0, 1, 2, 3, 0x80000000u, 0xFFFFFFFFu, 0x10u};
  std::uniform_int_distribution<int> pick(0, std::size(pool) - 1);
  std::uniform_int_distribution<int> top(0, kFeatureSetWords - 1);
  std::vector<CFeatureSet> sets;
  for (int n = 0; n < 120; ++n) {
    CFeatureSet set;
    const int highest = top(rng);
    for (int i = 0; i <= highest; ++i) {
      set.positive[i] = pool[pick(rng)];
      set.negative[i] = pool[pick(rng)];
    }
    if (n % 7 == 0) set.Resize(3 + n % 3);  // short and long sets mixed in
    sets.push_back(set);
  }
  auto equivalent = [](const CFeatureSet& x, const CFeatureSet& y) { return !(x < y) && !(y < x); };
  int violations = 0;
  for (const auto& a : sets) {
    violations += a < a;
    for (const auto& b : sets) {
      violations += (a < b) && (b < a);
      violations += MinimumTestSaysLess(a, b) && !(a < b);
      violations += equivalent(a, b) != (a == b);
      for (const auto& c : sets) {
        violations += (a < b) && (b < c) && !(a < c);
        violations += equivalent(a, b) && equivalent(b, c) && !equivalent(a, c);
      }
    }
  }
  EXPECT_EQ(violations, 0);
  std::vector<CFeatureSet> sorted = sets;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_TRUE(std::is_sorted(sorted.begin(), sorted.end()));
  for (size_t i = 1; i < sorted.size(); ++i) EXPECT_FALSE(sorted[i] < sorted[i - 1]);
}
