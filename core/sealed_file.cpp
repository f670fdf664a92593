#include "core/sealed_file.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

namespace {

constexpr unsigned char kMark[4] = {'S', 'E', 'A', 'L'};
constexpr size_t kSealBytes = 12;

void PutLittleEndian32(std::vector<unsigned char>& bytes, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<unsigned char>(value >> shift));
}

uint32_t GetLittleEndian32(const unsigned char* bytes) {
  return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 | uint32_t{bytes[3]} << 24;
}

// A read-only stream over bytes it owns: the readers that read a FILE* read
// the checked content straight from memory, and closing the stream frees it.
struct MemoryStream {
  std::vector<unsigned char> bytes;
  size_t position = 0;
};

ssize_t ReadMemory(void* cookie, char* buffer, size_t size) {
  auto* stream = static_cast<MemoryStream*>(cookie);
  const size_t count = std::min(size, stream->bytes.size() - stream->position);
  std::memcpy(buffer, stream->bytes.data() + stream->position, count);
  stream->position += count;
  return static_cast<ssize_t>(count);
}

int SeekMemory(void* cookie, off64_t* offset, int whence) {
  auto* stream = static_cast<MemoryStream*>(cookie);
  const off64_t base = whence == SEEK_SET   ? 0
                       : whence == SEEK_CUR ? static_cast<off64_t>(stream->position)
                                            : static_cast<off64_t>(stream->bytes.size());
  const off64_t target = base + *offset;
  if (target < 0 || target > static_cast<off64_t>(stream->bytes.size())) return -1;
  stream->position = static_cast<size_t>(target);
  *offset = target;
  return 0;
}

int CloseMemory(void* cookie) {
  delete static_cast<MemoryStream*>(cookie);
  return 0;
}

FILE* OpenMemoryStream(std::vector<unsigned char> bytes) {
  auto stream = std::make_unique<MemoryStream>();
  stream->bytes = std::move(bytes);
  const cookie_io_functions_t functions{ReadMemory, nullptr, SeekMemory, CloseMemory};
  FILE* file = fopencookie(stream.get(), "rb", functions);
  if (file != nullptr) stream.release();
  return file;
}

bool ReadAll(FILE* file, std::vector<unsigned char>& bytes) {
  // The dumps run to megabytes: room for the whole file is made at once.
  if (std::fseek(file, 0, SEEK_END) == 0) {
    const long size = std::ftell(file);
    if (size > 0) bytes.reserve(static_cast<size_t>(size));
    std::rewind(file);
  }
  unsigned char chunk[8192];
  for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;) bytes.insert(bytes.end(), chunk, chunk + got);
  return std::ferror(file) == 0;
}

}  // namespace

// FNV-1a over eight bytes a step (the dumps run to megabytes and are checked
// at every start), folded to 32 bits. Each step is a bijection of the state,
// so a change in any one word always changes the state that follows it.
uint32_t ContentChecksum(const unsigned char* bytes, size_t count) {
  constexpr uint64_t kPrime = 1099511628211ull;
  uint64_t hash = 14695981039346656037ull;
  size_t i = 0;
  for (; i + 8 <= count; i += 8) {
    uint64_t word;
    std::memcpy(&word, bytes + i, sizeof word);
    if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
    hash = (hash ^ word) * kPrime;
  }
  for (; i < count; ++i) hash = (hash ^ bytes[i]) * kPrime;
  return static_cast<uint32_t>(hash ^ (hash >> 32));
}

void AppendSeal(std::vector<unsigned char>& bytes) {
  const size_t content = bytes.size();
  const uint32_t checksum = ContentChecksum(bytes.data(), content);
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
  if (GetLittleEndian32(seal + 8) != ContentChecksum(bytes.data(), content)) return false;
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
  return std::fwrite(bytes.data() + content, 1, sealBytes, out.get()) == sealBytes && std::fclose(out.release()) == 0;
}

SealedOpen ReadSealedFile(const std::string& path, std::vector<unsigned char>& content) {
  content.clear();
  FileHandle in(OpenFile(path, "rb"));
  if (!in) return SealedOpen::kMissing;
  if (!ReadAll(in.get(), content) || !StripSeal(content)) {
    content.clear();
    return SealedOpen::kDamaged;
  }
  return SealedOpen::kOpened;
}

FileHandle OpenSealedFile(const std::string& path, SealedOpen* outcome) {
  SealedOpen ignored;
  SealedOpen& result = outcome != nullptr ? *outcome : ignored;
  std::vector<unsigned char> bytes;
  result = ReadSealedFile(path, bytes);
  if (result != SealedOpen::kOpened) return nullptr;
  FileHandle content(OpenMemoryStream(std::move(bytes)));
  if (!content) {
    result = SealedOpen::kDamaged;
    return nullptr;
  }
  return content;
}
