#include <gtest/gtest.h>

#include <array>

#include "analysis/sentence_segmenter.h"
#include "segment_test_sentence.h"
#include "support/test_support.h"

namespace {

using segment_test::Describe;
using segment_test::LookupIn;
using segment_test::TaggedSentence;
using segment_test::TagTable;

const TagTable kTags = {{"n", 1}, {"v", 2}, {"adj", 3}, {"p", 4}, {"coord_conj", 5}, {"punc", 6}, {"pro", 7}};

// A rule file of "pattern / conditions / label" triples, CR LF line ends.
WString RuleFile(const std::vector<std::array<WString, 3>>& rules) {
  WString text;
  for (const auto& [pattern, conditions, label] : rules) {
    text += u"header\r\n" + pattern + u"\r\n" + conditions + u"\r\n" + label + u"\r\n\r\n";
  }
  return text;
}

struct SegmenterFixture : ::testing::Test {
  std::unique_ptr<CSentenceSegmenter> Load(const std::vector<std::array<WString, 3>>& rules) {
    WriteUtf16File(dir.File("rules.txt"), RuleFile(rules));
    return std::make_unique<CSentenceSegmenter>(dir.File("rules.txt"), LookupIn(kTags));
  }
  TempDir dir;
};

// ---- cutting by labels ----

struct CutCase {
  const char* name;
  std::vector<std::array<WString, 3>> rules;
  const char* sentence;
  std::vector<std::string> segments;  // "words | joining text | rule index"
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const CutCase& c, std::ostream* os) { *os << c.name; }

class SegmenterCuts : public SegmenterFixture, public ::testing::WithParamInterface<CutCase> {};

TEST_P(SegmenterCuts, GiveTheExpectedSegments) {
  const CutCase& c = GetParam();
  auto segmenter = Load(c.rules);
  TaggedSentence s(c.sentence, kTags);
  EXPECT_EQ(Describe(segmenter->Segment(s.readings, s.tokens)), c.segments);
}

const std::string kComma = "\xD8\x8C";  // U+060C in UTF-8

INSTANTIATE_TEST_SUITE_P(
    Labels, SegmenterCuts,
    ::testing::Values(
        CutCase{"OtherTextDropsTheMatchAndJoins",
                {{u"and:coord_conj", u"#", u"L"}},
                "a/n ,/punc and/coord_conj b/n",
                {"a | L | 0", "b |  | -1"}},
        CutCase{"FKeepsTheMatchInTheFirstSegment",
                {{u"so:coord_conj", u"#", u"F"}},
                "a/n so/coord_conj b/v c/n",
                {"a so |  | 0", "b c |  | -1"}},
        CutCase{"SPutsTheMatchIntoTheSecondSegment",
                {{u"n:#*so:coord_conj", u"#", u"S"}},
                "a/v b/n so/coord_conj c/v",
                {"a |  | 0", "b so c |  | -1"}},
        CutCase{"NoRuleLeavesTheSentenceWhole",
                {{u"and:coord_conj", u"#", u"L"}},
                "a/n b/v c/n",
                {"a b c |  | -1"}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Recursion, SegmenterCuts,
    ::testing::Values(
        // every piece is searched again from its start, rules in file order
        CutCase{"RulesInFileOrderAtEveryLevel",
                {{u"but:coord_conj", u"#", u"B"}, {u"and:coord_conj", u"#", u"A"}},
                "a/n and/coord_conj b/n but/coord_conj c/n and/coord_conj d/n",
                {"a | A | 1", "b | B | 0", "c | A | 1", "d |  | -1"}},
        // the head's last piece is ended by the head's cut, the tail's by the
        // cut that ended the whole input
        CutCase{"PiecesInheritTheCutThatEndsThem",
                {{u";:punc", u"#", u"X"}, {u"and:coord_conj", u"#", u"A"}},
                "a/n and/coord_conj b/n ;/punc c/n and/coord_conj d/n",
                {"a | A | 1", "b | X | 0", "c | A | 1", "d |  | -1"}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Commas, SegmenterCuts,
    ::testing::Values(
        // a comma that opens a later segment marks the segment before it
        CutCase{"LeadingCommaMarksThePreviousSegment",
                {{u",:punc", u"#", u"S"}},
                "a/n b/v ,/punc c/n d/v",
                {"a b | " + kComma + " | 0", "c d |  | -1"}},
        // the comma before a cut leaves the tokens; its mark stays with the
        // head, which is cut again, so the first segment keeps the plain label
        CutCase{"CommaBeforeTheCutIsDropped",
                {{u"and:coord_conj", u"#", u"A"}},
                "a/n ,/punc and/coord_conj b/n c/n",
                {"a | A | 0", "b c |  | -1"}},
        CutCase{"TrailingCommaOfTheLastSegmentBecomesItsMark",
                {{u"and:coord_conj", u"#", u"A"}},
                "a/n and/coord_conj b/n ,/punc",
                {"a | A | 0", "b | " + kComma + " | -1"}},
        CutCase{"CommaOpeningTheSentenceIsDroppedWithoutMark",
                {{u"and:coord_conj", u"#", u"A"}},
                ",/punc a/n and/coord_conj b/n",
                {"a | A | 0", "b |  | -1"}},
        // a segment of a lone comma vanishes
        CutCase{"LoneCommaSegmentVanishes",
                {{u"and:coord_conj", u"#", u"A"}},
                "a/n and/coord_conj ,/punc",
                {"a | A | 0"}},
        CutCase{"EmptySentenceGivesNoSegment", {{u"and:coord_conj", u"#", u"A"}}, "", {}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- sound ends ----

TEST_F(SegmenterFixture, FCutAtTheVeryEndIsNoCut) {
  // The two-element pattern can end on the last token; an "F" cut there
  // would leave the piece as it was and never end.
  auto segmenter = Load({{u"n:#*v:#", u"#", u"F"}, {u"and:coord_conj", u"#", u"A"}});
  TaggedSentence s("x/p a/n and/coord_conj b/n c/v", kTags);
  EXPECT_EQ(Describe(segmenter->Segment(s.readings, s.tokens)),
            (std::vector<std::string>{"x a | A | 1", "b c |  | -1"}));
}

TEST_F(SegmenterFixture, SequencesOfDifferentLengthsStayOneSegment) {
  auto segmenter = Load({{u"and:coord_conj", u"#", u"A"}});
  TaggedSentence s("a/n and/coord_conj b/n", kTags);
  s.readings.pop_back();
  EXPECT_EQ(Describe(segmenter->Segment(s.readings, s.tokens)), (std::vector<std::string>{"a and b |  | -1"}));
}

TEST_F(SegmenterFixture, InputsKeepTheLastPieceAndTheCutReadingsArePruned) {
  auto segmenter = Load({{u"and:coord_conj", u"adj:#-1*adj:#+1", u"A"}});
  TaggedSentence s("a/n,adj and/n,coord_conj b/v,adj c/n", kTags);
  auto segments = segmenter->Segment(s.readings, s.tokens);
  EXPECT_EQ(Describe(segments), (std::vector<std::string>{"a | A | 0", "b c |  | -1"}));
  EXPECT_EQ(segment_test::Words(s.tokens), "b c");
  EXPECT_EQ(segment_test::Tags(segments[0]->readingLists, kTags), "n");
  EXPECT_EQ(segment_test::Tags(segments[1]->readingLists, kTags), "v n");
}

// ---- the segment list between sentences ----

TEST_F(SegmenterFixture, SegmentListCollectsUntilCleared) {
  auto segmenter = Load({{u"and:coord_conj", u"#", u"A"}});
  TaggedSentence first("a/n and/coord_conj b/n", kTags);
  TaggedSentence second(",/punc c/n and/coord_conj d/n", kTags);
  segmenter->Segment(first.readings, first.tokens);
  // The comma that opens the second sentence must not mark the first one.
  EXPECT_EQ(Describe(segmenter->Segment(second.readings, second.tokens)),
            (std::vector<std::string>{"a | A | 0", "b |  | -1", "c | A | 0", "d |  | -1"}));
  segmenter->ClearSegments();
  EXPECT_TRUE(segmenter->segments.empty());
  TaggedSentence third("e/n", kTags);
  EXPECT_EQ(Describe(segmenter->Segment(third.readings, third.tokens)), (std::vector<std::string>{"e |  | -1"}));
}

}  // namespace
