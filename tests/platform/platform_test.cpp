#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/file_access_record.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/page_memory.h"
#include "platform/utf8.h"
#include "support/test_support.h"

TEST(Utf8, RoundTripsTextOutsideTheBasicPlane) {
  const std::u16string urdu = u"میں نے اسے ایک کتاب دی";
  const std::u16string emoji = u"a\U0001F600b";
  for (const auto& text : {urdu, emoji, std::u16string(), std::u16string(u"plain")}) {
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
  }
  EXPECT_EQ(ToUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
}

TEST(Utf8, LoneSurrogatesAndMalformedBytesBecomeReplacementCharacters) {
  EXPECT_EQ(ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
  EXPECT_EQ(ToUtf8(std::u16string{char16_t(0xDC00), u'x'}), "\xEF\xBF\xBDx");
  EXPECT_EQ(FromUtf8("\xC3"), u"\uFFFD");                      // truncated sequence
  EXPECT_EQ(FromUtf8("\xC0\xAF"), u"\uFFFD\uFFFD");            // overlong '/'
  EXPECT_EQ(FromUtf8("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // encoded surrogate
  EXPECT_EQ(FromUtf8("a\xFF"
                     "b"),
            u"a\uFFFDb");
}

TEST(MessageBox, RecorderSeesMessagesAndDefaultAnswersOk) {
  {
    MessageRecorder recorder;
    EXPECT_EQ(ShowMessage(u"text", u"caption", MessageStyle::OkCancel), MessageAnswer::Ok);
    ASSERT_EQ(recorder.messages().size(), 1u);
    EXPECT_EQ(recorder.messages()[0].caption, u"caption");
    EXPECT_EQ(recorder.messages()[0].style, MessageStyle::OkCancel);
  }
  testing::internal::CaptureStderr();
  EXPECT_EQ(ShowMessage(u"Sentence could not be parsed.", u"Translator", MessageStyle::Ok), MessageAnswer::Ok);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Translator: Sentence could not be parsed.\n");
}

TEST(FileSystem, BackslashesBecomeSlashesWhenAFileIsOpened) {
  EXPECT_EQ(MapPath("data\\LogFile.Log"), "data/LogFile.Log");
  TempDir dir;
  std::filesystem::create_directory(dir.path() / "data");
  FileHandle file(OpenFile(dir.path().string() + "\\data\\x.txt", "wb"));
  ASSERT_TRUE(file);
  file.reset();
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "data" / "x.txt"));
  EXPECT_EQ(OpenFile(dir.File("missing\\file"), "rb"), nullptr);
}

TEST(Clock, InjectedSourceDrivesEveryReading) {
  int64_t now = 5'000'000'123;
  ClockSource previous = SetClockSourceForTesting([&] { return now; });
  EXPECT_EQ(PerformanceCounter(), 5'000'000'123);
  EXPECT_EQ(MonotonicMilliseconds(), 5000);
  now += 2'500'000;
  EXPECT_EQ(MonotonicMilliseconds(), 5002);
  EXPECT_EQ(TickCountMilliseconds(), 5002u);
  SetClockSourceForTesting(previous);
  int64_t a = MonotonicMilliseconds();
  EXPECT_LE(a, MonotonicMilliseconds());
}

TEST(MessageBox, WithinASentenceEachKindOfMessageIsShownOnce) {
  struct Case {
    std::u16string first, second;
    bool secondShown;
  };
  const Case cases[] = {
      {u"Too many names; \"ELEMENT51\" is not entered.", u"Too many names; \"ELEMENT52\" is not entered.", false},
      {u"Limit of 100 reached.", u"Limit of 2500 reached.", false},
      {u"File 'a.txt' could not be opened.", u"File 'b.txt' could not be opened.", false},
      {u"The table is full.", u"The sentence is too long.", true},
      {u"Tom's book can't be found.", u"Ann's book can't be found.", true},  // apostrophes quote nothing
  };
  MessageRecorder recorder;
  std::vector<std::u16string> repeats;
  RepeatedMessageSink previous =
      SetRepeatedMessageSink([&](const std::u16string& text, const std::u16string&) { repeats.push_back(text); });
  LimitRepeatedMessages(true);
  for (const Case& c : cases) {
    recorder.clear();
    repeats.clear();
    ForgetShownMessages();
    ShowMessage(c.first, u"C", MessageStyle::Ok);
    EXPECT_EQ(ShowMessage(c.second, u"C", MessageStyle::Ok), MessageAnswer::Ok);
    EXPECT_EQ(recorder.messages().size(), c.secondShown ? 2u : 1u) << ToUtf8(c.second);
    EXPECT_EQ(repeats.size(), c.secondShown ? 0u : 1u) << ToUtf8(c.second);
  }
  // The same text under another caption is another kind; after the sentence
  // every kind may be shown again; without the limit nothing is held back.
  recorder.clear();
  ShowMessage(u"The table is full.", u"Other", MessageStyle::Ok);
  ForgetShownMessages();
  ShowMessage(u"The table is full.", u"C", MessageStyle::Ok);
  LimitRepeatedMessages(false);
  ShowMessage(u"The table is full.", u"C", MessageStyle::Ok);
  EXPECT_EQ(recorder.messages().size(), 3u);
  SetRepeatedMessageSink(previous);
}

TEST(FileAccessRecord, NotesOpenedFilesByWhetherTheModeWrites) {
  TempDir dir;
  const std::string existing = dir.File("existing.txt");
  { FileHandle make(OpenFile(existing, "wb")); }
  struct Case {
    const char* mode;
    const char* name;  // opened in the folder; "existing.txt" is there
    bool read;
    bool written;
  };
  const std::vector<Case> cases = {
      {"rb", "existing.txt", true, false}, {"r", "existing.txt", true, false},   {"wb", "new.txt", false, true},
      {"ab", "existing.txt", false, true}, {"r+b", "existing.txt", false, true}, {"rb", "missing.txt", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.mode) + " " + c.name);
    const std::string path = dir.File(c.name);
    CFileAccessRecord outer;
    std::set<std::string> innerRead;
    {
      CFileAccessRecord inner;
      FileHandle file(OpenFile(path, c.mode));
      innerRead = inner.read();
    }
    EXPECT_EQ(outer.read().count(path), c.read ? 1u : 0u);
    EXPECT_EQ(outer.written().count(path), c.written ? 1u : 0u);
    EXPECT_EQ(innerRead, outer.read());
  }
  // A record notes only what is opened while it lives.
  { FileHandle before(OpenFile(existing, "rb")); }
  CFileAccessRecord later;
  EXPECT_TRUE(later.read().empty());
}

TEST(PageMemory, BlocksAreZeroedWritablePageAlignedAndGoBack) {
  for (size_t bytes : {size_t{2}, size_t{4096}, size_t{4097}, size_t{3} << 20}) {
    auto* block = static_cast<unsigned char*>(MapPages(bytes));
    ASSERT_NE(block, nullptr) << bytes;
    EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % 4096, 0u) << bytes;
    EXPECT_EQ(block[0], 0) << bytes;
    EXPECT_EQ(block[bytes - 1], 0) << bytes;
    block[0] = 1;
    block[bytes - 1] = 2;
    EXPECT_EQ(block[0] + block[bytes - 1], 3) << bytes;
    UnmapPages(block, bytes);
  }
  UnmapPages(nullptr, 4096);
}
