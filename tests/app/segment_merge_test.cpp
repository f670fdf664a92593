// Merging segment translations into the output text.
#include <gtest/gtest.h>

#include "app/pipeline/segment_merge.h"
#include "platform/utf8.h"

namespace {

constexpr int kClause = 3;  // the rule index of "p:#" in these cases
constexpr int kCoordination = 5;

struct MergeCase {
  const char* name;
  std::vector<CSegmentText> segments;
  std::u16string expected;
};

TEST(SegmentMerge, JoinsSegmentsAsTheRulesSay) {
  const std::vector<MergeCase> cases = {
      {"one segment, surrounding blanks trimmed", {{u"  ایک کتاب  ", u"", -1}}, u"ایک کتاب"},
      {"joining text follows its segment", {{u"الف", u"،", 1}, {u"ب", u"", -1}}, u"الف، ب"},
      // The Urdu comma and semicolon join the word before them.
      {"a comma after a blank joins its word", {{u"الف ، ب", u"", -1}}, u"الف، ب"},
      {"a semicolon joins its word", {{u"الف", u"؛", 1}, {u"ب", u"", -1}}, u"الف؛ ب"},
      {"a comma of a text that ends in blanks", {{u"الف  ", u"،", 1}, {u"ب", u"", -1}}, u"الف، ب"},
      // A clause cut by the clause rule goes in front of the text appended
      // before it was collected (where the marker stands).
      {"a clause collected and inserted", {{u"A", u"", -1}, {u"B", u"", kClause}, {u"C", u"", -1}}, u"A C B"},
      {"two clauses collected, the later in front",
       {{u"A", u"", kClause}, {u"B", u"", kClause}, {u"C", u"", -1}},
       u"C B A"},
      {"the joining text of a collected clause follows the insertion",
       {{u"A", u"", kClause}, {u"B", u"کہ", -1}, {u"D", u"", -1}},
       u"B A کہ D"},
      // Before a coordinated segment a clause is not collected.
      {"coordination rule ends the run",
       {{u"A", u"", kClause}, {u"B", u"اور", kCoordination}, {u"C", u"", -1}},
       u"A B اور C"},
      {"a clause left open by the last segment is kept", {{u"A", u"", -1}, {u"B", u"", kClause}}, u"A B"},
      {"letters p of untranslated words stay", {{u"happy people ", u"", -1}}, u"happy people"},
      {"runs of blanks become one", {{u"a    b", u"", -1}, {u"c", u"", -1}}, u"a b c"},
      {"line feeds are removed", {{u"a\nb", u"", -1}, {u"c\n", u"", -1}}, u"ab c"},
      {"carriage returns are trimmed at the ends only", {{u"\r\na\rb\r\n", u"", -1}}, u"a\rb"},
      {"no segments", {}, u""},
      // One final mark for the whole text, at its end.
      {"the segments' full stops become one at the end",
       {{u"الف۔", u"", kClause}, {u"ب۔ ", u"کہ", -1}, {u"ج۔", u"", -1}},
       u"ب الف کہ ج۔"},
      {"a question mark wins over a full stop", {{u"الف؟", u"،", 1}, {u"ب۔", u"", -1}}, u"الف، ب؟"},
      {"a text without marks gets none", {{u"الف", u"", -1}, {u"ب", u"", -1}}, u"الف ب"},
  };
  for (MergeCase c : cases) {
    EXPECT_EQ(ToUtf8(MergeSegmentTexts(c.segments, kClause, kCoordination)), ToUtf8(c.expected)) << c.name;
  }
}

// The writer's mark decides whether the merged sentence asks; a text that
// generated no mark still gets none.
TEST(SegmentMerge, TheFinalMarkFollowsTheTypedSentence) {
  struct MarkCase {
    const char* name;
    std::vector<CSegmentText> segments;
    char16_t typedEndMark;
    std::u16string expected;
  };
  const std::vector<MarkCase> cases = {
      {"a clause read as a question in a statement", {{u"الف؟", u"،", 1}, {u"ب۔", u"", -1}}, u'.', u"الف، ب۔"},
      {"a question whose last clause is a statement", {{u"الف؟", u"کہ", 1}, {u"ب۔", u"", -1}}, u'?', u"الف کہ ب؟"},
      {"a question generated as a statement", {{u"الف۔", u"", -1}}, u'?', u"الف؟"},
      {"no typed mark: a segment that asked wins", {{u"الف؟", u"،", 1}, {u"ب۔", u"", -1}}, 0, u"الف، ب؟"},
      {"no generated mark stays without one", {{u"الف", u"", -1}}, u'.', u"الف"},
  };
  for (MarkCase c : cases) {
    EXPECT_EQ(ToUtf8(MergeSegmentTexts(c.segments, kClause, kCoordination, c.typedEndMark)), ToUtf8(c.expected))
        << c.name;
  }
}

TEST(SegmentMerge, TextsLongerThanSixteenBitPositionsAreMergedWhole) {
  std::u16string longText(40000, u'ا');
  std::vector<CSegmentText> segments = {{u"A", u"", -1}, {longText, u"", kClause}, {u"C", u"", -1}};
  const std::u16string merged = MergeSegmentTexts(segments, kClause, kCoordination);
  EXPECT_EQ(merged, u"A C " + longText);
}

}  // namespace
