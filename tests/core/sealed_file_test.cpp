#include "core/sealed_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace {

std::vector<unsigned char> Bytes(size_t count) {
  std::vector<unsigned char> bytes(count);
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<unsigned char>(i * 7 + 3);
  return bytes;
}

void WriteFile(const std::string& path, const std::vector<unsigned char>& bytes) {
  FileHandle out(OpenFile(path, "wb"));
  ASSERT_TRUE(out);
  // fwrite may not be given the null data of an empty vector.
  if (bytes.empty()) return;
  ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), out.get()), bytes.size());
}

std::vector<unsigned char> ReadRest(FILE* file) {
  std::vector<unsigned char> bytes;
  for (int c; (c = std::fgetc(file)) != EOF;) bytes.push_back(static_cast<unsigned char>(c));
  return bytes;
}

}  // namespace

// The opened stream gives back exactly the content before the seal, and the
// readers' seeks (a reader of UTF-16 files reads at offsets) work on it.
TEST(SealedFile, OpensTheContentWithoutItsSealAndSeeksInIt) {
  TempDir dir;
  for (const size_t size : {size_t{0}, size_t{1}, size_t{8195}}) {
    SCOPED_TRACE(size);
    const std::string path = dir.File("sealed.bin");
    WriteFile(path, Bytes(size));
    ASSERT_TRUE(SealWrittenFile(path));
    SealedOpen outcome = SealedOpen::kMissing;
    FileHandle content(OpenSealedFile(path, &outcome));
    ASSERT_TRUE(content);
    EXPECT_EQ(outcome, SealedOpen::kOpened);
    EXPECT_EQ(ReadRest(content.get()), Bytes(size));
    if (size < 2) continue;
    ASSERT_EQ(fseeko(content.get(), 1, SEEK_SET), 0);
    EXPECT_EQ(ftello(content.get()), 1);
    EXPECT_EQ(std::fgetc(content.get()), Bytes(size)[1]);
    ASSERT_EQ(fseeko(content.get(), -1, SEEK_END), 0);
    EXPECT_EQ(std::fgetc(content.get()), Bytes(size).back());
  }
}

TEST(SealedFile, RefusesMissingCutFlippedAndLengthenedFiles) {
  TempDir dir;
  const std::string path = dir.File("sealed.bin");
  WriteFile(path, Bytes(100));
  ASSERT_TRUE(SealWrittenFile(path));
  FileHandle in(OpenFile(path, "rb"));
  const std::vector<unsigned char> sealed = ReadRest(in.get());
  in.reset();

  std::vector<unsigned char> flipped = sealed;
  flipped[10] ^= 0x04;
  std::vector<unsigned char> lengthened = sealed;
  lengthened.push_back(0);
  const std::vector<unsigned char> cut(sealed.begin(), sealed.end() - 1);
  for (const auto& damaged : {flipped, lengthened, cut}) {
    WriteFile(path, damaged);
    SealedOpen outcome = SealedOpen::kOpened;
    EXPECT_FALSE(OpenSealedFile(path, &outcome));
    EXPECT_EQ(outcome, SealedOpen::kDamaged);
  }
  SealedOpen outcome = SealedOpen::kOpened;
  EXPECT_FALSE(OpenSealedFile(dir.File("absent.bin"), &outcome));
  EXPECT_EQ(outcome, SealedOpen::kMissing);
}
