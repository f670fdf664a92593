#include <gtest/gtest.h>

#include <climits>

#include "core/category_mask.h"
#include "core/parse_clock.h"
#include "core/string_helpers.h"
#include "core/text_split.h"
#include "core/value_sets.h"
#include "platform/clock.h"

namespace {

// ---- value sets ----

TEST(ValueSets, IntersectionKeepsOrderOfTheSecondListAndCountsOfTheFirst) {
  struct Case {
    ValueList a, b;
    bool isNull;
    ValueList result;
  } cases[] = {
      {{}, {4, 5}, false, {4, 5}},          // empty first list allows anything
      {{}, {}, false, {}},
      {{5, 4}, {4, 5, 6}, false, {4, 5}},  // b's order
      {{4, 4}, {4, 7}, false, {4, 4}},     // once per equal value of a
      {{4}, {4, 4}, false, {4, 4}},
      {{1, 2}, {3}, true, {}},
      {{1}, {}, true, {}},
  };
  for (const auto& c : cases) {
    auto result = IntersectValues(&c.a, &c.b);
    ASSERT_EQ(result == nullptr, c.isNull);
    if (result) {
      EXPECT_EQ(*result, c.result);
    }
  }
  ValueList some{1};
  EXPECT_EQ(IntersectValues(nullptr, &some), nullptr);
  EXPECT_EQ(IntersectValues(&some, nullptr), nullptr);
}

TEST(ValueSets, DisjointnessAndSubsets) {
  ValueList empty, one{1}, oneTwo{1, 2}, three{3};
  EXPECT_FALSE(ValuesDisjoint(&empty, &empty));
  EXPECT_TRUE(ValuesDisjoint(&one, &empty));
  EXPECT_FALSE(ValuesDisjoint(&empty, &one));
  EXPECT_FALSE(ValuesDisjoint(&one, &oneTwo));
  EXPECT_TRUE(ValuesDisjoint(&oneTwo, &three));
  EXPECT_TRUE(ValuesDisjoint(nullptr, &one));

  EXPECT_TRUE(IsValueSubset(&one, &oneTwo));
  EXPECT_FALSE(IsValueSubset(&oneTwo, &one));
  EXPECT_TRUE(IsValueSubset(&empty, &three));
  EXPECT_FALSE(IsValueSubset(nullptr, &one));
  EXPECT_FALSE(IsValueSubset(&one, nullptr));
}

// ---- Tokenize family ----

struct SplitCase {
  WString text, delimiters;
  bool emit;
  PieceList pieces;
};

TEST(Tokenize, CutsAtWhiteSpaceAndDelimitersWithoutEmptyPieces) {
  const SplitCase cases[] = {
      {u"a,b", u",", true, {u"a", u",", u"b"}},
      {u"a,b", u",", false, {u"a", u"b"}},
      {u"one  two\t\r\nthree ", u"", false, {u"one", u"two", u"three"}},
      {u",,a,,", u",", false, {u"a"}},
      {u"{x,y}", u"{},", true, {u"{", u"x", u",", u"y", u"}"}},
      {u"a b", u" ", true, {u"a", u"b"}},  // white space is never emitted
      {u"", u",", true, {}},
      {u"  ", u"", false, {}},
      {u"\u00A0x", u"", false, {u"\u00A0x"}},  // no-break space is text
  };
  for (const auto& c : cases) {
    auto pieces = Tokenize(c.text, c.delimiters, c.emit);
    ASSERT_NE(pieces, nullptr);
    EXPECT_EQ(*pieces, c.pieces) << ToUtf8(c.text);
  }
}

TEST(Tokenize, AngleBracketsShieldDelimitersButNotWhiteSpace) {
  const SplitCase cases[] = {
      {u"{give<SUBJ,OBJ>,x}", u"{},", false, {u"give<SUBJ,OBJ>", u"x"}},
      {u"a<b,c>d,e", u",", true, {u"a<b,c>d", u",", u"e"}},
      {u"<a, b>", u",", false, {u"<a,", u"b>"}},
      {u"a<b", u"<,", false, {u"a<b"}},           // '<' opens, never cuts
      {u"a>b,c", u">,", false, {u"a>b", u"c"}},   // '>' is shielded too
      {u"x,y", u",", true, {u"x", u",", u"y"}},
  };
  for (const auto& c : cases) {
    auto pieces = TokenizeKeepingAngleBrackets(c.text, c.delimiters, c.emit);
    ASSERT_NE(pieces, nullptr);
    EXPECT_EQ(*pieces, c.pieces) << ToUtf8(c.text);
  }
}

TEST(SplitApostrophe, CutsBeforeTheLastApostropheAndReplacesDelimiters) {
  const std::vector<WString> lines = {u"- hyphen", u"? question", u"!", u"x ", u"- second"};
  struct Case {
    WString text;
    PieceList pieces;
  } cases[] = {
      {u"John's", {u"John", u"apostr"}},
      {u"boys'", {u"boys", u"apostr"}},
      {u"rock'n'roll", {u"rock'n", u"apostr"}},
      {u"book", {u"book"}},
      {u"big dog's  bone", {u"big", u"dog", u"apostr", u"bone"}},
      {u"well-known?", {u"well", u"hyphen", u"known", u"question"}},
      {u"a!b", {u"a!b"}},    // a line of one unit is no delimiter
      {u"axb", {u"axb"}},    // nor one of two
      {u"'s", {u"", u"apostr"}},
  };
  const int before = CWord::liveInstances;
  for (const auto& c : cases) {
    CWord word(c.text);
    auto pieces = word.SplitApostrophe(lines);
    ASSERT_NE(pieces, nullptr);
    EXPECT_EQ(*pieces, c.pieces) << ToUtf8(c.text);
    EXPECT_EQ(*SplitApostrophe(word, lines), c.pieces);
  }
  EXPECT_EQ(CWord::liveInstances, before);
}

TEST(SplitApostrophe, ReplacementsAreKeptEvenWhenEmpty) {
  auto pieces = CWord::TokenizeWithReplacements(u"a;b", {u";  "});
  ASSERT_NE(pieces, nullptr);
  EXPECT_EQ(*pieces, (PieceList{u"a", u"", u"b"}));
}

// ---- number and narrow text helpers ----

TEST(NumberHelpers, ParseDigitsReadsOnlyDigitsAndSaturates) {
  struct Case {
    std::string text;
    int value;
  } cases[] = {
      {"7", 7},
      {"x7", 7},
      {"-12", 12},             // the sign is ignored
      {"1,000", 1000},
      {"", 0},
      {"abc", 0},
      {"007", 7},
      {"123456789", 123456789},
      {"2147483647", INT_MAX},
      {"2147483648", INT_MAX},
      {"99999999999999999999", INT_MAX},
      {"214748364 9", INT_MAX},
      {"214748364 6", 2147483646},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseDigits(c.text), c.value) << c.text;
}

TEST(NumberHelpers, IntToStringAndTrimNarrowString) {
  EXPECT_EQ(IntToString(0), "0");
  EXPECT_EQ(IntToString(-15), "-15");
  EXPECT_EQ(IntToString(INT_MIN), "-2147483648");
  EXPECT_EQ(TrimNarrowString(" \t noun \r\n"), "noun");
  EXPECT_EQ(TrimNarrowString("a b"), "a b");
  EXPECT_EQ(TrimNarrowString(" \r\n\t"), "");
  EXPECT_EQ(TrimNarrowString("\va\v"), "\va\v");  // only the four white-space characters
}

// ---- category mask ----

TEST(CategoryMask, BitsGoToTheirWordAndOutOfRangeIdsAreIgnored) {
  CCategoryMask mask;
  EXPECT_TRUE(mask.IsClear());
  EXPECT_EQ(mask.Set(31), 0x80000000u);
  EXPECT_EQ(mask.Set(0), 0x80000001u);
  EXPECT_EQ(mask.Set(32), 1u);
  EXPECT_EQ(mask.Set(63), 0x80000001u);
  EXPECT_EQ(mask.LowWord(), 0x80000001u);
  EXPECT_EQ(mask.HighWord(), 0x80000001u);
  for (int id : {64, 100, -1, INT_MIN}) {
    EXPECT_EQ(mask.Set(id), 0u);
    EXPECT_EQ(mask.LowWord(), 0x80000001u);
    EXPECT_EQ(mask.HighWord(), 0x80000001u);
  }
  mask.Clear();
  EXPECT_TRUE(mask.IsClear());
}

TEST(CategoryMask, IntersectionNeedsASharedBit) {
  CCategoryMask a, b, empty;
  a.Set(3);
  a.Set(40);
  b.Set(4);
  EXPECT_FALSE(CategoryMasksIntersect(a, b));
  b.Set(40);
  EXPECT_TRUE(CategoryMasksIntersect(a, b));
  EXPECT_FALSE(CategoryMasksIntersect(a, empty));
  EXPECT_FALSE(CategoryMasksIntersect(empty, empty));
}

// ---- parse time limit ----

TEST(ParseClock, LimitIsExceededOnlyWhenStrictlyPassed) {
  int64_t nowNs = 5'000'000'000;
  ClockSource previous = SetClockSourceForTesting([&nowNs] { return nowNs; });
  const int32_t savedLimit = ParseTimeLimit;
  ParseTimeLimit = 300;
  ParseStartTime = ParseClock();
  EXPECT_EQ(ParseStartTime, 5000);
  nowNs += 300'000'000;
  EXPECT_FALSE(ParseTimeExceeded());
  nowNs += 1'000'000;
  EXPECT_TRUE(ParseTimeExceeded());
  ParseTimeLimit = savedLimit;
  SetClockSourceForTesting(previous);
}

}  // namespace
