#include <gtest/gtest.h>

#include "core/file_reader.h"
#include "core/file_writer.h"
#include "core/string_helpers.h"
#include "support/test_support.h"

namespace {

using Bytes = std::vector<unsigned char>;

// Reads the file through the cursor protocol.
WString ReadWithCursor(CFileReader& reader) {
  WString text;
  for (WChar unit = reader.GetChar(); unit != 0; unit = reader.NextChar()) text += unit;
  return text;
}

}  // namespace

TEST(FileReader, ReadsRawLittleEndianUnitsAfterTheMarkWithEveryBufferSize) {
  TempDir dir;
  const WString text = u"key=value;\r\nمیں نے\U0001F600" + WString{0xD800, 0x1234};  // units as they are
  const std::pair<Bytes, WString> cases[] = {
      {Utf16LeBytes(text), text},
      {{}, u""},
      {{0xFF, 0xFE}, u""},
      {Utf16LeBytes(u"\uFEFFx\uFEFF", false), u"x\uFEFF"},  // only the first unit is a mark
      {Utf16LeBytes(u"abc", false), u"abc"},                // without it the first unit is text
      {{0xFF, 0xFE, 0x61, 0x00, 0x41}, u"a"},               // an odd trailing byte is dropped
      {Utf16LeBytes(WString(u"ab\0cd", 5)), u"ab"},         // a zero unit ends the text
  };
  MessageRecorder messages;
  for (const auto& [bytes, expected] : cases) {
    WriteBytes(dir.File("a.txt"), bytes);
    for (int size : {-5, 0, 1, 2, 3, 1024}) {  // sizes below 1 act as 1
      CFileReader reader(dir.File("a.txt"), size);
      EXPECT_EQ(ReadWithCursor(reader), expected) << ToUtf8(expected) << " size " << size;
      EXPECT_EQ(reader.ReadAll(dir.File("a.txt")), expected) << ToUtf8(expected) << " size " << size;
    }
  }
  EXPECT_TRUE(messages.messages().empty());
}

TEST(FileReader, UnopenableFileShowsMessageAndReadsEmpty) {
  TempDir dir;
  MessageRecorder messages;
  const std::string path = dir.File("missing.txt");
  CFileReader reader(path, 1024);
  EXPECT_EQ(ReadWithCursor(reader), u"");
  ASSERT_EQ(messages.messages().size(), 1u);
  EXPECT_EQ(messages.messages()[0].text, u"File '" + NarrowToWide(path) + u"' could not be opened....\n");
  EXPECT_EQ(messages.messages()[0].caption, u"File Reader Component");
  EXPECT_EQ(reader.ReadAll(path), u"");
  std::vector<WString> items;
  EXPECT_FALSE(reader.ReadItemList(path, ",", items));
  EXPECT_EQ(messages.messages().size(), 3u);
}

TEST(FileReader, ReadAtLeavesTheCursorAloneAndReopenSwitchesFiles) {
  TempDir dir;
  WriteUtf16File(dir.File("a.txt"), u"abcdef");
  std::filesystem::create_directory(dir.path() / "sub");
  WriteUtf16File(dir.File("sub/two.txt"), u"two");
  CFileReader reader(2);
  EXPECT_EQ(reader.Open(dir.File("a.txt")), u'a');
  EXPECT_EQ(reader.ReadAt(6, 10), u"cd");  // one bufferful of 2 units
  EXPECT_EQ(reader.ReadAt(-2, 1) + reader.ReadAt(100, 4), u"");
  EXPECT_EQ(ReadWithCursor(reader), u"abcdef");
  EXPECT_EQ(reader.ReadAll(dir.path().string() + "\\sub\\two.txt"), u"two");  // '\' becomes '/'
  reader.Close();
  EXPECT_EQ(reader.NextChar(), 0);
}

TEST(FileReader, ReadItemListTrimsAndSkipsEmptyPieces) {
  TempDir dir;
  const std::tuple<WString, std::string, std::vector<WString>> cases[] = {
      {u" a , ,b;,\r\none two\r\n", ",;", {u"kept", u"a", u"", u"b", u"one two"}},
      {u"a\u012Cb,c\u00E9d", ",\xE9", {u"kept", u"a\u012Cb", u"c\u00E9d"}},  // no units above 255, no bytes above 127
  };
  for (const auto& [text, delimiters, expected] : cases) {
    WriteUtf16File(dir.File("list.txt"), text);
    std::vector<WString> items = {u"kept"};
    EXPECT_TRUE(CFileReader(1024).ReadItemList(dir.File("list.txt"), delimiters, items));
    EXPECT_EQ(items, expected) << ToUtf8(text);
  }
}

TEST(FileWriter, WritesTheMarkAndUnitsLittleEndianAtOnceLongTextsWholeAndNothingOnceClosed) {
  TempDir dir;
  SCOPED_TRACE("the mark and the units");
  CFileWriter writer(dir.File("out.txt"));
  EXPECT_EQ(writer.Write(u"") + writer.Write(WString{u'A', 0x1234, 0xD800}), 1);
  EXPECT_EQ(writer.Write(WString(u"\0z", 2)), 1);  // a zero unit is written as given
  EXPECT_EQ(ReadBytes(dir.File("out.txt")),        // read back while the writer is still open
            (Bytes{0xFF, 0xFE, 0x41, 0x00, 0x34, 0x12, 0x00, 0xD8, 0x00, 0x00, 0x7A, 0x00}));
  EXPECT_EQ(writer.Tell(), 12);
  SCOPED_TRACE("a text longer than 65535 units");
  WString text;  // longer than 65535 units
  for (int i = 0; i < 70001; ++i) text += static_cast<WChar>(0x0600 + i % 64);
  ASSERT_TRUE(writer.Open(dir.File("long.txt")));
  EXPECT_EQ(writer.Write(text), 1);
  EXPECT_EQ(ReadBytes(dir.File("long.txt")), Utf16LeBytes(text));
  SCOPED_TRACE("opening truncates; nothing once closed");
  ASSERT_TRUE(writer.Open(dir.File("long.txt")));  // opening truncates
  writer.Write(u"x");
  writer.Close();
  EXPECT_EQ(writer.Write(u"z"), 0);
  EXPECT_EQ(writer.Tell(), -1);
  EXPECT_EQ(ReadBytes(dir.File("long.txt")), Utf16LeBytes(u"x"));
  EXPECT_FALSE(writer.Open(dir.File("no-such-folder/out.txt")));
  EXPECT_FALSE(FStructuresXmlStream().IsOpen());  // opened only when asked
}
