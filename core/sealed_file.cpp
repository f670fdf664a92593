#include "core/sealed_file.h"

#include <cstdint>
#include <algorithm>
#include <cstdio>

namespace {

constexpr unsigned char kMark[4] = {'S', 'E', 'A', 'L'};
constexpr size_t kSealBytes = 12;

void PutLittleEndian32(std::vector<unsigned char>& bytes, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<unsigned char>(value >> shift));
}

uint32_t GetLittleEndian32(const unsigned char* bytes) {
  return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 | uint32_t{bytes[3]} << 24;
}

bool ReadAll(FILE* file, std::vector<unsigned char>& bytes) {
  unsigned char chunk[8192];
  for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;) bytes.insert(bytes.end(), chunk, chunk + got);
  return std::ferror(file) == 0;
}

}  // namespace

uint32_t Fnv1aChecksum(const unsigned char* bytes, size_t count) {
  uint32_t hash = 2166136261u;
  for (size_t i = 0; i < count; ++i) hash = (hash ^ bytes[i]) * 16777619u;
  return hash;
}

void AppendSeal(std::vector<unsigned char>& bytes) {
  const size_t content = bytes.size();
  const uint32_t checksum = Fnv1aChecksum(bytes.data(), content);
  bytes.insert(bytes.end(), kMark, kMark + 4);
  PutLittleEndian32(bytes, static_cast<uint32_t>(content));
  PutLittleEndian32(bytes, checksum);
}

bool StripSeal(std::vector<unsigned char>& bytes) {
  if (bytes.size() < kSealBytes) return false;
  const size_t content = bytes.size() - kSealBytes;
  const unsigned char* seal = bytes.data() + content;
  if (!std::equal(kMark, kMark + 4, seal)) return false;
  if (GetLittleEndian32(seal + 4) != content) return false;
  if (GetLittleEndian32(seal + 8) != Fnv1aChecksum(bytes.data(), content)) return false;
  bytes.resize(content);
  return true;
}

bool SealWrittenFile(const std::string& path) {
  std::vector<unsigned char> bytes;
  {
    FileHandle in(OpenFile(path, "rb"));
    if (!in || !ReadAll(in.get(), bytes)) return false;
  }
  const size_t content = bytes.size();
  AppendSeal(bytes);
  FileHandle out(OpenFile(path, "ab"));
  if (!out) return false;
  const size_t sealBytes = bytes.size() - content;
  return std::fwrite(bytes.data() + content, 1, sealBytes, out.get()) == sealBytes &&
         std::fclose(out.release()) == 0;
}

FileHandle OpenSealedFile(const std::string& path, SealedOpen* outcome) {
  SealedOpen ignored;
  SealedOpen& result = outcome != nullptr ? *outcome : ignored;
  std::vector<unsigned char> bytes;
  {
    FileHandle in(OpenFile(path, "rb"));
    if (!in) {
      result = SealedOpen::kMissing;
      return nullptr;
    }
    if (!ReadAll(in.get(), bytes) || !StripSeal(bytes)) {
      result = SealedOpen::kDamaged;
      return nullptr;
    }
  }
  // The content goes to an anonymous temporary file, so every FILE* reader
  // works on it unchanged and the stream owns its storage.
  FileHandle content(std::tmpfile());
  if (!content || (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), content.get()) != bytes.size())) {
    result = SealedOpen::kDamaged;
    return nullptr;
  }
  std::rewind(content.get());
  result = SealedOpen::kOpened;
  return content;
}
