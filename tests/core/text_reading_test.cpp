#include <gtest/gtest.h>

#include "core/file_reader.h"
#include "core/text_reading.h"
#include "support/test_support.h"

namespace {

TEST(TrimSpaceCrLf, RemovesOnlyBlanksCrAndLfAtTheEdges) {
  struct Case {
    WString in, out;
  } cases[] = {
      {u"\r\n  a b \n", u"a b"},
      {u"\tword\t", u"\tword\t"},  // tabs stay
      {u" \tword", u"\tword"},
      {u"   ", u""},
      {u"", u""},
      {u"\r\n", u""},
      {u"x", u"x"},
  };
  for (auto& c : cases) {
    WString text = c.in;
    TrimSpaceCrLf(text);
    EXPECT_EQ(text, c.out);
  }
}

TEST(ReadUntilChar, ReadsFieldsAndReturnsTheUnitAfterTheDelimiter) {
  TempDir dir;
  WriteUtf16File(dir.File("f.txt"), u"key=val;x");
  CFileReader reader(dir.File("f.txt"), 4);  // a small buffer makes it refill
  WString key, value, rest;
  EXPECT_EQ(ReadUntilChar(key, u'=', reader), u'v');
  EXPECT_EQ(key, u"key");
  EXPECT_EQ(ReadUntilChar(value, u';', reader), u'x');
  EXPECT_EQ(value, u"val");
  EXPECT_EQ(ReadUntilChar(rest, u';', reader), 0);  // the end ends the field
  EXPECT_EQ(rest, u"x");
  EXPECT_EQ(ReadUntilChar(rest, u';', reader), 0);
  EXPECT_EQ(rest, u"x");
}

TEST(ReadUntilChar, AppendsAndReturnsZeroWhenTheDelimiterIsLast) {
  TempDir dir;
  WriteUtf16File(dir.File("f.txt"), u"ab;");
  CFileReader reader(dir.File("f.txt"), 16);
  WString field = u">";
  EXPECT_EQ(ReadUntilChar(field, u';', reader), 0);
  EXPECT_EQ(field, u">ab");
}

TEST(WideToNarrow, KeepsTheLowByteOfEachUnit) {
  EXPECT_EQ(WideToNarrow(u"coord_conj"), "coord_conj");
  EXPECT_EQ(WideToNarrow(u"\u00E9\u060C"), std::string("\xE9\x0C", 2));
  EXPECT_EQ(WideToNarrow(u""), "");
}

}  // namespace
