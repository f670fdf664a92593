// The translator program end to end, on copies of the data root.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "app/cli/data_root.h"
#include "app_test_support.h"

namespace app_test {
namespace {

constexpr const char* kGaveBook = "میں نے اسے ایک کتاب دی۔";
constexpr const char* kBoyReads = "لڑکا ایک کتاب پڑھتا ہے۔";

class TranslatorProgram : public ::testing::Test {
 protected:
  ProgramRun Run(std::vector<std::string> arguments, const std::string& input = "", int timeLimitSeconds = 0) {
    arguments.insert(arguments.begin(), {"--data-root", root_.path().string()});
    return RunTranslatorProgram(arguments, input, timeLimitSeconds);
  }

  // Every English line of the cases on standard input gives its Urdu line,
  // and the run exits 0.
  void ExpectEachLineTranslated(const std::vector<std::pair<std::string, std::string>>& cases) {
    std::string input;
    for (const auto& [english, urdu] : cases) input += english + "\n";
    const ProgramRun run = Run({}, input);
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    const std::vector<std::string> lines = Lines(run.output);
    ASSERT_EQ(lines.size(), cases.size()) << run.output;
    for (size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(lines[i], cases[i].second) << cases[i].first;
  }

  DataRootCopy root_;
};

TEST_F(TranslatorProgram, OneSentencePrintsItsUrdu) {
  const ProgramRun run = Run({"I", "gave", "him", "a", "book"});
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_EQ(run.output, std::string(kGaveBook) + "\n") << run.errors;
}

TEST_F(TranslatorProgram, EveryInputLineGivesOneOutputLine) {
  const ProgramRun run = Run({}, "I gave him a book\nThe boy reads a book\n\nbook book gave the\n");
  EXPECT_EQ(run.exitCode, 1) << run.errors;
  const std::vector<std::string> lines = Lines(run.output);
  ASSERT_EQ(lines.size(), 4u) << run.output;
  EXPECT_EQ(lines[0], kGaveBook);
  EXPECT_EQ(lines[1], kBoyReads);
  EXPECT_EQ(lines[2], "");
  EXPECT_FALSE(lines[3].empty()) << "the rewritten words";
  EXPECT_NE(run.errors.find("Sentence could not be parsed."), std::string::npos) << run.errors;
}

// The sentences of the generation stage, one per line, in the data root's
// domain or the one given on the command line.
TEST_F(TranslatorProgram, ShippedSentencesPrintTheirUrdu) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"I gave him a book", kGaveBook},
      {"The boy reads a book", kBoyReads},
      {"The boy read a book", "لڑکے نے ایک کتاب پڑھی۔"},
      {"The girl read the books", "لڑکی نے کتابیں پڑھیں۔"},
      {"She will read the book", "وہ کتاب پڑھے گی۔"},
      {"The boys will not come", "لڑکے نہیں آئیں گے۔"},
      {"Did he read the book", "کیا اس نے کتاب پڑھی؟"},
      {"What did you eat", "آپ نے کیا کھایا؟"},
      {"The boy's mother gave the girl a book", "لڑکے کی ماں نے لڑکی کو ایک کتاب دی۔"},
      {"I live in a big house", "میں ایک بڑے گھر میں رہتا ہوں۔"},
      {"The teacher gave the boys books", "استاد نے لڑکوں کو کتابیں دیں۔"},
      {"I helped him", "میں نے اس کی مدد کی۔"},
      {"The farmer bought 25 cows", "کسان نے 25 گائیں خریدیں۔"},
  };
  ExpectEachLineTranslated(cases);

  const ProgramRun news = Run({"--domain", "News", "He reads the paper"});
  EXPECT_EQ(news.exitCode, 0) << news.errors;
  EXPECT_EQ(news.output, "وہ اخبار پڑھتا ہے۔\n");
}

// Numbers, ordinals, dates, times and codes reach the Urdu: each line holds
// the pieces in this order, whatever words stand around them.
TEST_F(TranslatorProgram, NumbersDatesTimesAndCodesAreWrittenInTheUrdu) {
  const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
      {"I saw PK303", {"میں نے", "PK303", "دیکھا"}},
      {"I have five books", {"پانچ کتابیں"}},
      {"I have 5 books", {"5 کتابیں"}},
      {"He has 1,234,567 books", {"12,34,567 کتابیں"}},
      {"I met him on 12 October 2005", {"میں", "12 اکتوبر، 2005 کو", "ملا"}},
      {"He came on 12 October", {"12 اکتوبر کو", "آیا"}},
      {"The first boy came", {"پہلا لڑکا", "آیا"}},
      {"The first girl came", {"پہلی لڑکی", "آئی"}},
      {"The 21st boy came", {"21واں لڑکا"}},
      {"The 21st girl came", {"21ویں لڑکی"}},
      {"I came at 5:30", {"5بجکر 30 منٹ", "آیا"}},
      {"I came at 5 pm", {"شام 5 بجے", "آیا"}},
      {"He came at 10:30 am", {"صبح 10بجکر 30 منٹ", "آیا"}},
  };
  std::string input;
  for (const auto& [english, pieces] : cases) input += english + "\n";
  const ProgramRun run = Run({}, input);
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  const std::vector<std::string> lines = Lines(run.output);
  ASSERT_EQ(lines.size(), cases.size()) << run.output;
  for (size_t i = 0; i < cases.size(); ++i) {
    size_t from = 0;
    for (const std::string& piece : cases[i].second) {
      const size_t at = lines[i].find(piece, from);
      EXPECT_NE(at, std::string::npos) << cases[i].first << " => " << lines[i] << " lacks " << piece;
      if (at != std::string::npos) from = at + piece.size();
    }
  }
}

TEST_F(TranslatorProgram, TreesAndCStructuresGoToStandardError) {
  root_.SetKey("SegmentSentence", "no");
  const ProgramRun run = Run({"--trees", "--show-cstructure", "I gave him a book"});
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  for (const char* part : {"Source F-Structure # 1\n", "  ROOT\n", "VALUE ----- give ",
                           "Target F-Structure Group # 1 - ", "C-structures of segment 1: "}) {
    EXPECT_NE(run.errors.find(part), std::string::npos) << part << " in\n" << run.errors;
  }
  const std::string xml = root_.File("data/CStructures.xml");
  EXPECT_NE(run.errors.find(xml), std::string::npos) << run.errors;
  if (std::system("command -v xmllint >/dev/null 2>&1") != 0) GTEST_SKIP() << "xmllint is not installed";
  EXPECT_EQ(std::system(("xmllint --noout '" + xml + "'").c_str()), 0);
}

TEST_F(TranslatorProgram, ExitCodesTellWhatWentWrong) {
  EXPECT_EQ(RunTranslatorProgram({"--help"}).exitCode, 0);
  EXPECT_EQ(RunTranslatorProgram({"--no-such-option"}).exitCode, 2);
  const ProgramRun unknownDomain = RunTranslatorProgram({"--domain", "Sports", "I gave him a book"});
  EXPECT_EQ(unknownDomain.exitCode, 2);
  EXPECT_NE(unknownDomain.errors.find("Agriculture"), std::string::npos) << unknownDomain.errors;
  EXPECT_EQ(Run({"--data-root", root_.File("missing"), "I gave him a book"}).exitCode, 4);
  root_.RemoveKey("POSs");
  const ProgramRun broken = Run({"I gave him a book"});
  EXPECT_EQ(broken.exitCode, 3);
  EXPECT_NE(broken.errors.find("POSs"), std::string::npos) << broken.errors;
  EXPECT_EQ(broken.output, "");
}

// A run on a locked root waits while the holder lives, saying so once.
TEST_F(TranslatorProgram, ALockedDataRootMakesASecondRunWaitForIt) {
  CDataRootLock holder;
  ASSERT_EQ(holder.Acquire(root_.path().string(), std::chrono::milliseconds(0)), CDataRootLock::Outcome::kAcquired);
  ProgramRun run;
  std::thread waiting([&] { run = Run({"I gave him a book"}, "", 120); });
  std::this_thread::sleep_for(std::chrono::seconds(2));
  holder.Release();
  waiting.join();
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_EQ(run.output, std::string(kGaveBook) + "\n");
  const std::string told = "is in use by process ";
  const size_t at = run.errors.find(told);
  EXPECT_NE(at, std::string::npos) << run.errors;
  EXPECT_EQ(run.errors.find(told, at + 1), std::string::npos) << "said once: " << run.errors;
}

// Four runs started at once on one root, as xargs -P starts them: each
// waits its turn and every line comes out.
TEST_F(TranslatorProgram, FourRunsOnOneDataRootGiveEveryLine) {
  TempDir io;
  std::string command;
  for (int i = 0; i < 4; ++i) {
    command += "'" + std::string(LFG_TRANSLATOR_PROGRAM) + "' --data-root '" + root_.path().string() +
               "' I gave him a book >'" + io.File("out" + std::to_string(i)) + "' 2>'" +
               io.File("err" + std::to_string(i)) + "' & ";
  }
  command += "wait";
  ASSERT_EQ(std::system(("timeout -k 5 300 sh -c \"" + command + "\"").c_str()), 0);
  for (int i = 0; i < 4; ++i) {
    std::ifstream out(io.File("out" + std::to_string(i)));
    std::string line;
    EXPECT_TRUE(std::getline(out, line)) << "run " << i;
    EXPECT_EQ(line, kGaveBook) << "run " << i;
  }
}

TEST_F(TranslatorProgram, AFolderWithoutConfigurationIsNamedWithTheWayOut) {
  TempDir empty;
  const ProgramRun run = RunTranslatorProgram({"--data-root", empty.path().string(), "I gave him a book"});
  EXPECT_EQ(run.exitCode, 3);
  EXPECT_NE(run.errors.find("There is no EConfig.inf in the data root '" + empty.path().string() + "'"),
            std::string::npos)
      << run.errors;
  EXPECT_NE(run.errors.find("--data-root DIR chooses another"), std::string::npos) << run.errors;
  EXPECT_FALSE(std::filesystem::exists(empty.path() / ".translator.lock")) << "nothing is written there";
}

}  // namespace
}  // namespace app_test

namespace app_test {
namespace {

// Under the sanitizers a leak or a fault makes the run fail; every line
// still gets its line.
TEST_F(TranslatorProgram, AHundredSentencesGiveAHundredLinesAndLeaveNothingBehind) {
  const std::vector<std::string> sentences = {"I gave him a book",
                                              "The boy reads a book",
                                              "Tom is happy",
                                              "book book gave the",
                                              "Where do you live",
                                              "I want to go",
                                              "Tom and Mary killed themselves",
                                              "Close your book",
                                              "We'll wait",
                                              "I met Dr. Smith etc. He came"};
  std::string input;
  for (int i = 0; i < 100; ++i) input += sentences[i % sentences.size()] + "\n";
  const ProgramRun run = Run({}, input);
  EXPECT_TRUE(run.exitCode == 0 || run.exitCode == 1) << run.exitCode << "\n" << run.errors;
  EXPECT_EQ(Lines(run.output).size(), 100u);
  EXPECT_EQ(run.errors.find("Sanitizer"), std::string::npos) << run.errors;
}

}  // namespace
}  // namespace app_test

namespace app_test {
namespace {

// Each sentence of a line is translated on its own; the translations stand
// in order on the line's one output line.
TEST_F(TranslatorProgram, SeveralSentencesOnOneLineAreTranslatedInOrder) {
  const std::string both = std::string(kGaveBook) + " " + kBoyReads;
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"I gave him a book. The boy reads a book.", both},
      {"I gave him a book!  The boy reads a book", both},
      {"The boy reads a book. I gave him a book.", std::string(kBoyReads) + " " + kGaveBook},
      {"I gave him a book.", kGaveBook},
  };
  ExpectEachLineTranslated(cases);
}

TEST_F(TranslatorProgram, TheChartParserRoadIsRefusedWithoutItsGrammar) {
  const ProgramRun run = Run({"--lfg", "I gave him a book"});
  EXPECT_EQ(run.exitCode, 3) << run.errors;
  EXPECT_EQ(run.output, "");
  const std::vector<std::string> lines = Lines(run.errors);
  ASSERT_EQ(lines.size(), 1u) << run.errors;
  EXPECT_NE(lines[0].find("LFG"), std::string::npos) << lines[0];
  EXPECT_NE(lines[0].find("ELexicon.txt"), std::string::npos) << lines[0];
}

TEST_F(TranslatorProgram, AListRunShowsItsProgress) {
  const ProgramRun batch = Run({"--batch"});
  EXPECT_EQ(batch.exitCode, 0) << batch.errors;
  const std::vector<std::string> lines = Lines(batch.errors);
  ASSERT_GE(lines.size(), 3u) << batch.errors;
  EXPECT_EQ(lines[0], "Sentence list: translating 13 sentences");
  for (const char* figure : {"1 of 13 done", "7 of 13 done", "13 of 13 done"}) {
    EXPECT_NE(std::find(lines.begin(), lines.end(), figure), lines.end()) << figure << " in\n" << batch.errors;
  }
  const std::string benchmarkFile = root_.File("bench.txt");
  const ProgramRun benchmark = Run({"--benchmark", "--output", benchmarkFile});
  EXPECT_NE(benchmark.errors.find("Benchmark: parsing 13 sentences\n"), std::string::npos) << benchmark.errors;
  EXPECT_NE(benchmark.errors.find("\n13 of 13 done\n"), std::string::npos) << benchmark.errors;
}

}  // namespace
}  // namespace app_test
