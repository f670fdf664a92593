#include "constraints/dump_words.h"

#include <cstdio>

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

bool WriteDumpWords(const std::string& path, const DumpWords& words, size_t count) {
  FileHandle file(OpenFile(path, "wb"));
  if (!file) return false;
  std::vector<unsigned char> bytes;
  bytes.reserve(count * 2);
  for (size_t i = 0; i < count && i < words.size(); ++i) {
    bytes.push_back(static_cast<unsigned char>(words[i] & 0xFF));
    bytes.push_back(static_cast<unsigned char>(words[i] >> 8));
  }
  return std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
}

bool ReadDumpWords(const std::string& path, size_t max_words, DumpWords& words) {
  words.clear();
  FileHandle file(OpenFile(path, "rb"));
  if (!file) return false;
  unsigned char pair[2];
  while (words.size() < max_words && std::fread(pair, 1, 2, file.get()) == 2) {
    words.push_back(static_cast<uint16_t>(pair[0] | (pair[1] << 8)));
  }
  return true;
}
