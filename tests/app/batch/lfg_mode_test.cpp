// The older road over the LFG chart parser (--lfg) on the data root made
// from tests/data/lfg and the shipped Urdu side.
#include <gtest/gtest.h>

#include "batch_test_support.h"

namespace app_test {
namespace {

constexpr const char* kGaveBook = "میں نے اسے ایک کتاب دی۔";

class LfgMode : public ::testing::Test {
 protected:
  ProgramRun Run(std::vector<std::string> arguments, const std::string& input = "") {
    arguments.insert(arguments.begin(), {"--data-root", root_.path().string(), "--lfg"});
    return RunTranslatorProgram(arguments, input);
  }

  LfgDataRoot root_;
  TempDir files_;
};

TEST_F(LfgMode, OneSentenceGoesThroughTheChartParserToUrdu) {
  const ProgramRun run = Run({"--trees", "--show-cstructure", "I gave him a book"});
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_EQ(run.output, std::string(kGaveBook) + "\n");
  for (const char* part : {"Source F-Structure # 1\n", "VALUE ----- give ", "Target F-Structure Group # 1 - 1\n",
                           "C-structures of segment 1: "}) {
    EXPECT_NE(run.errors.find(part), std::string::npos) << part << "\n" << run.errors;
  }
  EXPECT_TRUE(IsWellFormedXml(root_.File("data/LFGParserCStructures.xml")));

  const ProgramRun notParsed = Run({"gave I"});
  EXPECT_EQ(notParsed.exitCode, 1);
  EXPECT_EQ(notParsed.output, "\n");
  EXPECT_NE(notParsed.errors.find("Sentence could not be parsed."), std::string::npos) << notParsed.errors;
}

TEST_F(LfgMode, EveryInputLineGivesOneLine) {
  const ProgramRun run = Run({}, "I gave him a book\n\ngave I\nThe man gave him a book\n");
  EXPECT_EQ(run.exitCode, 1) << run.errors;
  EXPECT_EQ(Lines(run.output), (std::vector<std::string>{kGaveBook, "", "", "آدمی نے اسے ایک کتاب دی۔"}));
}

TEST_F(LfgMode, TheBenchmarkTimesTheChartParserOnEverySentence) {
  const ProgramRun run = Run({"--benchmark"});
  EXPECT_EQ(run.exitCode, 1) << run.errors;
  // The word missing from the lexicon is named, and its sentence keeps its record.
  EXPECT_NE(run.errors.find("[ zebra ] is not available in LEXICON"), std::string::npos) << run.errors;
  std::string rest;
  const auto records = BenchmarkRecords(ReadUtf16AsUtf8(root_.File("data/lfg/BenchMarks.txt")), rest);
  EXPECT_TRUE(rest.empty()) << rest;
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"i gave him a book", "parsed"},           {"\r\ni saw the man with a telescope", "parsed"},
      {"\r\nthe man gave him a book", "parsed"}, {"\r\ngave i", "not parsed"},
      {"\r\ni saw a zebra", "not parsed"},
  };
  EXPECT_EQ(records, expected);
}

TEST_F(LfgMode, TheWorkerCreatesItsMarkerAndTheTokensAreDumped) {
  const std::string marker = files_.File("done.mark");
  const ProgramRun run = Run({"--done-file", marker, "--dump-tokens", "I gave him a book"});
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_EQ(run.output, std::string(kGaveBook) + "\n");
  EXPECT_TRUE(std::filesystem::exists(marker));
  EXPECT_EQ(std::filesystem::file_size(marker), 0u);
  const std::vector<std::string> tokens = CrLfLines(ReadUtf16AsUtf8(root_.File("data/tokens.tok")));
  ASSERT_EQ(tokens.size(), 5u);
  EXPECT_EQ(tokens[1].rfind("gave,v,^PRED='give<SUBJ,OBJ,OBJ2>',", 0), 0u) << tokens[1];

  const ProgramRun noMarker = Run({"--done-file", files_.File("no/such/folder/done.mark"), "I gave him a book"});
  EXPECT_EQ(noMarker.exitCode, 4) << noMarker.errors;
  EXPECT_EQ(noMarker.output, std::string(kGaveBook) + "\n");
}

TEST_F(LfgMode, UnmatchedWordsAreTheMappingLemmasTheEnglishLexiconLacks) {
  const ProgramRun run = Run({"--unmatched-words"});
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  const std::vector<std::string> lines = CrLfLines(ReadUtf16AsUtf8(root_.File("unmatched.txt")));
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0].rfind("1. '", 0), 0u) << lines[0];
  for (const char* known : {"'give'", "'he'", "'book'", "'see'"}) {
    for (const std::string& line : lines) EXPECT_EQ(line.find(known), std::string::npos) << line;
  }
}

// The set-up checks what it builds; the older road never runs without it.
TEST_F(LfgMode, BrokenSetUpsStopWithExitThree) {
  struct Case {
    const char* key;
    const char* value;
    const char* named;
  };
  const Case cases[] = {
      {"CompileLexicon", "no", "CompileLexicon"},
      {"ELexiconFileName", "data\\lfg\\missing.lexicon", "English lexicon"},
      {"GrammarRulesFileName", "data\\lfg\\verb_phrases.rules", "no rule for S"},
  };
  for (const Case& c : cases) {
    LfgDataRoot root;
    WriteTextFile(root.File("data/lfg/verb_phrases.rules"), "VP -> v: ^=!; .\r\n");
    root.SetKey(c.key, c.value);
    const ProgramRun run = RunTranslatorProgram({"--data-root", root.path().string(), "--lfg", "I gave him a book"});
    EXPECT_EQ(run.exitCode, 3) << c.key << "\n" << run.errors;
    EXPECT_EQ(run.output, "") << c.key;
    EXPECT_NE(run.errors.find(c.named), std::string::npos) << c.key << "\n" << run.errors;
  }
}

}  // namespace
}  // namespace app_test
