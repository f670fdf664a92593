#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/file_reader.h"
#include "core/file_writer.h"
#include "core/string_helpers.h"
#include "support/test_support.h"

namespace {

// Reads the file through the cursor protocol.
WString ReadWithCursor(const std::string& path, int buffer_size) {
  CFileReader reader(path, buffer_size);
  WString text;
  for (WChar unit = reader.GetChar(); unit != 0; unit = reader.NextChar()) text += unit;
  return text;
}


}  // namespace

TEST(FileReader, ReadsTextAfterTheMarkWithEveryBufferSize) {
  TempDir dir;
  const WString text = u"key=value;\r\nمیں نے\U0001F600 end";
  WriteUtf16File(dir.File("a.txt"), text);
  // Sizes below 1 act as 1.
  for (int size : {-5, 0, 1, 2, 3, 7, 1024, 32767, 100000}) {
    EXPECT_EQ(ReadWithCursor(dir.File("a.txt"), size), text) << "buffer size " << size;
    CFileReader reader(size);
    EXPECT_EQ(reader.ReadAll(dir.File("a.txt")), text) << "buffer size " << size;
  }
}

TEST(FileReader, EmptyAndMarkOnlyFilesReadAsEmpty) {
  TempDir dir;
  WriteBytes(dir.File("empty.txt"), {});
  WriteBytes(dir.File("mark.txt"), {0xFF, 0xFE});
  MessageRecorder messages;
  for (const char* name : {"empty.txt", "mark.txt"}) {
    CFileReader reader(dir.File(name), 16);
    EXPECT_TRUE(reader.IsOpen()) << name;
    EXPECT_EQ(reader.GetChar(), 0) << name;
    EXPECT_EQ(reader.NextChar(), 0) << name;
    EXPECT_EQ(reader.NextChar(), 0) << name;
  }
  EXPECT_TRUE(messages.messages().empty());
}

TEST(FileReader, FileWithoutMarkKeepsItsFirstCharacter) {
  TempDir dir;
  WriteUtf16File(dir.File("plain.txt"), u"abc", /*with_mark=*/false);
  CFileReader reader(16);
  EXPECT_EQ(reader.Open(dir.File("plain.txt")), u'a');
  EXPECT_EQ(reader.ReadAll(dir.File("plain.txt")), u"abc");
  // Only the first unit counts as a mark; a later U+FEFF is text.
  WriteUtf16File(dir.File("two.txt"), WString(u"\uFEFFx\uFEFF"), /*with_mark=*/false);
  EXPECT_EQ(reader.ReadAll(dir.File("two.txt")), WString(u"x\uFEFF"));
}

TEST(FileReader, OddTrailingByteIsDropped) {
  TempDir dir;
  std::vector<unsigned char> bytes = Utf16LeBytes(u"ab");
  bytes.push_back(0x41);
  WriteBytes(dir.File("odd.txt"), bytes);
  for (int size : {1, 2, 3, 1024}) EXPECT_EQ(ReadWithCursor(dir.File("odd.txt"), size), u"ab") << size;
  WriteBytes(dir.File("one.txt"), {0x41});
  EXPECT_EQ(ReadWithCursor(dir.File("one.txt"), 4), u"");
}

TEST(FileReader, EmbeddedZeroUnitEndsTheText) {
  TempDir dir;
  WriteUtf16File(dir.File("zero.txt"), WString(u"ab\0cd", 5));
  EXPECT_EQ(ReadWithCursor(dir.File("zero.txt"), 1), u"ab");
  CFileReader reader(8);
  EXPECT_EQ(reader.ReadAll(dir.File("zero.txt")), u"ab");
}

TEST(FileReader, UnitsAreLittleEndianAndRaw) {
  TempDir dir;
  // A high unit, a lone surrogate, CR LF: all delivered as they are.
  WriteBytes(dir.File("raw.txt"), {0xFF, 0xFE, 0x34, 0x12, 0x00, 0xD8, 0x0D, 0x00, 0x0A, 0x00});
  EXPECT_EQ(ReadWithCursor(dir.File("raw.txt"), 2), (WString{0x1234, 0xD800, u'\r', u'\n'}));
}

TEST(FileReader, UnopenableFileShowsMessageAndReadsEmpty) {
  TempDir dir;
  MessageRecorder messages;
  const std::string path = dir.File("missing.txt");
  CFileReader reader(path, 1024);
  EXPECT_FALSE(reader.IsOpen());
  EXPECT_EQ(reader.GetChar(), 0);
  EXPECT_EQ(reader.NextChar(), 0);
  ASSERT_EQ(messages.messages().size(), 1u);
  EXPECT_EQ(messages.messages()[0].text, u"File '" + NarrowToWide(path) + u"' could not be opened....\n");
  EXPECT_EQ(messages.messages()[0].caption, u"File Reader Component");
  EXPECT_EQ(messages.messages()[0].style, MessageStyle::OkCancel);
  EXPECT_EQ(reader.ReadAll(path), u"");
  EXPECT_EQ(messages.messages().size(), 2u);
}

TEST(FileReader, ReopenSwitchesFilesAndBackslashesBecomeSlashes) {
  TempDir dir;
  WriteUtf16File(dir.File("one.txt"), u"one");
  std::filesystem::create_directory(dir.path() / "sub");
  WriteUtf16File(dir.File("sub/two.txt"), u"two");
  CFileReader reader(dir.File("one.txt"), 2);
  EXPECT_EQ(reader.GetChar(), u'o');
  EXPECT_EQ(reader.NextChar(), u'n');
  EXPECT_EQ(reader.ReadAll(dir.path().string() + "\\sub\\two.txt"), u"two");
  reader.Close();
  EXPECT_FALSE(reader.IsOpen());
  EXPECT_EQ(reader.GetChar(), 0);
  EXPECT_EQ(reader.NextChar(), 0);
}

TEST(FileReader, ReadAtLeavesTheCursorAlone) {
  TempDir dir;
  WriteUtf16File(dir.File("a.txt"), u"abcdef");
  CFileReader reader(dir.File("a.txt"), 2);
  EXPECT_EQ(reader.GetChar(), u'a');
  EXPECT_EQ(reader.ReadAt(6, 10), u"cd");  // one bufferful of 2 units
  EXPECT_EQ(reader.ReadAt(6, 1), u"c");
  EXPECT_EQ(reader.ReadAt(-2, 1), u"");
  EXPECT_EQ(reader.ReadAt(100, 4), u"");
  WString rest;
  for (WChar unit = reader.GetChar(); unit != 0; unit = reader.NextChar()) rest += unit;
  EXPECT_EQ(rest, u"abcdef");
}

TEST(FileReader, ReadItemListTrimsAndSkipsEmptyPieces) {
  TempDir dir;
  struct Case {
    WString text;
    std::string delimiters;
    std::vector<WString> items;
  } cases[] = {
      {u" a , ,b,,", ",", {u"a", u"", u"b"}},
      {u"", ",", {}},
      {u",,,", ",", {}},
      {u"x", ",", {u"x"}},
      {u"a;b,c", ",;", {u"a", u"b", u"c"}},
      {u" one two ,\r\nthree\r\n", ",", {u"one two", u"three"}},
      // Units above 255 never delimit, even when their low byte would.
      {u"a\u012Cb,c", ",", {u"a\u012Cb", u"c"}},
      // Delimiter bytes above 127 are ignored.
      {u"a\u00E9b", "\xE9", {u"a\u00E9b"}},
  };
  for (const auto& c : cases) {
    WriteUtf16File(dir.File("list.txt"), c.text);
    CFileReader reader(1024);
    std::vector<WString> items = {u"kept"};
    EXPECT_TRUE(reader.ReadItemList(dir.File("list.txt"), c.delimiters, items));
    std::vector<WString> expected = {u"kept"};
    expected.insert(expected.end(), c.items.begin(), c.items.end());
    EXPECT_EQ(items, expected) << ToUtf8(c.text);
  }
}

TEST(FileReader, ReadItemListOfUnopenableFileIsFalse) {
  TempDir dir;
  MessageRecorder messages;
  CFileReader reader(1024);
  std::vector<WString> items;
  EXPECT_FALSE(reader.ReadItemList(dir.File("missing.txt"), ",", items));
  EXPECT_TRUE(items.empty());
  EXPECT_EQ(messages.messages().size(), 1u);
}

TEST(FileWriter, NewFileStartsWithTheMark) {
  TempDir dir;
  CFileWriter writer(dir.File("out.txt"));
  EXPECT_TRUE(writer.IsOpen());
  EXPECT_EQ(writer.Tell(), 2);
  EXPECT_EQ(ReadBytes(dir.File("out.txt")), (std::vector<unsigned char>{0xFF, 0xFE}));
}

TEST(FileWriter, WritesUnitsLittleEndianAndFlushesAtOnce) {
  TempDir dir;
  CFileWriter writer;
  ASSERT_TRUE(writer.Open(dir.File("out.txt")));
  EXPECT_EQ(writer.Write(u""), 0);
  EXPECT_EQ(writer.Write(WString{u'A', 0x1234, 0xD800}), 1);
  EXPECT_EQ(writer.Write(WString(u"\0z", 2)), 1);  // a zero unit is written as given
  // Read back while the writer is still open.
  EXPECT_EQ(ReadBytes(dir.File("out.txt")),
            (std::vector<unsigned char>{0xFF, 0xFE, 0x41, 0x00, 0x34, 0x12, 0x00, 0xD8, 0x00, 0x00, 0x7A, 0x00}));
  EXPECT_EQ(writer.Tell(), 12);
}

TEST(FileWriter, TextLongerThan65535UnitsIsWrittenWhole) {
  TempDir dir;
  WString text;
  for (int i = 0; i < 70001; ++i) text += static_cast<WChar>(0x0600 + i % 64);
  {
    CFileWriter writer(dir.File("long.txt"));
    EXPECT_EQ(writer.Write(text), 1);
  }
  EXPECT_EQ(ReadBytes(dir.File("long.txt")), Utf16LeBytes(text));
  CFileReader reader(1024);
  EXPECT_EQ(reader.ReadAll(dir.File("long.txt")), text);
}

TEST(FileWriter, OpenTruncatesAndReopenSwitchesFiles) {
  TempDir dir;
  {
    CFileWriter writer(dir.File("a.txt"));
    writer.Write(u"first text");
  }
  CFileWriter writer(dir.File("a.txt"));
  writer.Write(u"x");
  ASSERT_TRUE(writer.Open(dir.File("b.txt")));
  writer.Write(u"y");
  writer.Close();
  EXPECT_FALSE(writer.IsOpen());
  EXPECT_EQ(writer.Write(u"z"), 0);
  EXPECT_EQ(writer.Tell(), -1);
  EXPECT_EQ(ReadBytes(dir.File("a.txt")), Utf16LeBytes(u"x"));
  EXPECT_EQ(ReadBytes(dir.File("b.txt")), Utf16LeBytes(u"y"));
}

TEST(FileWriter, UnopenableOutputWritesNothing) {
  TempDir dir;
  CFileWriter writer;
  EXPECT_FALSE(writer.Open(dir.File("no-such-folder/out.txt")));
  EXPECT_FALSE(writer.IsOpen());
  EXPECT_EQ(writer.Write(u"text"), 0);
}

TEST(FileWriter, FStructuresXmlStreamOpensOnlyWhenAsked) {
  TempDir dir;
  EXPECT_FALSE(FStructuresXmlStream().IsOpen());
  std::filesystem::create_directory(dir.path() / "data");
  ASSERT_TRUE(InitFStructuresXmlStream(dir.path().string() + "\\data\\FStructures.xml"));
  EXPECT_TRUE(FStructuresXmlStream().IsOpen());
  FStructuresXmlStream().Write(u"<x/>");
  FStructuresXmlStream().Close();
  EXPECT_EQ(ReadBytes(dir.File("data/FStructures.xml")), Utf16LeBytes(u"<x/>"));
}
