// The --stages line: the least stage of the segments and the PRED words of
// the Urdu structures that no mapping lexicon gave.
#include <gtest/gtest.h>

#include "app/cli/stage_report.h"
#include "app/engine/translation_result.h"

namespace {

CSegmentOutcome Segment(bool parsed, bool mapped, bool generated) {
  CSegmentOutcome segment;
  segment.parsed = parsed;
  segment.mapped = mapped;
  segment.generated = generated;
  return segment;
}

CSegmentOutcome PartSegment(std::vector<std::u16string> leftOut) {
  CSegmentOutcome segment = Segment(true, true, true);
  segment.leftOut = std::move(leftOut);
  return segment;
}

CTreeItem Item(std::u16string text, std::vector<CTreeItem> children = {}) {
  return CTreeItem{std::move(text), std::move(children), false};
}

TEST(StageReport, NamesTheLeastStageOfTheSegmentsAndTheRewrittenWords) {
  struct Case {
    const char* name;
    bool translated;
    std::vector<CSegmentOutcome> segments;
    std::vector<CTreeItem> targetRoots;
    std::string expected;
  };
  const auto pred = [](std::u16string value) {
    return Item(u"PRED", {Item(u"GF ----- SUBJ "), Item(u"VALUE ----- " + value + u" ")});
  };
  const CTreeItem quoted = pred(u"'کتاب'");
  const CTreeItem digits = pred(u"12");
  const CTreeItem name = pred(u"جان");
  const CTreeItem gender = Item(u"GEND ----- f ");
  const std::vector<Case> cases = {
      {"nothing ran", false, {}, {}, "Stage: none"},
      {"no segment", true, {}, {}, "Stage: none"},
      {"not analysed", true, {Segment(false, false, false)}, {}, "Stage: none"},
      {"analysed only", true, {Segment(true, false, false)}, {}, "Stage: analysed"},
      {"mapped only", true, {Segment(true, true, false)}, {}, "Stage: mapped"},
      {"generated from lexicon words",
       true,
       {Segment(true, true, true)},
       {Item(u"Target F-Structure Group # 1 - 1", {Item(u"SUBJ", {quoted, gender}), digits})},
       "Stage: generated"},
      {"the least segment counts",
       true,
       {Segment(true, true, true), Segment(true, false, false)},
       {},
       "Stage: analysed"},
      {"rewritten words in tree order, at any depth",
       true,
       {Segment(true, true, true)},
       {Item(u"Target F-Structure Group # 1 - 1", {Item(u"SUBJ", {name}), quoted}),
        Item(u"Target F-Structure Group # 2 - 1",
             {Item(u"OBJ", {Item(u"POSS", {Item(u"PRED(3)", {Item(u"VALUE ----- لندن ")})})})})},
       "Stage: generated rewritten: جان لندن"},
  };
  for (const Case& c : cases) {
    CTranslationResult result;
    result.translated = c.translated;
    result.segments = c.segments;
    result.targetTree.roots = c.targetRoots;
    EXPECT_EQ(StageReport(result), c.expected) << c.name;
  }
}

TEST(StageReport, PartialLiesBetweenMappedAndGenerated) {
  struct Case {
    const char* name;
    std::vector<CSegmentOutcome> segments;
    std::vector<std::u16string> setAside;
    std::string expected;
    bool whole;
    bool partly;
  };
  const std::vector<Case> cases = {
      {"whole", {Segment(true, true, true)}, {}, "Stage: generated", true, false},
      {"a word left out", {PartSegment({u"rice"})}, {}, "Stage: partial", false, true},
      {"a typed word set aside", {Segment(true, true, true)}, {u"\u2605"}, "Stage: partial", false, true},
      {"a mapped segment is below partial",
       {PartSegment({u"rice"}), Segment(true, true, false)},
       {},
       "Stage: mapped",
       false,
       true},
      {"nothing generated is not partly translated",
       {Segment(true, true, false)},
       {u"\u2605"},
       "Stage: mapped",
       false,
       false},
      {"set aside with no segment", {}, {u"\u2605"}, "Stage: none", false, false},
  };
  for (const Case& c : cases) {
    CTranslationResult result;
    result.translated = true;
    result.segments = c.segments;
    result.setAside = c.setAside;
    EXPECT_EQ(StageReport(result), c.expected) << c.name;
    EXPECT_EQ(result.AllSegmentsTranslated(), c.whole) << c.name;
    EXPECT_EQ(result.PartlyTranslated(), c.partly) << c.name;
  }
}

}  // namespace
