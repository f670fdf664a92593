// Sealed dumps: what was written reads back; a dump damaged or cut after it
// was written reads as no words, whichever byte was touched.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "constraints/dump_words.h"
#include "support/test_support.h"

namespace {

std::vector<char> Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Write(const std::string& path, const std::vector<char>& bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

TEST(SealedDump, ReadsBackWhatWasWrittenAndRefusesEveryDamage) {
  TempDir dir;
  const std::string path = dir.File("words.dmp");
  const DumpWords words = {0x0102, 0xFFFF, 0, 0x8000, 42};
  ASSERT_TRUE(WriteDumpWords(path, words, words.size()));
  DumpWords read;
  ASSERT_TRUE(ReadDumpWords(path, 100, read));
  EXPECT_EQ(read, words);
  ASSERT_TRUE(ReadDumpWords(path, 2, read));
  EXPECT_EQ(read, (DumpWords{0x0102, 0xFFFF})) << "at most the words asked for";

  const std::vector<char> sealed = Bytes(path);
  for (size_t byte = 0; byte < sealed.size(); ++byte) {
    std::vector<char> damaged = sealed;
    damaged[byte] ^= 0x10;
    Write(path, damaged);
    ASSERT_TRUE(ReadDumpWords(path, 100, read));
    EXPECT_TRUE(read.empty()) << "flipped byte " << byte;
  }
  const std::vector<std::vector<char>> cutOrLonger = {
      {}, {sealed.begin(), sealed.end() - 1}, {sealed.begin(), sealed.end() - 2}, {sealed.begin() + 2, sealed.end()}};
  for (const std::vector<char>& bytes : cutOrLonger) {
    Write(path, bytes);
    ASSERT_TRUE(ReadDumpWords(path, 100, read));
    EXPECT_TRUE(read.empty()) << bytes.size() << " bytes";
  }
  std::vector<char> appended = sealed;
  appended.insert(appended.end(), {1, 0});
  Write(path, appended);
  ASSERT_TRUE(ReadDumpWords(path, 100, read));
  EXPECT_TRUE(read.empty()) << "words after the seal";
  EXPECT_FALSE(ReadDumpWords(dir.File("absent.dmp"), 100, read));
}

}  // namespace
