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

namespace {

// Every dump ends with a seal: a mark, the number of content words (two
// words) and an FNV-1a checksum of the content bytes (two words). A dump
// whose seal is missing or does not match its content was damaged or cut
// after it was written; it reads as empty, which every dump reader refuses
// with its own message naming the file.
constexpr uint16_t kSealMark = 0x4C53;  // "SL"
constexpr size_t kSealWords = 5;

uint32_t ContentChecksum(const std::vector<unsigned char>& bytes, size_t count) {
  uint32_t hash = 2166136261u;
  for (size_t i = 0; i < count; ++i) hash = (hash ^ bytes[i]) * 16777619u;
  return hash;
}

void AppendWord(std::vector<unsigned char>& bytes, uint16_t word) {
  bytes.push_back(static_cast<unsigned char>(word & 0xFF));
  bytes.push_back(static_cast<unsigned char>(word >> 8));
}

uint16_t WordAt(const std::vector<unsigned char>& bytes, size_t word) {
  return static_cast<uint16_t>(bytes[2 * word] | (bytes[2 * word + 1] << 8));
}

}  // namespace

bool WriteDumpWords(const std::string& path, const DumpWords& words, size_t count) {
  FileHandle file(OpenFile(path, "wb"));
  if (!file) return false;
  std::vector<unsigned char> bytes;
  bytes.reserve((count + kSealWords) * 2);
  for (size_t i = 0; i < count && i < words.size(); ++i) AppendWord(bytes, words[i]);
  const uint32_t content = static_cast<uint32_t>(bytes.size() / 2);
  const uint32_t checksum = ContentChecksum(bytes, bytes.size());
  for (uint16_t word : {kSealMark, static_cast<uint16_t>(content & 0xFFFF), static_cast<uint16_t>(content >> 16),
                        static_cast<uint16_t>(checksum & 0xFFFF), static_cast<uint16_t>(checksum >> 16)}) {
    AppendWord(bytes, word);
  }
  return std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size() && std::fflush(file.get()) == 0;
}

bool ReadDumpWords(const std::string& path, size_t max_words, DumpWords& words) {
  words.clear();
  FileHandle file(OpenFile(path, "rb"));
  if (!file) return false;
  std::vector<unsigned char> bytes;
  unsigned char chunk[4096];
  for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0;) bytes.insert(bytes.end(), chunk, chunk + got);
  const size_t total = bytes.size() / 2;
  if (total < kSealWords) return true;
  const size_t seal = total - kSealWords;
  const uint32_t content = WordAt(bytes, seal + 1) | (uint32_t{WordAt(bytes, seal + 2)} << 16);
  const uint32_t checksum = WordAt(bytes, seal + 3) | (uint32_t{WordAt(bytes, seal + 4)} << 16);
  if (WordAt(bytes, seal) != kSealMark || content != seal || bytes.size() % 2 != 0 ||
      checksum != ContentChecksum(bytes, 2 * seal)) {
    return true;
  }
  for (size_t i = 0; i < seal && words.size() < max_words; ++i) words.push_back(WordAt(bytes, i));
  return true;
}
