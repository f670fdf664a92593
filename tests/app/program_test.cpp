// The translator program end to end, on copies of the data root.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "app/cli/data_root.h"
#include "app_test_support.h"

namespace app_test {
namespace {

constexpr const char* kGaveBook = "میں نے اسے ایک کتاب دی";
constexpr const char* kBoyReads = "لڑکا ایک کتاب پڑھتا ہے";

class TranslatorProgram : public ::testing::Test {
 protected:
  ProgramRun Run(std::vector<std::string> arguments, const std::string& input = "") {
    arguments.insert(arguments.begin(), {"--data-root", root_.path().string()});
    return RunTranslatorProgram(arguments, input);
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
      {"The boy read a book", "لڑکے نے ایک کتاب پڑھی"},
      {"The girl read the books", "لڑکی نے کتابیں پڑھیں"},
      {"She will read the book", "وہ کتاب پڑھے گی"},
      {"The boys will not come", "لڑکے نہیں آئیں گے"},
      {"Did he read the book", "کیا اس نے کتاب پڑھی"},
      {"What did you eat", "آپ نے کیا کھایا"},
      {"The boy's mother gave the girl a book", "لڑکے کی ماں نے لڑکی کو ایک کتاب دی"},
      {"I live in a big house", "میں ایک بڑے گھر میں رہتا ہوں"},
      {"The teacher gave the boys books", "استاد نے لڑکوں کو کتابیں دیں"},
      {"I helped him", "میں نے اس کی مدد کی"},
      {"The farmer bought 25 cows", "کسان نے 25 گائیں خریدیں"},
  };
  std::string input;
  for (const auto& [english, urdu] : cases) input += english + "\n";
  const ProgramRun run = Run({}, input);
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  const std::vector<std::string> lines = Lines(run.output);
  ASSERT_EQ(lines.size(), cases.size()) << run.output;
  for (size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(lines[i], cases[i].second) << cases[i].first;

  const ProgramRun news = Run({"--domain", "News", "He reads the paper"});
  EXPECT_EQ(news.exitCode, 0) << news.errors;
  EXPECT_EQ(news.output, "وہ اخبار پڑھتا ہے\n");
}

TEST_F(TranslatorProgram, TreesAndCStructuresGoToStandardError) {
  root_.SetKey("SegmentSentence", "no");
  const ProgramRun run = Run({"--trees", "--show-cstructure", "I gave him a book"});
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  for (const char* part : {"Source F-Structure # 1\n", "  ROOT\n", "VALUE ----- give ", "Target F-Structure Group # 1 - ",
                           "C-structures of segment 1: "}) {
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

TEST_F(TranslatorProgram, ALockedDataRootMakesASecondRunGiveUp) {
  CDataRootLock holder;
  ASSERT_EQ(holder.Acquire(root_.path().string(), std::chrono::milliseconds(0)), CDataRootLock::Outcome::kAcquired);
  const ProgramRun run = Run({"I gave him a book"});
  EXPECT_EQ(run.exitCode, 3);
  EXPECT_NE(run.errors.find("is in use by process "), std::string::npos) << run.errors;
}

}  // namespace
}  // namespace app_test

namespace app_test {
namespace {

// Under the sanitizers a leak or a fault makes the run fail; every line
// still gets its line.
TEST_F(TranslatorProgram, AHundredSentencesGiveAHundredLinesAndLeaveNothingBehind) {
  const std::vector<std::string> sentences = {"I gave him a book", "The boy reads a book", "Tom is happy",
                                              "book book gave the", "Where do you live", "I want to go",
                                              "Tom and Mary killed themselves", "Close your book", "We'll wait",
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
