// The checksums of whole files: the figures of the content, read once per
// start, and read again whenever the file is not the one summed before.
#include "core/file_checksum.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/sealed_file.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

uint32_t SumOf(const std::string& text) {
  return ContentChecksum(reinterpret_cast<const unsigned char*>(text.data()), text.size());
}

void Write(const std::string& path, const std::string& text) {
  WriteBytes(path, std::vector<unsigned char>(text.begin(), text.end()));
}

TEST(FileChecksumTest, GivesTheContentsFiguresAndNoticesEveryChange) {
  TempDir dir;
  const std::string path = dir.File("source.txt");
  Write(path, "first content");
  EXPECT_FALSE(ChecksumWholeFile(dir.File("missing.txt")).has_value());
  CStartChecksums start;
  // Each change to the file between two sums of one start: the second sum
  // is of the new content, under any spelling of the path.
  struct Change {
    const char* what;
    std::string content;
    bool replace;  // a new file renamed over the old one, else rewritten
  };
  const Change changes[] = {
      {"rewritten longer", "first content, longer", false},
      {"replaced, same length, same time", "FIRST CONTENT, LONGER", true},
      {"rewritten shorter", "short", false},
  };
  for (const Change& change : changes) {
    const std::optional<FileChecksum> before = ChecksumWholeFile(dir.File("./source.txt"));
    ASSERT_TRUE(before.has_value()) << change.what;
    const fs::file_time_type time = fs::last_write_time(path);
    if (change.replace) {
      Write(path + ".new", change.content);
      fs::last_write_time(path + ".new", time);
      fs::rename(path + ".new", path);
    } else {
      Write(path, change.content);
    }
    const std::optional<FileChecksum> after = ChecksumWholeFile(path);
    ASSERT_TRUE(after.has_value()) << change.what;
    EXPECT_EQ(after->size, change.content.size()) << change.what;
    EXPECT_EQ(after->checksum, SumOf(change.content)) << change.what;
  }
}

}  // namespace
