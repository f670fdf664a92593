// The segmentation rules and the segmenter with small rule files: matching,
// pruning, loading, cutting by labels, commas, and the segment list between
// sentences.
#include <gtest/gtest.h>

#include <array>

#include "analysis/segmentation/segment_rule.h"
#include "analysis/segmentation/segment_test_sentence.h"
#include "analysis/segmentation/sentence_segmenter.h"
#include "support/test_support.h"

namespace {

using segment_test::Describe;
using segment_test::LookupIn;
using segment_test::TaggedSentence;
using Segments = std::vector<std::string>;

const segment_test::TagTable kTags = {{"n", 1},          {"v", 2},    {"adj", 3}, {"p", 4},
                                      {"coord_conj", 5}, {"punc", 6}, {"det", 7}};
const std::string kComma = "\xD8\x8C";  // U+060C in UTF-8

struct Loaded {
  std::unique_ptr<CSentenceSegmenter> segmenter;
  std::vector<std::string> rules;  // "pattern size/alternatives/label"
  std::vector<std::string> messages;
};

Loaded Load(const WString& text, bool withMark = true) {
  TempDir dir;
  WriteUtf16File(dir.File("rules.txt"), text, withMark);
  MessageRecorder recorder;
  Loaded loaded{std::make_unique<CSentenceSegmenter>(dir.File("rules.txt"), LookupIn(kTags)), {}, {}};
  for (const auto& rule : loaded.segmenter->rules) {
    loaded.rules.push_back(std::to_string(rule->pattern.Size()) + "/" +
                           std::to_string(rule->conditions.alternatives.size()) + "/" + ToUtf8(rule->label));
  }
  for (const auto& message : recorder.messages()) loaded.messages.push_back(ToUtf8(message.text));
  return loaded;
}

// A rule file of "pattern / conditions / label" triples, CR LF line ends.
Loaded Rules(const std::vector<std::array<WString, 3>>& rules) {
  WString text;
  for (const auto& [pattern, conditions, label] : rules) {
    text += u"h\r\n" + pattern + u"\r\n" + conditions + u"\r\n" + label + u"\r\n\r\n";
  }
  return Load(text);
}

TEST(SegmentRuleFile, LineEndsMarksAndTheLastBlankLineDoNotMatter) {
  const WString rules =
      u"Cut at a semicolon\n;:punc\n#\nF\n\nCut before a preposition\np:#\n"
      u"n:#-1*n:#+1|coord_conj:#-1\nS\n\nCut at and\nand:coord_conj\n#\n\u0627\u0648\u0631";
  for (const WString lineEnd : {u"\r\n", u"\n", u"\r"}) {
    for (const WString tail : {u"", u"\n\n"}) {  // the file without a trailing blank line has no mark
      WString text;
      for (WChar unit : rules + tail) text += unit == u'\n' ? lineEnd : WString(1, unit);
      Loaded loaded = Load(text, !tail.empty());
      EXPECT_EQ(loaded.rules, (Segments{"1/0/F", "1/2/S", "1/0/\u0627\u0648\u0631"}));
      EXPECT_EQ(loaded.segmenter->pRuleIndex, 1);
      EXPECT_EQ(loaded.segmenter->andRuleIndex, 2);
      EXPECT_TRUE(loaded.messages.empty());
    }
  }
}

// A malformed block is reported with its line and skipped; the rule indexes
// count only the blocks kept.
TEST(SegmentRuleFile, MalformedBlocksAreReportedAndSkipped) {
  const std::tuple<WString, Segments, std::string> cases[] = {
      {u"h\r\nand\r\n#\r\nA\r\n\r\nh\r\np:#\r\n#\r\nS\r\n", {"1/0/S"}, "2"},        // element without ':'
      {u"h\r\n;:punc\r\nn:#1\r\nF\r\n\r\nh\r\np:#\r\n#\r\nS\r\n", {"1/0/S"}, "3"},  // condition without sign
      {u"h\r\n;:punc\r\nF\r\n\r\nh\r\np:#\r\n#\r\nS\r\n", {"1/0/S"}, "3"},          // condition line missing
      {u"h\r\n;:punc\r\n#\r\nF\r\nh\r\nand:coord_conj\r\n#\r\nA\r\n\r\nh\r\np:#\r\n#\r\nS\r\n", {"1/0/S"}, "5"},
      {u"h\r\n;:punc\r\n#\r\nF\r\n\r\n\r\nh\r\np:#\r\n#\r\nS\r\n", {"1/0/F", "1/0/S"}, "7"},  // extra blank line
      {u"h\r\n;:punc\r\n#\r\nF\r\n\r\nh\r\np:#\r\n#", {"1/0/F"}, "8"},  // file ends inside a block
      {u"h\r\n;:punc\r\n#\r\nF\r\n\r\nlast header", {"1/0/F"}, ""},
  };
  for (const auto& [text, rules, line] : cases) {
    Loaded loaded = Load(text);
    EXPECT_EQ(loaded.rules, rules) << line;
    EXPECT_EQ(loaded.segmenter->pRuleIndex, rules.back() == "1/0/S" ? rules.size() - 1 : CSentenceSegmenter::kNoRule)
        << line;
    ASSERT_EQ(loaded.messages.size(), line.empty() ? 0u : 1u) << line;
    if (line.empty()) continue;
    EXPECT_NE(loaded.messages[0].find(", line " + line + ":"), std::string::npos) << loaded.messages[0];
  }
  TempDir dir;
  MessageRecorder recorder;
  EXPECT_TRUE(CSentenceSegmenter(dir.File("none.txt"), LookupIn(kTags)).rules.empty());
}

TEST(Segmenter, CutsByLabelsRecursivelyAndMarksCommas) {
  using Rules3 = std::vector<std::array<WString, 3>>;
  const Rules3 andRule = {{u"and:coord_conj", u"#", u"A"}};
  const std::tuple<Rules3, const char*, Segments> cases[] = {
      // another label drops the match and joins with the label's text
      {andRule, "a/n ,/punc and/coord_conj b/n c/n", {"a | A | 0", "b c |  | -1"}},
      {{{u"so:coord_conj", u"#", u"F"}}, "a/n so/coord_conj b/v", {"a so |  | 0", "b |  | -1"}},
      {{{u"n:#*so:coord_conj", u"#", u"S"}}, "a/v b/n so/coord_conj c/v", {"a |  | 0", "b so c |  | -1"}},
      // every piece is searched again, rules in file order; a piece inherits the cut that ends it
      {{{u";:punc", u"#", u"X"}, {u"and:coord_conj", u"#", u"A"}},
       "a/n and/coord_conj b/n ;/punc c/n and/coord_conj d/n",
       {"a | A | 1", "b | X | 0", "c | A | 1", "d |  | -1"}},
      // an "F" cut at the very end would never end
      {{{u"n:#*v:#", u"#", u"F"}, {u"and:coord_conj", u"#", u"A"}},
       "x/p a/n and/coord_conj b/n c/v",
       {"x a | A | 1", "b c |  | -1"}},
      {{{u",:punc", u"#", u"S"}}, "a/n b/v ,/punc c/n", {"a b | " + kComma + " | 0", "c |  | -1"}},
      {andRule, "a/n and/coord_conj b/n ,/punc", {"a | A | 0", "b | " + kComma + " | -1"}},
      {andRule, ",/punc a/n and/coord_conj b/n", {"a | A | 0", "b |  | -1"}},
      {andRule, "a/n and/coord_conj ,/punc", {"a | A | 0"}},  // a lone comma vanishes
      {andRule, "", {}},
  };
  for (const auto& [rules, sentence, segments] : cases) {
    Loaded loaded = Rules(rules);
    TaggedSentence s(sentence, kTags);
    EXPECT_EQ(Describe(loaded.segmenter->Segment(s.readings, s.tokens)), segments) << sentence;
  }
}

TEST(Segmenter, SegmentsPruneTheirReadingsAndCollectUntilCleared) {
  Loaded loaded = Rules({{u"and:coord_conj", u"adj:#-1*adj:#+1", u"A"}});
  CSentenceSegmenter& segmenter = *loaded.segmenter;
  TaggedSentence first("a/n,adj and/n,coord_conj b/v,adj c/n", kTags);
  auto segments = segmenter.Segment(first.readings, first.tokens);
  EXPECT_EQ(Describe(segments), (Segments{"a | A | 0", "b c |  | -1"}));
  EXPECT_EQ(segment_test::Tags(segments[0]->readingLists, kTags), "n");
  EXPECT_EQ(segment_test::Tags(segments[1]->readingLists, kTags), "v n");
  // The comma that opens the next sentence must not mark the last one.
  TaggedSentence second(",/punc c/n", kTags);
  EXPECT_EQ(Describe(segmenter.Segment(second.readings, second.tokens)),
            (Segments{"a | A | 0", "b c |  | -1", "c |  | -1"}));
  segmenter.ClearSegments();
  // Sequences of different lengths stay one segment.
  TaggedSentence third("a/n and/coord_conj b/n", kTags);
  third.readings.pop_back();
  EXPECT_EQ(Describe(segmenter.Segment(third.readings, third.tokens)), (Segments{"a and b |  | -1"}));
}

TEST(SegmentMatching, ElementsTestTheBestReadingOrAnyReadingOfTheWord) {
  TaggedSentence s("black/adj,n white/n,adj And/coord_conj", kTags);
  s.AddToken("tie", {{2, 1.0f}, {1, 1.0f}});   // equal weights: the first is best
  s.AddToken("late", {{2, 0.5f}, {1, 0.9f}});  // a strictly higher weight wins
  s.AddToken("none", {});
  const std::tuple<WString, size_t, bool> cases[] = {
      {u"n:#", 0, false}, {u"white:adj", 1, true}, {u"white:v", 1, false}, {u"and:coord_conj", 2, false},
      {u"v:#", 3, true},  {u"n:#", 4, true},       {u"n:#", 5, false}};  // letter case counts
  for (const auto& [text, token, matches] : cases) {
    CSegmentPatternElement element;
    ASSERT_TRUE(element.Parse(text, LookupIn(kTags)));
    EXPECT_EQ(element.Matches(s.readings[token], s.tokens[token]), matches) << ToUtf8(text) << " on " << token;
  }
}

TEST(SegmentMatching, SearchesSkipTheEdgesAndConditionsStayInsideTheSequence) {
  TaggedSentence s("and/coord_conj a/n and/coord_conj b/n and/coord_conj", kTags);
  const std::tuple<WString, uint16_t, uint16_t> finds[] = {
      {u"and:coord_conj", 0, 2},
      {u"and:coord_conj", 2, 4},
      {u"n:#*and:coord_conj", 1, 3},                     // a first search
      {u"and:coord_conj*n:#*and:coord_conj*n:#", 0, 0},  // skips the first and last token; no match runs past the end
  };
  for (const auto& [pattern, start, found] : finds) {
    CSegmentRule rule;
    ASSERT_TRUE(rule.ParsePattern(pattern, LookupIn(kTags)));
    EXPECT_EQ(rule.pattern.FindMatch(s.readings, s.tokens, start), found) << ToUtf8(pattern);
  }
  CSegmentPattern one;
  ASSERT_TRUE(one.AddElement(u"n:#", LookupIn(kTags)));
  for (const char* text : {"", "a/n b/n"}) {
    TaggedSentence tooShort(text, kTags);
    EXPECT_EQ(one.FindMatch(tooShort.readings, tooShort.tokens, 0), 0) << text;
  }
  EXPECT_FALSE(CSegmentRule().ParsePattern(u"n:#**v:#", LookupIn(kTags)));
  EXPECT_FALSE(CSegmentRule().ParseConditions(u"adj:#-1|", LookupIn(kTags)));
  TaggedSentence three("a/n b/v c/n", kTags);
  const std::pair<WString, bool> conditions[] = {// only the first digit counts; a '-' in a word is no sign
                                                 {u"n:#-1", true},  {u"n:#-2", false},  {u"n:#+2", false},
                                                 {u"v:#+0", true},  {u" c:n+1 ", true}, {u"C:n+1", false},
                                                 {u"n:#+12", true}, {u"b-c:v-0", false}};
  for (const auto& [text, holds] : conditions) {
    CSegmentCondition condition;
    ASSERT_TRUE(condition.Parse(text, LookupIn(kTags)));
    EXPECT_EQ(condition.Holds(three.readings, three.tokens, 1), holds) << ToUtf8(text);
  }
}

// The matched token keeps its first reading of the pattern's tag; exceptions
// remove their tag's readings, but never the last reading of a token.
TEST(SegmentPruning, ChosenRuleNarrowsReadingsButNeverEmptiesAList) {
  const std::tuple<const char*, WString, WString, const char*> cases[] = {
      {"a/n so/adj,coord_conj,coord_conj b/n", u"so:coord_conj", u"#", "n coord_conj n"},
      {"a/v,n and/coord_conj b/adj,n,adj", u"and:coord_conj", u"v:#-1*adj:#+1", "n coord_conj n"},
      {"a/n and/coord_conj b/adj,n", u"and:coord_conj", u"white:adj+1", "n coord_conj n"},  // the word is not compared
      {"a/n and/coord_conj b/adj,adj", u"and:coord_conj", u"adj:#+1", "n coord_conj adj,adj"},
      {"a/n and/coord_conj b/adj,n", u"and:coord_conj", u"zzz:#+1", "n coord_conj adj,n"},
      {"a/n,v b/n,v", u"n:#*n:#*n:#", u"v:#-3*v:#+5", "n,v n"},  // near the edges
  };
  for (const auto& [sentence, pattern, conditions, after] : cases) {
    TaggedSentence s(sentence, kTags);
    CSegmentRule rule;
    ASSERT_TRUE(rule.ParsePattern(pattern, LookupIn(kTags)));
    ASSERT_TRUE(conditions == u"#" || rule.ParseConditions(conditions, LookupIn(kTags)));
    CSegmentMatch match;
    match.position = 1;
    match.length = rule.pattern.Size();
    rule.Apply(s.readings, match);
    EXPECT_EQ(segment_test::Tags(s.readings, kTags), after) << sentence;
  }
}

}  // namespace
