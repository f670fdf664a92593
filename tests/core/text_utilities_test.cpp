// Small text, number, value-set and mask helpers, and the parse clock.
#include <gtest/gtest.h>

#include <climits>
#include <optional>

#include "core/category_mask.h"
#include "core/parse_clock.h"
#include "core/string_helpers.h"
#include "core/text_reading.h"
#include "core/text_split.h"
#include "core/value_sets.h"
#include "platform/clock.h"

TEST(ValueSets, IntersectionKeepsTheSecondListsOrderAndTheFirstListsCounts) {
  const std::tuple<ValueList, ValueList, std::optional<ValueList>> cases[] = {
      {{}, {4, 5}, ValueList{4, 5}},  // an empty first list allows anything
      {{5, 4}, {4, 5, 6}, ValueList{4, 5}}, {{4, 4}, {4, 7}, ValueList{4, 4}},
      {{1, 2}, {3}, std::nullopt},          {{1}, {}, std::nullopt},
  };
  for (const auto& [a, b, expected] : cases) {
    auto result = IntersectValues(&a, &b);
    EXPECT_EQ(result ? std::optional(*result) : std::nullopt, expected);
  }
  ValueList empty, one{1}, oneTwo{1, 2}, three{3};
  EXPECT_EQ(IntersectValues(nullptr, &one), nullptr);
  EXPECT_FALSE(ValuesDisjoint(&empty, &one));  // an empty first list allows anything here too
  EXPECT_TRUE(ValuesDisjoint(&oneTwo, &three));
  EXPECT_TRUE(IsValueSubset(&one, &oneTwo));
  EXPECT_FALSE(IsValueSubset(&oneTwo, &one));
  EXPECT_FALSE(IsValueSubset(nullptr, &one));
}

TEST(Tokenize, CutsAtWhiteSpaceAndDelimitersAndAngleBracketsShieldDelimiters) {
  const std::tuple<bool, WString, WString, bool, PieceList> cases[] = {
      {false, u"a,b", u",", true, {u"a", u",", u"b"}},
      {false, u" one  two\t\r\n,,three ", u",", false, {u"one", u"two", u"three"}},
      {false, u"a b\u00A0x", u" ", true, {u"a", u"b\u00A0x"}},  // white space is never emitted, no-break space is text
      {true, u"{give<SUBJ,OBJ>,x}", u"{},", false, {u"give<SUBJ,OBJ>", u"x"}},
      {true, u"a<b,c>d,e", u",", true, {u"a<b,c>d", u",", u"e"}},
      {true, u"<a, b>", u",", false, {u"<a,", u"b>"}},  // white space still cuts
      {true, u"a<b", u"<,", false, {u"a<b"}},           // '<' opens, never cuts
      {true, u"a>b,c", u">,", false, {u"a>b", u"c"}},   // '>' is shielded too
  };
  for (const auto& [brackets, text, delimiters, emit, expected] : cases) {
    auto pieces = (brackets ? TokenizeKeepingAngleBrackets : Tokenize)(text, delimiters, emit);
    EXPECT_EQ(*pieces, expected) << ToUtf8(text);
  }
}

TEST(SplitApostrophe, CutsBeforeTheLastApostropheAndReplacesDelimiters) {
  const std::vector<WString> lines = {u"- hyphen", u"? question", u"!", u"x ", u"- second"};
  const std::pair<WString, PieceList> cases[] = {
      {u"rock'n'roll", {u"rock'n", u"apostr"}},
      {u"big dog's  bone", {u"big", u"dog", u"apostr", u"bone"}},
      {u"well-known?", {u"well", u"hyphen", u"known", u"question"}},
      {u"a!bxc", {u"a!bxc"}},  // lines of one or two units are no delimiters
      {u"'s", {u"", u"apostr"}},
  };
  const int before = CWord::liveInstances;
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(*CWord(text).SplitApostrophe(lines), expected) << ToUtf8(text);
    EXPECT_EQ(*SplitApostrophe(CWord(text), lines), expected);
  }
  EXPECT_EQ(CWord::liveInstances, before);  // the words it made for itself are gone
}

TEST(TextHelpers, NumbersSaturateAndTrimmingRemovesOnlyItsOwnWhiteSpace) {
  const std::pair<std::string, int> digits[] = {
      {"x-1,000", 1000}, {"2147483648", INT_MAX}, {"214748364 9", INT_MAX}, {"214748364 6", 2147483646}};
  for (const auto& [text, value] : digits) EXPECT_EQ(ParseDigits(text), value) << text;
  EXPECT_EQ(IntToString(INT_MIN), "-2147483648");
  EXPECT_EQ(TrimWString(u"\u00A0\t a\u2003\r\n"), u"\u00A0\t a\u2003");  // other spaces are text
  WString text = u" \tword\r\n ";
  TrimSpaceCrLf(text);
  EXPECT_EQ(text, u"\tword");                              // tabs stay
  EXPECT_EQ(TrimNarrowString("\t noun\v\r\n"), "noun\v");  // only the four white-space characters
  EXPECT_EQ(WideToNarrow(u"\u00E9\u060C"), std::string("\xE9\x0C", 2));
}

TEST(CategoryMask, BitsGoToTheirWordAndOutOfRangeIdsAreIgnored) {
  CCategoryMask mask, other;
  for (int id : {31, 0, 32, 63}) mask.Set(id);
  for (int id : {64, -1, INT_MIN}) EXPECT_EQ(mask.Set(id), 0u);
  EXPECT_EQ(mask.LowWord(), 0x80000001u);
  EXPECT_EQ(mask.HighWord(), 0x80000001u);
  other.Set(4);
  EXPECT_FALSE(CategoryMasksIntersect(mask, other));
  other.Set(63);
  EXPECT_TRUE(CategoryMasksIntersect(mask, other));
}

TEST(ParseClock, LimitIsExceededOnlyWhenStrictlyPassed) {
  int64_t nowNs = 5'000'000'000;
  ClockSource previous = SetClockSourceForTesting([&nowNs] { return nowNs; });
  const int32_t savedLimit = ParseTimeLimit;
  ParseTimeLimit = 300;
  ParseStartTime = ParseClock();  // in milliseconds
  nowNs += 300'000'000;
  EXPECT_FALSE(ParseTimeExceeded());
  nowNs += 1'000'000;
  EXPECT_TRUE(ParseTimeExceeded());
  ParseTimeLimit = savedLimit;
  SetClockSourceForTesting(previous);
}
