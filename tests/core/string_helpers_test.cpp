#include <gtest/gtest.h>

#include "core/string_helpers.h"

TEST(StringHelpers, TrimRemovesOnlyTabLineEndsAndBlanks) {
  struct Case {
    WString in, out;
  } cases[] = {
      {u"", u""},
      {u" \t\r\n", u""},
      {u"  a b \r\n", u"a b"},
      {u"\u00A0a\u00A0", u"\u00A0a\u00A0"},  // no-break space is text
      {u"\u2003x", u"\u2003x"},
  };
  for (const auto& c : cases) EXPECT_EQ(TrimWString(c.in), c.out);
}

TEST(StringHelpers, NumbersAndLatin1Widening) {
  EXPECT_EQ(IntToWString(0), u"0");
  EXPECT_EQ(IntToWString(-42), u"-42");
  EXPECT_EQ(IntToWString(2147483647), u"2147483647");
  EXPECT_EQ(NarrowToWide("\xE9" "a"), WString(u"\u00E9a"));
  EXPECT_FALSE(IsWhitespace(0x00A0));
  EXPECT_TRUE(IsWhitespace(u'\r'));
}
