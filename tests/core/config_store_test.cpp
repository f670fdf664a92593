#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/config_store.h"
#include "platform/install_folder.h"
#include "support/test_support.h"

namespace {

// Every test starts and ends with an empty table, registry mode off and no
// registry value.
class ConfigStore : public ::testing::Test {
 protected:
  void SetUp() override { ClearConfiguration(); }
  void TearDown() override {
    ClearConfiguration();
    SetClassKeySourceForTesting(nullptr);
  }

  static std::map<std::string, std::string> Table() {
    return std::map<std::string, std::string>(ConfigTable().begin(), ConfigTable().end());
  }

  // Makes the registry answer with the UTF-16LE bytes of the text (and a
  // terminating zero unit) for the InprocServer32 subkey only.
  static void SupplyRegistryValue(const WString& text) {
    std::vector<unsigned char> bytes = Utf16LeBytes(text, false);
    bytes.push_back(0);
    bytes.push_back(0);
    SetClassKeySourceForTesting(
        [bytes](const std::u16string& subkey) -> std::optional<std::vector<unsigned char>> {
          if (subkey != InprocServerKeyPath()) return std::nullopt;
          return bytes;
        });
  }

  TempDir dir_;
};

}  // namespace

TEST_F(ConfigStore, ParserCases) {
  using Map = std::map<std::string, std::string>;
  struct Case {
    const char* name;
    WString text;
    Map table;
  } cases[] = {
      {"simple pairs", u"A=1;\r\nB=two words;\r\n", {{"A", "1"}, {"B", "two words"}}},
      {"blanks round '=' are kept", u"Key = value ;\r\n", {{"Key ", " value "}}},
      {"tabs are kept", u"\tK\t=\tv\t;", {{"\tK\t", "\tv\t"}}},
      {"same key twice: last wins", u"K=first;\r\nK=second;\r\n", {{"K", "second"}}},
      {"last pair without ';' dropped", u"A=1;\r\nB=2\r\n", {{"A", "1"}}},
      {"empty value stored", u"Empty=;", {{"Empty", ""}}},
      {"pair spans lines", u"Gram\r\nmar=da\nta;", {{"Grammar", "data"}}},
      {"';' without '=' uses the empty key", u"lonely;", {{"", "lonely"}}},
      {"second '=' replaces the key", u"a=b=c;", {{"b", "c"}}},
      {"backslashes are text", u"F=data\\LogFile.Log;", {{"F", "data\\LogFile.Log"}}},
      {"non-Latin units keep their low byte", u"U=\u0627\u00E9x;", {{"U", "\x27\xE9x"}}},
      {"zero unit stops reading", WString(u"A=1;B=2;\0C=3;", 13), {{"A", "1"}, {"B", "2"}}},
      {"empty text", u"", {}},
  };
  for (const auto& c : cases) {
    ClearConfiguration();
    WriteUtf16File(dir_.File("c.inf"), c.text);
    EXPECT_TRUE(ParseConfigFile(dir_.File("c.inf"))) << c.name;
    EXPECT_EQ(Table(), c.table) << c.name;
  }
}

TEST_F(ConfigStore, EmptyAndMarkOnlyFilesGiveEmptyTable) {
  MessageRecorder messages;
  WriteBytes(dir_.File("empty.inf"), {});
  WriteBytes(dir_.File("mark.inf"), {0xFF, 0xFE});
  EXPECT_TRUE(LoadConfiguration(dir_.File("empty.inf"), false));
  EXPECT_TRUE(ConfigTable().empty());
  EXPECT_TRUE(LoadConfiguration(dir_.File("mark.inf"), false));
  EXPECT_TRUE(ConfigTable().empty());
  EXPECT_TRUE(messages.messages().empty());
}

TEST_F(ConfigStore, FileWithoutMarkKeepsItsFirstCharacter) {
  WriteUtf16File(dir_.File("c.inf"), u"Key=v;", /*with_mark=*/false);
  EXPECT_TRUE(ParseConfigFile(dir_.File("c.inf")));
  EXPECT_EQ(Table(), (std::map<std::string, std::string>{{"Key", "v"}}));
}

TEST_F(ConfigStore, LookupGivesValueAsStored) {
  WriteUtf16File(dir_.File("EConfig.inf"), u"CompileLexicon=yes;\r\nGrammarRulesFileName=data\\ERules.txt;\r\n");
  MessageRecorder messages;
  ASSERT_TRUE(LoadConfiguration(dir_.File("EConfig.inf"), false));
  EXPECT_FALSE(IsRegistryMode());
  EXPECT_EQ(GetConfigValue("CompileLexicon", true), "yes");
  EXPECT_EQ(GetConfigValue("GrammarRulesFileName", false), "data\\ERules.txt");
  EXPECT_EQ(GetConfigDirectory(), "");
  EXPECT_TRUE(messages.messages().empty());
}

TEST_F(ConfigStore, MissingKeyAndEmptyValueShowMessageAndGiveEmpty) {
  WriteUtf16File(dir_.File("c.inf"), u"Empty=;\r\n");
  ASSERT_TRUE(ParseConfigFile(dir_.File("c.inf")));
  MessageRecorder messages;
  EXPECT_EQ(GetConfigValue("Empty", false), "");
  EXPECT_EQ(GetConfigValue("Missing\xE9", true), "");
  ASSERT_EQ(messages.messages().size(), 2u);
  EXPECT_EQ(messages.messages()[0].text, u"File Not found - Empty");
  EXPECT_EQ(messages.messages()[0].style, MessageStyle::OkCancel);
  EXPECT_EQ(messages.messages()[1].text, u"File Not found - Missing\u00E9");
}

TEST_F(ConfigStore, UnopenableFileIsFalseAfterTheReadersMessage) {
  SetConfigValue("Kept", "1");
  MessageRecorder messages;
  EXPECT_FALSE(ParseConfigFile(dir_.File("missing.inf")));
  EXPECT_FALSE(LoadConfiguration(dir_.File("missing.inf"), false));
  ASSERT_EQ(messages.messages().size(), 2u);
  EXPECT_EQ(messages.messages()[0].caption, u"File Reader Component");
  EXPECT_EQ(Table(), (std::map<std::string, std::string>{{"Kept", "1"}}));
}

TEST_F(ConfigStore, SetConfigValueReplaces) {
  EXPECT_TRUE(SetConfigValue("K", "a"));
  EXPECT_TRUE(SetConfigValue("K", "b"));
  EXPECT_EQ(GetConfigValue("K", true), "b");
  ClearConfiguration();
  EXPECT_TRUE(ConfigTable().empty());
}

TEST_F(ConfigStore, WideBufferToNarrowKeepsLowBytesUpToZeroUnit) {
  const std::vector<unsigned char> bytes = {'C', 0, ':', 0, 0x27, 0x06, 'x', 0, 0, 0, 'y', 0};
  EXPECT_EQ(WideBufferToNarrow(bytes, bytes.size()), "C:\x27x");
  EXPECT_EQ(WideBufferToNarrow(bytes, 4), "C:");
  EXPECT_EQ(WideBufferToNarrow(bytes, 3), "C");  // an odd byte count drops the half unit
  EXPECT_EQ(WideBufferToNarrow(bytes, 1000), "C:\x27x");  // never past the buffer
  EXPECT_EQ(WideBufferToNarrow({}, 0), "");
}

TEST_F(ConfigStore, InstallFolderIsTheRegisteredModulesFolder) {
  EXPECT_EQ(InprocServerKeyPath(), u"CLSID\\{0ED07ED2-E892-4A65-B4B5-7BA3A3A0C7E3}\\InprocServer32");
  EXPECT_EQ(ReadInstallFolder(), "");  // no registry on this platform
  struct Case {
    WString value;
    std::string folder;
  } cases[] = {
      {u"C:\\Program Files\\Translator\\engine.dll", "C:\\Program Files\\Translator"},
      {u"\\engine.dll", "\\engine.dll"},  // a backslash at index 0 does not cut
      {u"engine.dll", "engine.dll"},
      {u"a\\", "a"},
      {u"", ""},
  };
  for (const auto& c : cases) {
    SupplyRegistryValue(c.value);
    EXPECT_EQ(ReadInstallFolder(), c.folder) << ToUtf8(c.value);
  }
}

TEST_F(ConfigStore, RegistryModeWithoutFolderFails) {
  WriteUtf16File(dir_.File("EConfig.inf"), u"K=v;");
  MessageRecorder messages;
  EXPECT_FALSE(LoadConfiguration(dir_.File("EConfig.inf"), true));
  ASSERT_EQ(messages.messages().size(), 1u);
  EXPECT_EQ(messages.messages()[0].text, u"Configuration file not found");
  EXPECT_EQ(messages.messages()[0].style, MessageStyle::OkCancel);
  EXPECT_TRUE(ConfigTable().empty());
  EXPECT_EQ(GetConfigDirectory(), "");
}

TEST_F(ConfigStore, RegistryModeReadsFromTheFolderAndPrefixesFileNames) {
  // The folder is the temporary one, written with a backslash before the
  // module name, as the registry holds it.
  const std::string folder = dir_.path().string();
  WriteUtf16File(dir_.File("EConfig.inf"), u"ELexiconFileName=data\\ELex.txt;\r\nCompileLexicon=yes;\r\n");
  SupplyRegistryValue(FromUtf8(folder) + u"\\translator.dll");
  MessageRecorder messages;
  ASSERT_TRUE(LoadConfiguration("EConfig.inf", true));
  EXPECT_TRUE(IsRegistryMode());
  EXPECT_EQ(GetConfigDirectory(), folder);
  EXPECT_EQ(GetConfigValue("ELexiconFileName", false), folder + "\\data\\ELex.txt");
  EXPECT_EQ(GetConfigValue("CompileLexicon", true), "yes");
  EXPECT_EQ(GetConfigValue("ELexiconFileName", true), "data\\ELex.txt");
  EXPECT_TRUE(messages.messages().empty());

  ClearConfiguration();
  EXPECT_FALSE(IsRegistryMode());
  EXPECT_EQ(GetConfigDirectory(), "");
}
