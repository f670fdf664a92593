// What the command line prints of one result, and the exit code it gives.
#include <gtest/gtest.h>

#include <sstream>

#include "app/cli/translator_cli.h"
#include "app/engine/translation_result.h"

namespace {

CSegmentOutcome Segment(int number, bool generated, std::vector<std::u16string> alternatives = {}) {
  CSegmentOutcome segment;
  segment.number = number;
  segment.generated = generated;
  segment.alternatives = std::move(alternatives);
  return segment;
}

TEST(CommandLineOutput, ResultsPrintAsOneLineWithMessagesAndDocumentsApart) {
  struct Case {
    const char* name;
    CTranslationResult result;
    CCommandLine options;
    std::string output;
    std::string errors;
    ExitCode code;
  };
  CCommandLine plain;
  CCommandLine withAlternatives;
  withAlternatives.alternatives = true;
  CCommandLine withTrees;
  withTrees.trees = true;

  CTranslationResult translated;
  translated.translated = true;
  translated.output = u"الف ب";
  translated.segments = {Segment(1, true, {u"الف ج"}), Segment(2, true, {u"د", u"ہ"})};

  CTranslationResult untranslated = translated;
  untranslated.segments[1].generated = false;
  untranslated.messages = {{u"Sentence could not be parsed.", u"Tarnwick", 0x40}, {u"bare", u"", 0}};

  CTranslationResult withDocuments = translated;
  withDocuments.cStructures = {{1, "data\\CStructures.xml", u"<C-Structures/>", true},
                               {2, "data\\CStructures.xml", u"", false}};

  CTranslationResult withTreeItems = translated;
  CTreeItem& heading = withTreeItems.sourceTree.InsertRoot(u"Source F-Structure # 1");
  heading.children.push_back(CTreeItem{u"ROOT", {CTreeItem{u"TENSE ----- past ", {}, false}}, true});

  CTranslationResult notRun;  // an empty sentence or no engine

  const std::vector<Case> cases = {
      {"translated", translated, plain, "الف ب\n", "", kExitTranslated},
      {"alternatives after tabs", translated, withAlternatives, "الف ب\tالف ج\tد\tہ\n", "", kExitTranslated},
      {"a segment left untranslated", untranslated, plain, "الف ب\n", "Tarnwick: Sentence could not be parsed.\nbare\n",
       kExitUntranslated},
      {"trees on standard error", withTreeItems, withTrees, "الف ب\n",
       "Source F-Structure # 1\n  ROOT\n    TENSE ----- past \n", kExitTranslated},
      {"nothing translated", notRun, plain, "\n", "", kExitUntranslated},
  };
  for (const Case& c : cases) {
    std::ostringstream output, errors;
    EXPECT_EQ(PrintResult(c.result, c.options, output, errors), c.code) << c.name;
    EXPECT_EQ(output.str(), c.output) << c.name;
    EXPECT_EQ(errors.str(), c.errors) << c.name;
  }

  CTranslationResult partly = translated;
  partly.segments[0].leftOut = {u"rice", u"yesterday"};
  partly.messages = {{u"Not translated: rice, yesterday", u"Quillet Module", 0x40}};
  {
    std::ostringstream output, errors;
    EXPECT_EQ(PrintResult(partly, plain, output, errors, 12), kExitUntranslated) << "partly translated";
    EXPECT_EQ(output.str(), "الف ب\n") << "the partial Urdu is kept";
    EXPECT_EQ(errors.str(), "line 12: Quillet Module: Not translated: rice, yesterday\n");
  }

  std::ostringstream output, errors;
  EXPECT_EQ(PrintResult(withDocuments, plain, output, errors), kExitFileError);
  EXPECT_NE(errors.str().find("C-structures of segment 1: "), std::string::npos) << errors.str();
  EXPECT_NE(errors.str().find("C-structures of segment 2 could not be written: "), std::string::npos) << errors.str();
}

}  // namespace

namespace {

TEST(CommandLineOutput, InputLinesAreNumberedFromOneWithEmptyLinesCounted) {
  std::istringstream input("first\n\r\nthird\r\n\nfifth");
  std::ostringstream output, errors;
  std::vector<std::pair<std::string, int>> seen;
  const ExitCode code = ForEachNumberedInputLine(input, output, errors, [&](const std::string& line, int number) {
    seen.emplace_back(line, number);
    return number == 3 ? kExitUntranslated : kExitTranslated;
  });
  EXPECT_EQ(code, kExitUntranslated);
  const std::vector<std::pair<std::string, int>> expected = {{"first", 1}, {"third", 3}, {"fifth", 5}};
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(output.str(), "\n\n") << "one empty line of output per empty input line";
}

}  // namespace
