// The chart dump of the CFG parser: its exact text on the toy grammar of
// tests/data/cfg, and on the shipped English data the two charts of a
// sentence whose tagged readings do not parse.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "analysis/analysis_test_support.h"
#include "analysis/cfg/cfg_chart_dump.h"
#include "analysis/cfg/cfg_engine_fixture.h"

namespace {

std::string DumpOf(const std::string& path) { return ToUtf8(lfg_test::ReadUtf16(path)); }

size_t Count(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// The toy grammar; its sentences are plain words looked up as the parser does.
class CfgToyChartDump : public cfg_test::CfgEngine {
 protected:
  void SetUp() override {  // rules, macros and lexicon are read as UTF-16
    const std::string data = cfg_test::SourceDir() + "/tests/data/cfg/";
    CopyAsUtf16(data, {"GovernableFunctions.txt", "dummy.txt", "rules.txt", "macros.txt", "lexicon.txt"});
    BuildToyEngine(data);
  }
  bool Parse(const std::string& text) {
    LookUpWords(text);
    return parser_->ParseTokens(readings_, tokens_);
  }
};

// Without a bigram table the tagger takes "saw" for a noun: the first chart
// stops at the verb, and the dump holds it before the chart over all
// readings that parses.
TEST_F(CfgToyChartDump, BothChartsOfTheSentenceAreDumpedColumnByColumn) {
  const std::string dump = dir_.File("chart.txt");
  EXPECT_EQ(EnableChartDump(*parser_, dump), dump);
  EXPECT_TRUE(Parse("the man saw the dog"));
  const std::string taggedChart =
      "ChartColumn:---0\r\n"
      "[0,0] S' -> . S\r\n"
      "[0,0] S -> . NP VP\r\n"
      "[0,0] NP -> . det n P_2\r\n"
      "[0,0] NP -> . det n\r\n"
      "ChartColumn:---1\r\n"
      "[0,1] NP -> det . n P_2\r\n"
      "[0,1] NP -> det . n\r\n"
      "ChartColumn:---2\r\n"
      "[0,2] NP -> det n . P_2\r\n"
      "[0,2] NP -> det n .\r\n"
      "[0,2] S -> NP . VP\r\n";
  const std::string fullChart = taggedChart +
                                "[2,2] VP -> . v NP P_1\r\n"
                                "[2,2] VP -> . v NP\r\n"
                                "ChartColumn:---3\r\n"
                                "[2,3] VP -> v . NP P_1\r\n"
                                "[2,3] VP -> v . NP\r\n"
                                "[3,3] NP -> . det n P_2\r\n"
                                "[3,3] NP -> . det n\r\n"
                                "ChartColumn:---4\r\n"
                                "[3,4] NP -> det . n P_2\r\n"
                                "[3,4] NP -> det . n\r\n"
                                "ChartColumn:---5\r\n"
                                "[3,5] NP -> det n . P_2\r\n"
                                "[3,5] NP -> det n .\r\n"
                                "[2,5] VP -> v NP . P_1\r\n"
                                "[2,5] VP -> v NP .\r\n"
                                "[0,5] S -> NP VP .\r\n"
                                "[0,5] S' -> S .\r\n";
  const std::string emptyColumns = "ChartColumn:---3\r\nChartColumn:---4\r\nChartColumn:---5\r\n";
  EXPECT_EQ(DumpOf(dump), taggedChart + emptyColumns + fullChart);
  EXPECT_EQ(ToUtf8(parser_->ChartDumpText()), fullChart);

  // The next sentence starts the file anew; an empty name switches it off.
  EXPECT_FALSE(Parse("man man man"));
  EXPECT_EQ(Count(DumpOf(dump), "ChartColumn:---0"), 2u);
  EXPECT_EQ(Count(DumpOf(dump), "[0,0] S' -> . S"), 2u);
  parser_->SetChartDumpFile("");
  EXPECT_TRUE(Parse("the man saw the dog"));
  EXPECT_EQ(Count(DumpOf(dump), "ChartColumn:---5"), 0u) << "left as the last dump wrote it";
}

TEST_F(CfgToyChartDump, TheDebugKeyNamesTheFileAndATimedOutChartIsDumpedBeforeItIsFreed) {
  EXPECT_EQ(EnableChartDump(*parser_, ""), "") << "no file and no \"Debug\" key: no dump";
  EXPECT_TRUE(Parse("the man saw the dog"));
  EXPECT_FALSE(std::filesystem::exists(dir_.File("debug.txt")));

  SetConfigValue("Debug", dir_.File("debug.txt"));
  EXPECT_EQ(EnableChartDump(*parser_, ""), dir_.File("debug.txt"));
  // Every clock reading is far past the one before: both charts time out
  // after their first item.
  int64_t calls = 0;
  SetClockSourceForTesting([&] { return ++calls << 40; });
  EXPECT_FALSE(Parse("the man saw the dog"));
  EXPECT_TRUE(parser_->GetColumns().empty());
  const std::string firstItem = "ChartColumn:---0\r\n[0,0] S' -> . S\r\n[0,0] S -> . NP VP\r\n";
  std::string emptyColumns;
  for (int c = 1; c <= 5; ++c) emptyColumns += "ChartColumn:---" + std::to_string(c) + "\r\n";
  EXPECT_EQ(DumpOf(dir_.File("debug.txt")), firstItem + emptyColumns + firstItem + emptyColumns);
  EXPECT_TRUE(parser_->WriteChartDump(dir_.File("empty.txt")));
  EXPECT_EQ(DumpOf(dir_.File("empty.txt")), "") << "the freed chart has no columns";
  EXPECT_FALSE(parser_->WriteChartDump(dir_.File("no/such/folder/chart.txt")));
}

// "I gave him a book" on the shipped English grammar: the tagged readings
// parse, so the file holds one chart whose last column completes "S'".
class ShippedChartDump : public cfg_test::ShippedCfgEngine {};

TEST_F(ShippedChartDump, OneChartForATaggedParseWithTheCompleteStartItemLast) {
  EnableChartDump(*parser_, dir_.File("chart.txt"));
  ASSERT_TRUE(Parse("I gave him a book"));
  const std::string dump = DumpOf(dir_.File("chart.txt"));
  EXPECT_EQ(Count(dump, "ChartColumn:---0\r\n"), 1u);
  const size_t last = dump.find("ChartColumn:---5\r\n");
  ASSERT_NE(last, std::string::npos);
  EXPECT_EQ(dump.find("ChartColumn:---6"), std::string::npos);
  EXPECT_NE(dump.find("[0,5] S' -> SENT .\r\n", last), std::string::npos) << dump.substr(last);
  EXPECT_EQ(dump.substr(0, 38), "ChartColumn:---0\r\n[0,0] S' -> . SENT\r\n") << dump.substr(0, 200);
  // Every item line names its span and production.
  size_t items = 0;
  std::istringstream lines(dump);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("ChartColumn:---", 0) == 0) continue;
    ++items;
    EXPECT_EQ(line.front(), '[') << line;
    EXPECT_NE(line.find(" -> "), std::string::npos) << line;
  }
  EXPECT_GT(items, 10u);
}

}  // namespace
