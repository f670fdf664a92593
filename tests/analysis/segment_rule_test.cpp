#include <gtest/gtest.h>

#include "analysis/segment_rule.h"
#include "segment_test_sentence.h"

namespace {

using segment_test::LookupIn;
using segment_test::TaggedSentence;
using segment_test::TagTable;

const TagTable kTags = {{"n", 1}, {"v", 2}, {"adj", 3}, {"p", 4}, {"coord_conj", 5}, {"punc", 6}, {"det", 7}};

// ---- reading elements and conditions ----

TEST(SegmentRuleText, ElementsReadTagAnyWordOrWordTagForms) {
  struct Case {
    WString text;
    bool ok;
    uint8_t wordGiven;
    WString word;
    uint16_t wordTag, anyTag;
  } cases[] = {
      {u"p:#", true, 0, u"", 0, 4},
      {u" and:coord_conj \r\n", true, 1, u"and", 5, 0},
      {u"nosuchtag:#", true, 0, u"", 0, 0},  // unknown tags read as 0
      {u",:punc", true, 1, u",", 6, 0},
      {u"p#", false, 0, u"", 0, 0},  // no ':'
      {u":punc", false, 0, u"", 0, 0},
      {u"and:", false, 0, u"", 0, 0},
      {u"", false, 0, u"", 0, 0},
  };
  for (const auto& c : cases) {
    CSegmentPatternElement element;
    ASSERT_EQ(element.Parse(c.text, LookupIn(kTags)), c.ok) << ToUtf8(c.text);
    if (!c.ok) continue;
    EXPECT_EQ(element.wordGiven, c.wordGiven);
    EXPECT_EQ(element.word, c.word);
    EXPECT_EQ(element.wordTagId, c.wordTag);
    EXPECT_EQ(element.anyWordTagId, c.anyTag);
  }
}

TEST(SegmentRuleText, ConditionsReadTheSignAndOneDigit) {
  struct Case {
    WString text;
    bool ok;
    uint16_t offset;
    uint8_t forward;
    uint16_t tag;
  } cases[] = {
      {u"v:#+1", true, 1, 1, 2},
      {u" the:det-2 ", true, 2, 0, 7},
      {u"n:#+12", true, 1, 1, 1},  // only the first digit counts
      {u"well-known:adj+0", true, 0, 1, 3},  // a '-' in the word is no sign
      {u"v:#1", false, 0, 0, 0},
      {u"v:#+", false, 0, 0, 0},
      {u"v:#+x", false, 0, 0, 0},
      {u"v#+1", false, 0, 0, 0},
  };
  for (const auto& c : cases) {
    CSegmentCondition condition;
    ASSERT_EQ(condition.Parse(c.text, LookupIn(kTags)), c.ok) << ToUtf8(c.text);
    if (!c.ok) continue;
    EXPECT_EQ(condition.offset, c.offset);
    EXPECT_EQ(condition.forward, c.forward);
    EXPECT_EQ(condition.TagId(), c.tag);
  }
}

TEST(SegmentRuleText, RuleLinesRejectAnyMalformedPiece) {
  CSegmentRule rule;
  EXPECT_TRUE(rule.ParsePattern(u",:punc * and:coord_conj", LookupIn(kTags)));
  EXPECT_EQ(rule.pattern.Size(), 2);
  EXPECT_FALSE(CSegmentRule().ParsePattern(u"", LookupIn(kTags)));
  EXPECT_FALSE(CSegmentRule().ParsePattern(u"n:#**v:#", LookupIn(kTags)));
  EXPECT_TRUE(rule.ParseConditions(u"adj:#-1*adj:#+1 | n:#-1*n:#+1", LookupIn(kTags)));
  ASSERT_EQ(rule.conditions.alternatives.size(), 2u);
  EXPECT_EQ(rule.conditions.alternatives[1].conditions.size(), 2u);
  EXPECT_FALSE(CSegmentRule().ParseConditions(u"adj:#-1|", LookupIn(kTags)));
  rule.SetLabel(u" F \r");
  EXPECT_EQ(rule.label, u"F");
}

// ---- matching ----

TEST(SegmentMatching, ElementTestsUseTheBestReadingOrAnyReading) {
  TaggedSentence s("black/adj,n and/coord_conj white/n,adj And/coord_conj", kTags);
  s.AddToken("tie", {{2, 1.0f}, {1, 1.0f}});   // equal weights: the first is best
  s.AddToken("late", {{2, 0.5f}, {1, 0.9f}});  // a strictly higher weight wins
  s.AddToken("none", {});
  struct Case {
    WString element;
    size_t token;
    bool matches;
  } cases[] = {
      {u"adj:#", 0, true},  {u"n:#", 0, false},  {u"n:#", 2, true},
      {u"and:coord_conj", 1, true},  {u"and:coord_conj", 3, false},  // letter case counts
      {u"white:adj", 2, true},  // any reading of the word
      {u"white:v", 2, false},   {u"v:#", 4, true},  {u"n:#", 4, false},
      {u"n:#", 5, true},        {u"v:#", 5, false}, {u"n:#", 6, false},
      {u"unknown:#", 6, false},
  };
  for (const auto& c : cases) {
    CSegmentPatternElement element;
    ASSERT_TRUE(element.Parse(c.element, LookupIn(kTags)));
    EXPECT_EQ(element.Matches(s.readings[c.token], s.tokens[c.token]), c.matches)
        << ToUtf8(c.element) << " on token " << c.token;
  }
}

TEST(SegmentMatching, FindMatchSkipsTheEdgesOfAFirstSearch) {
  TaggedSentence s("and/coord_conj a/n and/coord_conj b/n and/coord_conj", kTags);
  struct Case {
    WString pattern;
    uint16_t start, found;
  } cases[] = {
      {u"and:coord_conj", 0, 2},  // not 0, not the last
      {u"and:coord_conj", 2, 4},  // a later search may end on the last token
      {u"and:coord_conj", 4, 0},
      {u"n:#*and:coord_conj", 0, 1},
      {u"n:#*and:coord_conj", 1, 3},
      {u"and:coord_conj*n:#*and:coord_conj*n:#", 0, 0},  // may not run past the end
      {u"v:#", 0, 0},
  };
  for (const auto& c : cases) {
    CSegmentRule rule;
    ASSERT_TRUE(rule.ParsePattern(c.pattern, LookupIn(kTags)));
    EXPECT_EQ(rule.pattern.FindMatch(s.readings, s.tokens, c.start), c.found) << ToUtf8(c.pattern);
  }
  CSegmentPattern pattern;
  ASSERT_TRUE(pattern.AddElement(u"n:#", LookupIn(kTags)));
  for (const char* text : {"", "a/n", "a/n b/n"}) {
    TaggedSentence shortOne(text, kTags);
    EXPECT_EQ(pattern.FindMatch(shortOne.readings, shortOne.tokens, 0), 0) << text;
  }
}

TEST(SegmentMatching, RuleAppliesAtTheFirstMatchNoExceptionBlocks) {
  // "black and white cats and dogs bark and ..."
  TaggedSentence s("cats/n black/adj and/coord_conj white/adj cats/n and/coord_conj dogs/n bark/v and/coord_conj",
                   kTags);
  struct Case {
    WString conditions;  // "#" for none
    int position;        // -1 for no match
  } cases[] = {
      {u"#", 2},
      {u"adj:#-1*adj:#+1", 5},                 // coordinated adjectives are no cut
      {u"adj:#-1*adj:#+1|n:#-1*n:#+1", 8},    // a later search reaches the last token
      {u"adj:#-1|v:#+9", 5},                   // looking past the end never blocks
      {u"coord_conj:#+0", -1},
  };
  for (const auto& c : cases) {
    CSegmentRule rule;
    ASSERT_TRUE(rule.ParsePattern(u"and:coord_conj", LookupIn(kTags)));
    if (c.conditions != u"#") {
      ASSERT_TRUE(rule.ParseConditions(c.conditions, LookupIn(kTags)));
    }
    rule.SetLabel(u"L");
    auto match = rule.Match(s.readings, s.tokens);
    if (c.position < 0) {
      EXPECT_EQ(match, nullptr) << ToUtf8(c.conditions);
      continue;
    }
    ASSERT_NE(match, nullptr) << ToUtf8(c.conditions);
    EXPECT_EQ(match->position, c.position);
    EXPECT_EQ(match->length, 1);
    EXPECT_EQ(match->label, u"L");
  }
}

TEST(SegmentMatching, ConditionsLookOnlyInsideTheSequence) {
  TaggedSentence s("a/n b/v c/n", kTags);
  struct Case {
    WString condition;
    uint16_t position;
    bool holds;
  } cases[] = {
      {u"n:#-1", 1, true}, {u"n:#-2", 1, false}, {u"n:#+1", 1, true},
      {u"n:#+2", 1, false}, {u"v:#+0", 1, true}, {u"c:n+1", 1, true}, {u"C:n+1", 1, false},
  };
  for (const auto& c : cases) {
    CSegmentCondition condition;
    ASSERT_TRUE(condition.Parse(c.condition, LookupIn(kTags)));
    EXPECT_EQ(condition.Holds(s.readings, s.tokens, c.position), c.holds) << ToUtf8(c.condition);
  }
}

// ---- pruning ----

TEST(SegmentPruning, ChosenRuleNarrowsReadingsButNeverEmptiesAList) {
  using segment_test::Tags;
  struct Case {
    const char* sentence;
    WString pattern, conditions;
    const char* after;
  } cases[] = {
      // the matched token keeps its first reading of the pattern's tag
      {"a/n so/adj,coord_conj,coord_conj b/n", u"so:coord_conj", u"#", "n coord_conj n"},
      // a single reading stays as it is
      {"a/n and/coord_conj b/n", u"and:coord_conj", u"#", "n coord_conj n"},
      // exceptions remove their tag's readings from the tokens they look at
      {"a/v,n and/coord_conj b/adj,n,adj", u"and:coord_conj", u"v:#-1*adj:#+1", "n coord_conj n"},
      // the word of a condition is not compared when pruning
      {"a/n and/coord_conj b/adj,n", u"and:coord_conj", u"white:adj+1", "n coord_conj n"},
      // a list whose readings all carry the tag keeps them all
      {"a/n and/coord_conj b/adj,adj", u"and:coord_conj", u"adj:#+1", "n coord_conj adj,adj"},
      // unknown tags remove nothing
      {"a/n and/coord_conj b/adj,n", u"and:coord_conj", u"zzz:#+1", "n coord_conj adj,n"},
  };
  for (const auto& c : cases) {
    TaggedSentence s(c.sentence, kTags);
    CSegmentRule rule;
    ASSERT_TRUE(rule.ParsePattern(c.pattern, LookupIn(kTags)));
    if (c.conditions != u"#") {
      ASSERT_TRUE(rule.ParseConditions(c.conditions, LookupIn(kTags)));
    }
    CSegmentMatch match;
    match.position = 1;
    match.length = rule.pattern.Size();
    rule.Apply(s.readings, match);
    EXPECT_EQ(Tags(s.readings, kTags), c.after) << c.sentence;
  }
}

TEST(SegmentPruning, MatchesNearTheEdgesPruneOnlyInsideTheSequence) {
  TaggedSentence s("a/n,v b/n,v", kTags);
  CSegmentRule rule;
  ASSERT_TRUE(rule.ParsePattern(u"n:#*n:#*n:#", LookupIn(kTags)));
  ASSERT_TRUE(rule.ParseConditions(u"v:#-3*v:#+5", LookupIn(kTags)));
  CSegmentMatch match;
  match.position = 1;
  match.length = 3;
  rule.Apply(s.readings, match);
  EXPECT_EQ(segment_test::Tags(s.readings, kTags), "n,v n");
}

}  // namespace
