// The sentence files of the developer drivers, read sentence by sentence.
#include <gtest/gtest.h>

#include <fstream>

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

// The same sentences in each encoding a sentence file may come in; the mark
// FF FE tells UTF-16LE from UTF-8.
TEST(SentenceFileReader, UnicodeFilesAreReadAsWrittenAndOtherBytesRefused) {
  const std::string text = "I gave him a book.\r\nCaf\xC3\xA9 \xD8\xA7\xDB\x8C\xDA\xA9 \xF0\x9F\x98\x80.";
  const std::vector<std::string> sentences = {"I gave him a book",
                                              "Caf\xC3\xA9 \xD8\xA7\xDB\x8C\xDA\xA9 \xF0\x9F\x98\x80"};
  const std::vector<unsigned char> utf16 = Utf16LeBytes(FromUtf8(text));
  const std::vector<unsigned char> utf16NoMark = Utf16LeBytes(FromUtf8(text), false);
  struct Case {
    const char* name;
    std::string bytes;
    bool readable;
  };
  const Case cases[] = {
      {"UTF-16LE with its mark", std::string(utf16.begin(), utf16.end()), true},
      {"UTF-8 without a mark", text, true},
      {"UTF-8 with its mark", "\xEF\xBB\xBF" + text, true},
      {"UTF-16LE without its mark", std::string(utf16NoMark.begin(), utf16NoMark.end()), false},
      {"Latin-1", "Caf\xE9.", false},
      {"a cut UTF-8 sequence", "I gave him a book.\xD8", false},
      {"an encoded surrogate", "A \xED\xA0\x80.", false},
  };
  for (const Case& c : cases) {
    TempDir dir;
    const std::string path = dir.File("sentences.txt");
    { std::ofstream(path, std::ios::binary) << c.bytes; }
    MessageRecorder messages;
    CSentenceFileReader reader(true);
    ASSERT_EQ(reader.Open(path), c.readable) << c.name;
    std::vector<std::string> read;
    for (WString sentence; reader.NextSentence(sentence);) read.push_back(ToUtf8(sentence));
    if (c.readable) {
      EXPECT_EQ(read, sentences) << c.name;
      EXPECT_TRUE(messages.messages().empty()) << c.name;
    } else {
      EXPECT_TRUE(read.empty()) << c.name;
      ASSERT_EQ(messages.messages().size(), 1u) << c.name;
    }
  }
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
