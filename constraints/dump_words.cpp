#include "constraints/dump_words.h"

#include <cstdio>

#include "core/sealed_file.h"
#include "platform/file_system.h"

void PutWord(DumpWords& words, uint32_t& index, uint16_t word) {
  ++index;
  if (words.size() <= index) words.resize(static_cast<size_t>(index) + 1, 0);
  words[index] = word;
}

bool TakeWord(const DumpWords& words, uint32_t& index, uint16_t& word) {
  if (!WordsLeft(words, index, 1)) return false;
  ++index;
  word = words[index];
  return true;
}

bool WordsLeft(const DumpWords& words, uint32_t index, size_t count) {
  // The index names the last word used; kNoWordYet wraps to "none used".
  const size_t used = static_cast<size_t>(static_cast<uint32_t>(index + 1));
  return used <= words.size() && words.size() - used >= count;
}

namespace {

void AppendWord(std::vector<unsigned char>& bytes, uint16_t word) {
  bytes.push_back(static_cast<unsigned char>(word & 0xFF));
  bytes.push_back(static_cast<unsigned char>(word >> 8));
}

}  // namespace

bool WriteDumpWords(const std::string& path, const DumpWords& words, size_t count) {
  FileHandle file(OpenFile(path, "wb"));
  if (!file) return false;
  std::vector<unsigned char> bytes;
  bytes.reserve(count * 2 + 16);
  for (size_t i = 0; i < count && i < words.size(); ++i) AppendWord(bytes, words[i]);
  AppendSeal(bytes);
  return std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size() && std::fclose(file.release()) == 0;
}

bool ReadDumpWords(const std::string& path, size_t max_words, DumpWords& words) {
  words.clear();
  FileHandle file(OpenFile(path, "rb"));
  if (!file) return false;
  std::vector<unsigned char> bytes;
  unsigned char chunk[4096];
  for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0;)
    bytes.insert(bytes.end(), chunk, chunk + got);
  // A damaged or cut dump reads as no words, which every reader refuses.
  if (!StripSeal(bytes) || bytes.size() % 2 != 0) return true;
  for (size_t i = 0; i + 1 < bytes.size() && words.size() < max_words; i += 2) {
    words.push_back(static_cast<uint16_t>(bytes[i] | (bytes[i + 1] << 8)));
  }
  return true;
}
