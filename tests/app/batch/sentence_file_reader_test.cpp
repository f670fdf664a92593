// The sentence files of the developer drivers, read sentence by sentence.
#include <gtest/gtest.h>

#include "app/batch/sentence_file_reader.h"
#include "batch_test_support.h"
#include "platform/utf8.h"

namespace app_test {
namespace {

std::vector<std::string> ReadAll(const std::string& text, bool dropLineEnds) {
  TempDir dir;
  WriteTextFile(dir.File("sentences.txt"), text);
  CSentenceFileReader reader(dropLineEnds);
  EXPECT_TRUE(reader.Open(dir.File("sentences.txt")));
  std::vector<std::string> sentences;
  for (WString sentence; reader.NextSentence(sentence);) sentences.push_back(ToUtf8(sentence));
  return sentences;
}

TEST(SentenceFileReader, SentencesEndAtDotsAndBlankOnesAreSkipped) {
  struct Case {
    const char* name;
    std::string text;
    bool dropLineEnds;
    std::vector<std::string> sentences;
  };
  const Case cases[] = {
      {"no dot: one sentence to the end", "I gave him a book", true, {"I gave him a book"}},
      {"two dots: the empty sentence is skipped", "I came.. He went.", true, {"I came", " He went"}},
      {"dots only", "...", true, {}},
      {"empty file", "", true, {}},
      {"CR LF inside a list sentence is dropped", "The boy\r\nreads.\r\nHe came.", true, {"The boyreads", "He came"}},
      {"the benchmark keeps CR LF", "The boy\r\nreads.\r\nHe came.", false, {"The boy\r\nreads", "\r\nHe came"}},
      {"blank text after the last dot is no sentence", "He came.\r\n  \r\n", false, {"He came"}},
      {"text after the last dot is the last sentence", "He came. She went", true, {"He came", " She went"}},
      {"blank sentences between dots go on to the end", "A. \r\n. B.", false, {"A", " B"}},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadAll(c.text, c.dropLineEnds), c.sentences) << c.name;
}

TEST(SentenceFileReader, AMissingFileIsReported) {
  MessageRecorder messages;
  CSentenceFileReader reader(true);
  EXPECT_FALSE(reader.Open("/no/such/folder/SenList.txt"));
  WString sentence;
  EXPECT_FALSE(reader.NextSentence(sentence));
  EXPECT_EQ(messages.messages().size(), 1u);
}

}  // namespace
}  // namespace app_test
