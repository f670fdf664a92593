#include "transfer/morphology/string_insert.h"

#include <gtest/gtest.h>

TEST(InsertStringAfter, PutsTheInsertAfterTheUnitAtThePosition) {
  struct Case {
    WString text;
    size_t position;
    WString insert;
    WString expected;
  };
  const Case cases[] = {
      {u"abc", 0, u"*", u"a*bc"}, {u"abc", 1, u"xy", u"abxyc"},
      {u"abc", 2, u"!", u"abc!"}, {u"abc", 7, u"!", u"abc!"},  // past the end: appended
      {u"", 0, u"x", u"x"},
  };
  for (const Case& c : cases) {
    WString text = c.text;
    InsertStringAfter(text, c.position, c.insert);
    EXPECT_EQ(text, c.expected);
  }
}
