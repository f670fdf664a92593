// End-to-end check of the core services over a data root: the configuration
// names the files, the trace log records the run, and the symbol table
// survives a save and a reload as the engine set-up does it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "core/config_store.h"
#include "core/file_reader.h"
#include "core/string_helpers.h"
#include "core/symbol_table.h"
#include "core/trace_log.h"
#include "support/test_support.h"

namespace {

class Smoke : public testing::Test {
 protected:
  void SetUp() override {
    ClearConfiguration();
    ClearSymbolTable();
    std::filesystem::create_directory(root_.path() / "data");
  }
  void TearDown() override {
    CloseTraceLog();
    ClearConfiguration();
    ClearSymbolTable();
  }
  // Paths as the configuration writes them, with '\' between folders.
  std::string DataPath(const std::string& name) const { return root_.path().string() + "\\data\\" + name; }

  TempDir root_;
};

TEST_F(Smoke, ConfigurationLogAndSymbolTableWorkTogether) {
  const std::string config = root_.File("EConfig.inf");
  WriteUtf16File(config, NarrowToWide("CommonSymbolTableFileName=" + DataPath("Common.sym") +
                                      ";\r\nCompileLexicon=yes;\r\nLogName=" + DataPath("LogFile.Log") + ";\r\n"));
  MessageRecorder messages;
  ASSERT_TRUE(LoadConfiguration(config, false));
  ASSERT_TRUE(OpenTraceLog(GetConfigValue("LogName")));
  WriteTraceLog(u"engine set-up");

  // A compile interns names; the reserved ones follow; the table is saved.
  const SymbolId give = GetSymbolId(u"دینا", true);
  RegisterReservedSymbols();
  const SymbolId pred = PredId;
  ASSERT_EQ(GetConfigValue("CompileLexicon", true), "yes");
  ASSERT_TRUE(SaveSymbolTable(GetConfigValue("CommonSymbolTableFileName")));
  WriteTraceLog(u"symbols saved");

  // A later run reloads the table before registering the reserved names.
  ClearSymbolTable();
  ASSERT_TRUE(LoadSymbolTable(GetConfigValue("CommonSymbolTableFileName")));
  RegisterReservedSymbols();
  EXPECT_EQ(GetSymbolId(u"دینا", false), give);
  EXPECT_EQ(PredId, pred);
  EXPECT_EQ(GetSymbolName(give), u"دینا");
  EXPECT_TRUE(messages.messages().empty());

  CloseTraceLog();
  CFileReader reader(1024);
  EXPECT_EQ(reader.ReadAll(DataPath("LogFile.Log")), u"1. engine set-up\r\n2. symbols saved\r\n");
}

TEST_F(Smoke, RepositoryConfigurationLoadsWithoutMessages) {
  const char* source = std::getenv("LFG_SOURCE_DIR");
  if (!source) GTEST_SKIP() << "LFG_SOURCE_DIR is not set";
  const std::string config = std::string(source) + "/dataroot/EConfig.inf";
  if (!std::filesystem::exists(config)) GTEST_SKIP() << "no EConfig.inf in the data root yet";
  MessageRecorder messages;
  ASSERT_TRUE(LoadConfiguration(config, false));
  EXPECT_TRUE(messages.messages().empty());
  EXPECT_FALSE(ConfigTable().empty());
}

}  // namespace
