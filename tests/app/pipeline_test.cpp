// The translate road over the shipped data: the trace log of a sentence,
// segment headings and the merged line of a long sentence.
#include <gtest/gtest.h>

#include "app/engine/translator_dlg.h"
#include "app_test_support.h"
#include "core/config_store.h"
#include "core/trace_log.h"
#include "platform/utf8.h"

namespace app_test {
namespace {

class TranslatePipeline : public ::testing::Test {
 protected:
  void TearDown() override {
    CloseTraceLog();
    ClearConfiguration();
  }

  // Sets the engine up in the data root and stays inside it.
  void SetUpEngine() {
    inside_ = std::make_unique<CurrentFolder>(root_.path());
    ASSERT_TRUE(translator_.InitializeEngine());
    messages_.clear();
  }

  // The log's lines without their numbers.
  std::vector<std::string> LogLines() {
    CloseTraceLog();
    std::vector<std::string> lines;
    std::string text = ReadUtf16AsUtf8(root_.File("data/LogFile.Log"));
    size_t start = 0;
    while (start < text.size()) {
      const size_t end = text.find("\r\n", start);
      std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
      lines.push_back(line.substr(line.find(". ") + 2));
      if (end == std::string::npos) break;
      start = end + 2;
    }
    return lines;
  }

  DataRootCopy root_;
  MessageRecorder messages_;
  CTranslatorDlg translator_;
  std::unique_ptr<CurrentFolder> inside_;
};

bool StartsWith(const std::string& text, const std::string& start) { return text.rfind(start, 0) == 0; }

TEST_F(TranslatePipeline, TheTraceLogOfOneSentenceHoldsItsPhasesInOrder) {
  root_.SetKey("SegmentSentence", "no");
  SetUpEngine();
  const CTranslationResult result = translator_.OnTranslate(u"I gave him a book.");
  ASSERT_TRUE(result.AllSegmentsTranslated()) << ToUtf8(result.output);
  const std::string hyphens(44, '-'), equals(44, '=');
  const std::vector<std::string> lines = LogLines();
  // The lines from the sentence on; the parser's own lines (the tagged
  // sentence, "CFG parsing completed") come right after the sentence.
  auto at = std::find(lines.begin(), lines.end(), "I gave him a book");
  ASSERT_NE(at, lines.end());
  const std::vector<std::string> tail(at, lines.end());
  ASSERT_GE(tail.size(), 13u);
  EXPECT_EQ(tail[2], "CFG parsing completed");
  EXPECT_EQ(tail[3], hyphens);
  EXPECT_TRUE(StartsWith(tail[4], "\nParsing Time: ")) << tail[4];
  EXPECT_TRUE(StartsWith(tail[5], "\nMaping Time: ")) << tail[5];
  EXPECT_TRUE(StartsWith(tail[6], "\nGeneration Time: ")) << tail[6];
  EXPECT_EQ(tail[7], hyphens);
  EXPECT_EQ(tail[8], ToUtf8(result.output));
  EXPECT_EQ(tail[9], hyphens);
  EXPECT_EQ(tail[10], hyphens);
  EXPECT_TRUE(StartsWith(tail[11], "\nTotal Translation Time: ")) << tail[11];
  EXPECT_EQ(tail[12], equals);
}

// A line end typed into the sentence would let it write a log line of its
// own ("99. forged line"); every line of the log keeps the log's own number.
TEST_F(TranslatePipeline, TypedControlCharactersAddNoLogLines) {
  root_.SetKey("SegmentSentence", "no");
  SetUpEngine();
  translator_.OnTranslate(u"I gave him\r\n99. forged line");
  translator_.OnTranslate(u"I gave him\n1. forged line");
  CloseTraceLog();
  const std::string text = ReadUtf16AsUtf8(root_.File("data/LogFile.Log"));
  size_t number = 1;
  for (size_t start = 0; start < text.size(); ++number) {
    const std::string prefix = std::to_string(number) + ". ";
    EXPECT_EQ(text.compare(start, prefix.size(), prefix), 0) << text.substr(start, 40);
    const size_t end = text.find("\r\n", start);
    if (end == std::string::npos) break;
    start = end + 2;
  }
  EXPECT_GT(number, 10u);
}

TEST_F(TranslatePipeline, HeadingsOfTheTreesNameSegmentAndGroup) {
  struct Case {
    const char* segmentation;
    const char* source;
    const char* target;
  };
  for (const Case& c : {Case{"no", "Source F-Structure # 1", "Target F-Structure Group # 1 - "},
                        Case{"yes", "Source F-Structure # 1 - 1", "Target F-Structure Group # 1 - 1 - "}}) {
    SCOPED_TRACE(c.segmentation);
    DataRootCopy root;
    root.SetKey("SegmentSentence", c.segmentation);
    CurrentFolder inside(root.path());
    CTranslatorDlg translator;
    ASSERT_TRUE(translator.InitializeEngine());
    const CTranslationResult result = translator.OnTranslate(u"The boy reads a book");
    ASSERT_EQ(result.sourceTree.roots.size(), 1u);
    EXPECT_EQ(ToUtf8(result.sourceTree.roots[0].text), c.source);
    ASSERT_FALSE(result.targetTree.roots.empty());
    EXPECT_TRUE(StartsWith(ToUtf8(result.targetTree.roots[0].text), c.target))
        << ToUtf8(result.targetTree.roots[0].text);
    EXPECT_TRUE(result.sourceTree.roots[0].expanded);
  }
}

// A sentence that the clause rules cut in two: both segments translated,
// merged into one line with the joining text between.
TEST_F(TranslatePipeline, ALongSentenceIsCutAndMergedIntoOneLine) {
  SetUpEngine();
  const CTranslationResult result = translator_.OnTranslate(u"The boy read a book so he went to bed.");
  ASSERT_EQ(result.segments.size(), 2u);
  EXPECT_TRUE(result.AllSegmentsTranslated());
  EXPECT_EQ(result.output.find(u'\n'), std::u16string::npos);
  // One full stop, at the end: the first segment's own goes.
  const std::string first = ToUtf8(result.segments[0].translation), stop = "۔";
  ASSERT_EQ(first.substr(first.size() - stop.size()), stop);
  EXPECT_EQ(ToUtf8(result.output),
            first.substr(0, first.size() - stop.size()) + " اس لیے " + ToUtf8(result.segments[1].translation));
  std::vector<std::string> headings;
  for (const CTreeItem& root : result.sourceTree.roots) headings.push_back(ToUtf8(root.text));
  EXPECT_EQ(headings, (std::vector<std::string>{"Source F-Structure # 1 - 1", "Source F-Structure # 2 - 1"}));
}

// Sentences the segment rules cut: the clause rule ("so") and the
// coordination rule ("and"). The first is exactly as long as the shortest
// sentence that is cut; each segment keeps its place in the merged line.
TEST_F(TranslatePipeline, CutSentencesKeepEveryClauseInItsPlace) {
  struct CutCase {
    const char16_t* english;
    const char* joining;
  };
  const CutCase cases[] = {
      {u"He was tired so he went to bed.", " اس لیے "},  // eight words: the shortest cut
      {u"I gave him a book and he read it.", " اور "},
  };
  SetUpEngine();
  ASSERT_EQ(translator_.m_nMinSentLength, 8);
  for (const CutCase& c : cases) {
    SCOPED_TRACE(ToUtf8(c.english));
    const CTranslationResult result = translator_.OnTranslate(c.english);
    ASSERT_EQ(result.segments.size(), 2u);
    EXPECT_TRUE(result.AllSegmentsTranslated());
    // The merged line keeps one full stop, at its end.
    const std::string first = ToUtf8(result.segments[0].translation), stop = "۔";
    ASSERT_EQ(first.substr(first.size() - stop.size()), stop);
    EXPECT_EQ(ToUtf8(result.output),
              first.substr(0, first.size() - stop.size()) + c.joining + ToUtf8(result.segments[1].translation));
  }
}

}  // namespace
}  // namespace app_test

namespace app_test {
namespace {

// The tokeniser ends a sentence after an abbreviation's period before a
// capitalised word; the road reads the typed text to its end, each of its
// sentences on its own, and nothing of it starts the next translation.
TEST_F(TranslatePipeline, TheWholeTypedTextIsReadAndNothingIsHeldOver) {
  root_.SetKey("SegmentSentence", "no");
  SetUpEngine();
  const std::vector<std::pair<std::u16string, std::vector<std::string>>> cases = {
      {u"I like apples etc. He came", {"I like apples etc He came"}},
      {u"I met Dr. Smith", {"I met Dr Smith"}},
      {u"The boy reads a book", {"The boy reads a book"}},
      {u"Tom came. Mary went", {"Tom came", "Mary went"}},
      {u"It costs 3.5 rupees. Is it cheap? Yes!", {"It costs 3.5 rupees", "Is it cheap", "Yes"}},
  };
  for (const auto& [typed, english] : cases) {
    const CTranslationResult result = translator_.OnTranslate(typed);
    std::vector<std::string> segments;
    for (const CSegmentOutcome& segment : result.segments) segments.push_back(ToUtf8(segment.english));
    EXPECT_EQ(segments, english) << ToUtf8(typed);
    for (size_t i = 0; i < result.segments.size(); ++i) EXPECT_EQ(result.segments[i].number, static_cast<int>(i) + 1);
  }
}

}  // namespace
}  // namespace app_test
