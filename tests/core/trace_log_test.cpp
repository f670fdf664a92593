#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/config_store.h"
#include "core/trace_log.h"
#include "platform/install_folder.h"
#include "support/test_support.h"

namespace {


class TraceLog : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearConfiguration();
    CloseTraceLog();
  }
  void TearDown() override {
    CloseTraceLog();
    ClearConfiguration();
    SetClassKeySourceForTesting(nullptr);
  }
  TempDir dir_;
};

}  // namespace

TEST_F(TraceLog, LinesAreNumberedFromOne) {
  const std::string path = dir_.File("LogFile.Log");
  EXPECT_TRUE(OpenTraceLog(path));
  EXPECT_EQ(TraceLogLineCount(), 0u);
  WriteTraceLog(u"Parsing Time: 12");
  WriteTraceLog(u"");
  WriteTraceLog(u"two\r\nlines \u0627");
  EXPECT_EQ(TraceLogLineCount(), 3u);
  EXPECT_EQ(ReadBytes(path), Utf16LeBytes(u"1. Parsing Time: 12\r\n2. \r\n3. two\r\nlines \u0627\r\n"));
}

TEST_F(TraceLog, CounterAdvancesBeforeOpenAndOpenResetsIt) {
  const uint64_t before = TraceLogLineCount();
  WriteTraceLog(u"lost");
  WriteTraceLog(u"lost too");
  EXPECT_EQ(TraceLogLineCount(), before + 2);
  EXPECT_FALSE(TraceLogWriter().IsOpen());

  const std::string path = dir_.File("LogFile.Log");
  ASSERT_TRUE(OpenTraceLog(path));
  EXPECT_EQ(TraceLogLineCount(), 0u);
  WriteTraceLog(u"first");
  EXPECT_EQ(ReadBytes(path), Utf16LeBytes(u"1. first\r\n"));

  // Opening again truncates the file and numbers from 1 again.
  ASSERT_TRUE(OpenTraceLog(path));
  WriteTraceLog(u"again");
  EXPECT_EQ(ReadBytes(path), Utf16LeBytes(u"1. again\r\n"));
}

TEST_F(TraceLog, UnopenableLogOnlyCounts) {
  MessageRecorder messages;
  EXPECT_TRUE(OpenTraceLog(dir_.File("no-such-folder/LogFile.Log")));
  WriteTraceLog(u"x");
  WriteTraceLog(u"y");
  EXPECT_EQ(TraceLogLineCount(), 2u);
  EXPECT_FALSE(TraceLogWriter().IsOpen());
  EXPECT_TRUE(messages.messages().empty());
}

TEST_F(TraceLog, CloseKeepsWhatWasWritten) {
  const std::string path = dir_.File("LogFile.Log");
  OpenTraceLog(path);
  WriteTraceLog(u"kept");
  EXPECT_TRUE(CloseTraceLog());
  WriteTraceLog(u"not written");
  EXPECT_EQ(TraceLogLineCount(), 2u);
  EXPECT_EQ(ReadBytes(path), Utf16LeBytes(u"1. kept\r\n"));
}

TEST_F(TraceLog, RegistryModePutsTheLogInTheInstallFolder) {
  std::filesystem::create_directory(dir_.path() / "data");
  WriteUtf16File(dir_.File("EConfig.inf"), u"K=v;");
  std::vector<unsigned char> value;
  for (WChar unit : FromUtf8(dir_.path().string()) + u"\\module.dll") {
    value.push_back(static_cast<unsigned char>(unit & 0xFF));
    value.push_back(static_cast<unsigned char>(unit >> 8));
  }
  SetClassKeySourceForTesting(
      [value](const std::u16string&) -> std::optional<std::vector<unsigned char>> { return value; });
  ASSERT_TRUE(LoadConfiguration("EConfig.inf", true));
  OpenTraceLog("data\\LogFile.Log");
  WriteTraceLog(u"in folder");
  EXPECT_EQ(ReadBytes(dir_.File("data/LogFile.Log")), Utf16LeBytes(u"1. in folder\r\n"));
}
