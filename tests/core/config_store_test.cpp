// The configuration table, the install folder lookup and the trace log.
#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "core/config_store.h"
#include "core/trace_log.h"
#include "platform/install_folder.h"
#include "support/test_support.h"

namespace {

using Map = std::map<std::string, std::string>;

// Every test starts and ends with an empty table, no registry value and the trace log closed.
class ConfigStore : public ::testing::Test {
 protected:
  void SetUp() override { TearDown(); }
  void TearDown() override {
    CloseTraceLog();
    ClearConfiguration();
    SetClassKeySourceForTesting(nullptr);
  }
  // Makes the registry answer with the text and a zero unit for the InprocServer32 subkey only.
  static void SupplyRegistryValue(const WString& text) {
    std::vector<unsigned char> bytes = Utf16LeBytes(text + WChar(0), false);
    SetClassKeySourceForTesting([bytes](const std::u16string& subkey) {
      return subkey == InprocServerKeyPath() ? std::optional(bytes) : std::nullopt;
    });
  }
  TempDir dir_;
  MessageRecorder messages_;
};

TEST_F(ConfigStore, ParserKeepsTextBetweenEqualsAndSemicolonAsItStands) {
  const std::tuple<WString, Map, bool> cases[] = {
      // text, table, with the mark
      {u"\tK = v\t;K=first;K=second;Empty=;", {{"\tK ", " v\t"}, {"K", "second"}, {"Empty", ""}}, true},  // blanks kept
      {u"A=1;\r\nB=two words\r\n", {{"A", "1"}}, true},  // the last pair without ';' is dropped
      {u"Gram\r\nmar=da\nta;lonely;", {{"Grammar", "data"}, {"", "lonely"}}, true},
      {u"a=b=c;F=data\\Log;U=\u0627\u00E9x;", {{"b", "c"}, {"F", "data\\Log"}, {"U", "\x27\xE9x"}}, true},
      {WString(u"A=1;\0C=3;", 9), {{"A", "1"}}, true},  // a zero unit stops reading
      {u"Key=v;", {{"Key", "v"}}, false},               // without the mark the first unit is text
  };
  for (const auto& [text, table, withMark] : cases) {
    ClearConfiguration();
    WriteUtf16File(dir_.File("c.inf"), text, withMark);
    EXPECT_TRUE(ParseConfigFile(dir_.File("c.inf"))) << ToUtf8(text);
    EXPECT_EQ(Map(ConfigTable().begin(), ConfigTable().end()), table) << ToUtf8(text);
  }
}

TEST_F(ConfigStore, LoadingGivesValuesAsStoredAndReportsWhatIsMissing) {
  WriteUtf16File(dir_.File("EConfig.inf"), u"CompileLexicon=yes;\r\nGrammarRulesFileName=data\\ERules.txt;Empty=;");
  ASSERT_TRUE(LoadConfiguration(dir_.File("EConfig.inf"), false));
  EXPECT_EQ(GetConfigValue("GrammarRulesFileName", false), "data\\ERules.txt");
  EXPECT_EQ(GetConfigValue("Empty", false), "");
  EXPECT_EQ(GetConfigValue("Missing\xE9", true), "");
  EXPECT_FALSE(LoadConfiguration(dir_.File("missing.inf"), false));  // the table is kept
  EXPECT_EQ(GetConfigValue("CompileLexicon", true), "yes");
  ASSERT_EQ(messages_.messages().size(), 3u);
  EXPECT_EQ(messages_.messages()[0].text, u"File Not found - Empty");
  EXPECT_EQ(messages_.messages()[1].text, u"File Not found - Missing\u00E9");
  EXPECT_EQ(messages_.messages()[2].caption, u"File Reader Component");
}

TEST_F(ConfigStore, RegistryModeReadsFromTheRegisteredModulesFolderAndPrefixesFileNames) {
  const std::vector<unsigned char> bytes = {'C', 0, ':', 0, 0x27, 0x06, 'x', 0, 0, 0, 'y', 0};
  EXPECT_EQ(WideBufferToNarrow(bytes, 3), "C");           // an odd byte count drops the half unit
  EXPECT_EQ(WideBufferToNarrow(bytes, 1000), "C:\x27x");  // low bytes up to the zero unit, never past the buffer
  WriteUtf16File(dir_.File("EConfig.inf"), u"ELexiconFileName=data\\ELex.txt;\r\nCompileLexicon=yes;\r\n");
  EXPECT_FALSE(LoadConfiguration(dir_.File("EConfig.inf"), true));  // no folder registered
  EXPECT_EQ(messages_.messages().at(0).text, u"Configuration file not found");
  EXPECT_EQ(InprocServerKeyPath(), u"CLSID\\{0ED07ED2-E892-4A65-B4B5-7BA3A3A0C7E3}\\InprocServer32");
  SupplyRegistryValue(u"\\engine.dll");
  EXPECT_EQ(ReadInstallFolder(), "\\engine.dll");  // a backslash at index 0 does not cut
  const std::string folder = dir_.path().string();
  SupplyRegistryValue(FromUtf8(folder) + u"\\translator.dll");
  ASSERT_TRUE(LoadConfiguration("EConfig.inf", true));
  EXPECT_TRUE(IsRegistryMode());
  EXPECT_EQ(GetConfigDirectory(), folder);
  EXPECT_EQ(GetConfigValue("ELexiconFileName", false), folder + "\\data\\ELex.txt");
  EXPECT_EQ(GetConfigValue("ELexiconFileName", true), "data\\ELex.txt");
  std::filesystem::create_directory(dir_.path() / "data");
  OpenTraceLog("data\\LogFile.Log");  // the log goes to the install folder too
  WriteTraceLog(u"in folder");
  EXPECT_EQ(ReadBytes(dir_.File("data/LogFile.Log")), Utf16LeBytes(u"1. in folder\r\n"));
}

TEST_F(ConfigStore, TraceLogNumbersLinesFromOneOnEveryOpenAndCountsWhenClosed) {
  const std::string path = dir_.File("LogFile.Log");
  ASSERT_TRUE(OpenTraceLog(path));
  WriteTraceLog(u"first");
  ASSERT_TRUE(OpenTraceLog(path));  // opening again truncates
  for (const char16_t* line : {u"Parsing Time: 12", u"", u"two\r\nlines \u0627"}) WriteTraceLog(line);
  EXPECT_TRUE(CloseTraceLog());
  WriteTraceLog(u"not written");
  EXPECT_EQ(TraceLogLineCount(), 4u);
  EXPECT_EQ(ReadBytes(path), Utf16LeBytes(u"1. Parsing Time: 12\r\n2. \r\n3. two\r\nlines \u0627\r\n"));

  EXPECT_TRUE(OpenTraceLog(dir_.File("no-such-folder/LogFile.Log")));  // it only counts
  WriteTraceLog(u"x");
  EXPECT_EQ(TraceLogLineCount(), 1u);
  EXPECT_TRUE(messages_.messages().empty());
}

}  // namespace
