// The grammar writers' options of the translator program: the listings of
// the Urdu grammar, the CFG chart dump, and the trees and structure pair of
// the LFG chart (--lfg), each run through the program's command line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "batch_test_support.h"
#include "resources/lfg/grammar_listings.h"

namespace app_test {
namespace {

constexpr const char* kGaveBook = "میں نے اسے ایک کتاب دی۔";

std::string ReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class GrammarDeveloperOptions : public ::testing::Test {
 protected:
  ProgramRun Run(const DataRootCopy& root, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"--data-root", root.path().string()});
    return RunTranslatorProgram(arguments);
  }

  TempDir files_;
};

TEST_F(GrammarDeveloperOptions, EveryListingOfTheUrduGrammarGoesToItsFile) {
  DataRootCopy root;
  for (const std::string& name : GrammarListingNames()) {
    const std::string file = files_.File(name + ".txt");
    const ProgramRun run = Run(root, {"--listing", name, "--listing-file", file});
    EXPECT_EQ(run.exitCode, 0) << name << "\n" << run.errors;
    EXPECT_EQ(run.output, "") << name;  // no translation
    EXPECT_TRUE(Contains(run.errors, "Listing " + name + ": " + file)) << run.errors;
    EXPECT_GT(std::filesystem::file_size(file), 100u) << name;
  }
  // The console listing without a file is the same text on standard output.
  const ProgramRun counts = Run(root, {"--listing", "production-counts"});
  EXPECT_EQ(counts.exitCode, 0) << counts.errors;
  EXPECT_EQ(counts.output, ReadBytes(files_.File("production-counts.txt")));
  // The walk from S starts at S; with no file it goes to the data root's "stackFile.txt".
  EXPECT_EQ(ReadUtf16AsUtf8(files_.File("derivation-stack.txt")).substr(0, 2), "S(");
  const ProgramRun stack = Run(root, {"--listing", "derivation-stack"});
  EXPECT_EQ(stack.exitCode, 0) << stack.errors;
  EXPECT_EQ(ReadUtf16AsUtf8(root.File("stackFile.txt")), ReadUtf16AsUtf8(files_.File("derivation-stack.txt")));
}

TEST_F(GrammarDeveloperOptions, ListingsThatCannotBeWrittenOrMakeNoSense) {
  DataRootCopy root;
  const ProgramRun noFile = Run(root, {"--listing", "production-listing"});
  EXPECT_EQ(noFile.exitCode, 4);
  EXPECT_TRUE(
      Contains(noFile.errors, "The listing 'production-listing' could not be written (it needs --listing-file)"))
      << noFile.errors;
  const ProgramRun badFolder =
      Run(root, {"--listing", "numbered-productions", "--listing-file", files_.File("no/such/folder/x.txt")});
  EXPECT_EQ(badFolder.exitCode, 4) << badFolder.errors;

  const std::vector<std::vector<std::string>> usageErrors = {
      {"--listing", "no-such-listing"},
      {"--listing-file", files_.File("x.txt")},
      {"--listing", "production-counts", "I", "ate"},
      {"--listing", "production-counts", "--batch"},
  };
  for (const std::vector<std::string>& arguments : usageErrors) {
    const ProgramRun run = Run(root, arguments);
    EXPECT_EQ(run.exitCode, 2) << arguments[0] << " " << arguments[1] << "\n" << run.errors;
  }
}

TEST_F(GrammarDeveloperOptions, TheChartDumpHoldsTheChartOfTheSentenceTranslated) {
  DataRootCopy root;
  const std::string dump = files_.File("chart.txt");
  const ProgramRun run = Run(root, {"--chart-dump", dump, "I gave him a book"});
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_EQ(run.output, std::string(kGaveBook) + "\n");
  const std::string text = ReadUtf16AsUtf8(dump);
  // One column before each of the five words and one after the last; the
  // start item complete over the whole sentence.
  for (const char* part :
       {"ChartColumn:---0\r\n[0,0] S' -> . SENT\r\n", "ChartColumn:---5\r\n", "[0,5] S' -> SENT .\r\n"}) {
    EXPECT_TRUE(Contains(text, part)) << part << "\n" << text.substr(0, 400);
  }
  EXPECT_FALSE(Contains(text, "ChartColumn:---6"));

  const ProgramRun unwritable = Run(root, {"--chart-dump", files_.File("no/such/folder/chart.txt"), "I ate"});
  EXPECT_EQ(unwritable.exitCode, 4) << unwritable.errors;
  EXPECT_EQ(unwritable.output, "");
  EXPECT_EQ(Run(root, {"--lfg", "--chart-dump", dump, "I ate"}).exitCode, 2);
}

TEST(GrammarDeveloperHelp, TheHelpListsTheOptions) {
  const ProgramRun help = RunTranslatorProgram({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  for (const char* option : {"--listing NAME:{raw-productions,", "--listing-file FILE", "--chart-dump FILE",
                             "--show-fstructures", "--show-cstructures", "--structure-pair FILE x 2"}) {
    EXPECT_TRUE(Contains(help.output, option)) << option;
  }
}

class LfgChartViews : public GrammarDeveloperOptions {
 protected:
  ProgramRun RunLfg(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "--lfg");
    return Run(root_, arguments);
  }

  LfgDataRoot root_;
};

TEST_F(LfgChartViews, TheTreesOfTheChartGoToStandardErrorBeforeTheTranslation) {
  const ProgramRun run = RunLfg({"--show-fstructures", "--show-cstructures", "I gave him a book"});
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_EQ(run.output, std::string(kGaveBook) + "\n");
  const size_t fStructure = run.errors.find("F-Structure # 1\n");
  const size_t cStructure = run.errors.find("C-Structure # 1\n");
  ASSERT_NE(fStructure, std::string::npos) << run.errors;
  ASSERT_NE(cStructure, std::string::npos) << run.errors;
  EXPECT_LT(fStructure, cStructure);
  EXPECT_FALSE(Contains(run.errors, "# 2\n")) << "one analysis:\n" << run.errors;
  for (const char* part :
       {"\n    VALUE ----- give\n    GF ----- SUBJ ----- OBJ ----- OBJ2\n", "\n  OBJ2\n    SPEC\n"}) {
    EXPECT_TRUE(Contains(run.errors.substr(fStructure, cStructure - fStructure), part)) << part << "\n" << run.errors;
  }
  const std::string cStructures =
      "C-Structure # 1\n  NP\n    pron ----- I\n  VP\n    v ----- gave\n    NP\n      pron ----- him\n"
      "    NP\n      det ----- a\n      N'\n        n ----- book\n";
  EXPECT_EQ(run.errors.substr(cStructure, cStructures.size()), cStructures);

  const ProgramRun notParsed = RunLfg({"--show-cstructures", "gave I"});
  EXPECT_EQ(notParsed.exitCode, 1);
  EXPECT_TRUE(Contains(notParsed.errors, "Language Parser: Sentence could not be parsed\n")) << notParsed.errors;
  EXPECT_FALSE(Contains(notParsed.errors, "C-Structure # "));
}

TEST_F(LfgChartViews, TheStructurePairIsWellFormedXml) {
  const std::string fs = files_.File("fs.xml");
  const std::string cs = files_.File("cs.xml");
  const ProgramRun run = RunLfg({"--structure-pair", fs, cs, "I gave him a book"});
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_EQ(run.output, std::string(kGaveBook) + "\n");
  EXPECT_TRUE(Contains(run.errors, "Structure pair of 1 analyses: " + fs + ", " + cs)) << run.errors;
  EXPECT_TRUE(IsWellFormedXml(fs));
  EXPECT_TRUE(IsWellFormedXml(cs));
  const std::string cText = ReadUtf16AsUtf8(cs);
  EXPECT_EQ(cText.rfind("<C-Structures><C-Structure-1><S>", 0), 0u) << cText;
  EXPECT_TRUE(Contains(cText, ">book<")) << cText;
  EXPECT_EQ(ReadUtf16AsUtf8(fs).rfind("<F-Structures><F-Structure-1>", 0), 0u);

  const ProgramRun unwritable = RunLfg({"--structure-pair", files_.File("no/such/fs.xml"), cs, "I gave him a book"});
  EXPECT_EQ(unwritable.exitCode, 4) << unwritable.errors;

  const std::vector<std::vector<std::string>> usageErrors = {
      {"--show-fstructures"},
      {"--structure-pair", fs, "I gave him a book"},
  };
  for (const std::vector<std::string>& arguments : usageErrors) {
    EXPECT_EQ(RunLfg(arguments).exitCode, 2) << arguments[0];
    std::vector<std::string> withoutLfg = arguments;
    withoutLfg.push_back("I gave him a book");
    EXPECT_EQ(Run(root_, withoutLfg).exitCode, 2) << arguments[0];
  }
}

}  // namespace
}  // namespace app_test
