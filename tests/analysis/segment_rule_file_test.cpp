#include <gtest/gtest.h>

#include "analysis/sentence_segmenter.h"
#include "segment_test_sentence.h"
#include "support/test_support.h"

namespace {

using segment_test::LookupIn;
using segment_test::TagTable;

const TagTable kTags = {{"n", 1}, {"p", 4}, {"coord_conj", 5}, {"punc", 6}};

struct LoadedRules {
  std::vector<std::string> rules;  // "pattern size / alternatives / label"
  uint16_t pIndex, andIndex;
  std::vector<std::string> messages;
};

LoadedRules LoadText(const WString& text, bool withMark = true) {
  TempDir dir;
  WriteUtf16File(dir.File("rules.txt"), text, withMark);
  MessageRecorder recorder;
  CSentenceSegmenter segmenter(dir.File("rules.txt"), LookupIn(kTags));
  LoadedRules loaded{{}, segmenter.pRuleIndex, segmenter.andRuleIndex, {}};
  for (const auto& rule : segmenter.rules) {
    loaded.rules.push_back(std::to_string(rule->pattern.Size()) + "/" +
                           std::to_string(rule->conditions.alternatives.size()) + "/" + ToUtf8(rule->label));
  }
  for (const auto& message : recorder.messages()) loaded.messages.push_back(ToUtf8(message.text));
  return loaded;
}

WString WithLineEnds(WString text, const WString& lineEnd) {
  WString converted;
  for (WChar unit : text) {
    if (unit == u'\n') {
      converted += lineEnd;
    } else {
      converted.push_back(unit);
    }
  }
  return converted;
}

const WString kThreeRules =
    u"Cut at a semicolon\n;:punc\n#\nF\n\n"
    u"Cut before a preposition\np:#\nn:#-1*n:#+1|coord_conj:#-1\nS\n\n"
    u"Cut at and\nand:coord_conj\n#\n\u0627\u0648\u0631";

TEST(SegmentRuleFile, LineEndsAndTheLastBlankLineDoNotMatter) {
  const std::vector<std::string> expected = {"1/0/F", "1/2/S", "1/0/\u0627\u0648\u0631"};
  for (const WString& lineEnd : {WString(u"\r\n"), WString(u"\n"), WString(u"\r")}) {
    for (const WString& tail : {WString(u""), WString(u"\n"), WString(u"\n\n")}) {
      LoadedRules loaded = LoadText(WithLineEnds(kThreeRules + tail, lineEnd));
      EXPECT_EQ(loaded.rules, expected);
      EXPECT_EQ(loaded.pIndex, 1);
      EXPECT_EQ(loaded.andIndex, 2);
      EXPECT_TRUE(loaded.messages.empty()) << loaded.messages.front();
    }
  }
  // Without the mark the first line is read as it is.
  EXPECT_EQ(LoadText(WithLineEnds(kThreeRules, u"\r\n"), false).rules, expected);
}

TEST(SegmentRuleFile, MissingFileOrPatternLinesLeaveTheIndexesUnmatched) {
  TempDir dir;
  MessageRecorder recorder;
  CSentenceSegmenter missing(dir.File("none.txt"), LookupIn(kTags));
  EXPECT_TRUE(missing.rules.empty());
  EXPECT_EQ(missing.pRuleIndex, CSentenceSegmenter::kNoRule);
  LoadedRules loaded = LoadText(u"h\r\n;:punc\r\n#\r\nF\r\n");
  EXPECT_EQ(loaded.pIndex, CSentenceSegmenter::kNoRule);
  EXPECT_EQ(loaded.andIndex, CSentenceSegmenter::kNoRule);
  EXPECT_NE(int{loaded.andIndex}, -1);
}

struct MalformedCase {
  const char* name;
  WString text;
  std::vector<std::string> rules;
  std::string messageLine;  // "" for no message
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const MalformedCase& c, std::ostream* os) { *os << c.name; }

class SegmentRuleFileMalformed : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(SegmentRuleFileMalformed, IsReportedWithItsLineAndSkipped) {
  const MalformedCase& c = GetParam();
  LoadedRules loaded = LoadText(c.text);
  EXPECT_EQ(loaded.rules, c.rules);
  if (c.messageLine.empty()) {
    EXPECT_TRUE(loaded.messages.empty());
    return;
  }
  ASSERT_EQ(loaded.messages.size(), 1u);
  EXPECT_NE(loaded.messages[0].find(", line " + c.messageLine + ":"), std::string::npos) << loaded.messages[0];
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, SegmentRuleFileMalformed,
    ::testing::Values(
        MalformedCase{"ElementWithoutColon", u"h\r\nand\r\n#\r\nA\r\n\r\nh\r\n;:punc\r\n#\r\nF\r\n", {"1/0/F"}, "2"},
        MalformedCase{"ConditionWithoutSign",
                      u"h\r\n;:punc\r\nn:#1\r\nF\r\n\r\nh\r\nand:coord_conj\r\n#\r\nA\r\n",
                      {"1/0/A"},
                      "3"},
        // a missing condition line makes the label read as the conditions
        MalformedCase{"MissingConditionLine",
                      u"h\r\n;:punc\r\nF\r\n\r\nh\r\nand:coord_conj\r\n#\r\nA\r\n",
                      {"1/0/A"},
                      "3"},
        // a block out of step: reading goes on after the next blank line
        MalformedCase{"LabelNotFollowedByABlankLine",
                      u"h\r\n;:punc\r\n#\r\nF\r\nh\r\nand:coord_conj\r\n#\r\nA\r\n\r\nh\r\np:#\r\n#\r\nS\r\n",
                      {"1/0/S"},
                      "5"},
        // an extra blank line between blocks
        MalformedCase{"ExtraBlankLine",
                      u"h\r\n;:punc\r\n#\r\nF\r\n\r\n\r\nh\r\nand:coord_conj\r\n#\r\nA\r\n",
                      {"1/0/F", "1/0/A"},
                      "7"},
        MalformedCase{"FileEndsInsideABlock", u"h\r\n;:punc\r\n#\r\nF\r\n\r\nh\r\np:#\r\n#", {"1/0/F"}, "8"},
        MalformedCase{"FileEndsBeforeAPatternLine", u"h\r\n;:punc\r\n#\r\nF\r\n\r\nlast header", {"1/0/F"}, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SegmentRuleFile, RejectedBlocksDoNotShiftTheRuleIndexes) {
  LoadedRules loaded = LoadText(u"h\r\nbad\r\n#\r\nS\r\n\r\nh\r\np:#\r\n#\r\nS\r\n\r\nh\r\nand:coord_conj\r\n#\r\nA\r\n");
  EXPECT_EQ(loaded.rules, (std::vector<std::string>{"1/0/S", "1/0/A"}));
  EXPECT_EQ(loaded.pIndex, 0);
  EXPECT_EQ(loaded.andIndex, 1);
}

}  // namespace
