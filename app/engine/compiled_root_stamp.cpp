#include "app/engine/compiled_root_stamp.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <sstream>
#include <vector>

#include "core/file_checksum.h"
#include "core/sealed_file.h"
#include "platform/file_system.h"

namespace {

constexpr const char* kFirstLine = "compiled root 3";
// A written file is known by its size and the checksum of this many last
// bytes: for a sealed file, the seal with the content's length and checksum.
constexpr long kTailBytes = 64;
constexpr uint64_t kBlockMixer = 1099511628211ull;
enum class Stamped : char { kSource = 'S', kWritten = 'W' };

// The size of the open file, or nothing.
std::optional<uint64_t> OpenFileSize(FILE* file) {
  struct stat status {};
  if (fstat(fileno(file), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
  return static_cast<uint64_t>(status.st_size);
}

// "size checksum" of the file: of the whole content (ChecksumWholeFile, the
// figures the data manifest checks too), or of its last bytes.
std::optional<std::string> Fingerprint(const std::string& path, Stamped kind) {
  if (kind == Stamped::kSource) {
    const std::optional<FileChecksum> whole = ChecksumWholeFile(path);
    if (!whole) return std::nullopt;
    return std::to_string(whole->size) + ' ' + std::to_string(whole->checksum);
  }
  FileHandle file(std::fopen(MapPath(path).c_str(), "rb"));
  if (!file) return std::nullopt;
  const std::optional<uint64_t> size = OpenFileSize(file.get());
  if (!size) return std::nullopt;
  uint64_t first = 0;
  if (*size > static_cast<uint64_t>(kTailBytes)) {
    first = *size - kTailBytes;
    if (std::fseek(file.get(), static_cast<long>(first), SEEK_SET) != 0) return std::nullopt;
  }
  std::vector<unsigned char> tail(static_cast<size_t>(*size - first));
  if (!tail.empty() && std::fread(tail.data(), 1, tail.size(), file.get()) != tail.size()) return std::nullopt;
  const uint64_t checksum = tail.size() * kBlockMixer ^ ContentChecksum(tail.data(), tail.size());
  return std::to_string(*size) + ' ' + std::to_string(checksum);
}

// The running program's size and modification time; empty when unknown.
std::string ProgramIdentity() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  struct stat status {};
  if (error || stat(program.c_str(), &status) != 0) return std::string();
  return std::to_string(status.st_size) + ' ' + std::to_string(status.st_mtim.tv_sec) + '.' +
         std::to_string(status.st_mtim.tv_nsec);
}

std::string Header() {
  const std::string program = ProgramIdentity();
  return program.empty() ? std::string() : std::string(kFirstLine) + '\n' + program + '\n';
}

std::string StampPath() { return MapPath(kCompiledRootStampFile); }

// The paths as one spelling each: the loaders open one file as "data/x" and
// as "./data/x", and a file stamped under both would be read and checked
// twice at every start.
std::set<std::string> OneSpellingEach(const std::set<std::string>& paths) {
  std::set<std::string> normal;
  for (const std::string& path : paths) normal.insert(std::filesystem::path(MapPath(path)).lexically_normal().string());
  return normal;
}

}  // namespace

std::string MakeCompiledRootStamp(const std::set<std::string>& read, const std::set<std::string>& written,
                                  const std::set<std::string>& leftOut) {
  std::string stamp = Header();
  if (stamp.empty()) return stamp;
  const auto add = [&](const std::string& path, Stamped kind) {
    const std::optional<std::string> fingerprint = Fingerprint(path, kind);
    if (!fingerprint) return false;
    stamp += static_cast<char>(kind) + std::string(" ") + *fingerprint + ' ' + path + '\n';
    return true;
  };
  const std::string self = *OneSpellingEach({StampPath()}).begin();
  const std::set<std::string> writtenPaths = OneSpellingEach(written);
  const std::set<std::string> leftOutPaths = OneSpellingEach(leftOut);
  for (const std::string& path : writtenPaths) {
    if (leftOutPaths.count(path) != 0 || path == self) continue;
    if (!add(path, Stamped::kWritten)) return std::string();
  }
  for (const std::string& path : OneSpellingEach(read)) {
    if (writtenPaths.count(path) != 0 || leftOutPaths.count(path) != 0 || path == self) continue;
    if (!add(path, Stamped::kSource)) return std::string();
  }
  return stamp;
}

bool WriteCompiledRootStamp(const std::string& stamp) {
  std::vector<unsigned char> bytes(stamp.begin(), stamp.end());
  AppendSeal(bytes);
  const std::string path = StampPath();
  FileHandle file(std::fopen(path.c_str(), "wb"));
  const bool whole = file && std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size() &&
                     std::fclose(file.release()) == 0;
  if (!whole) std::remove(path.c_str());
  return whole;
}

bool CompiledRootStampMatches() {
  std::vector<unsigned char> bytes;
  {
    const std::optional<std::string> content = ReadFileBytes(StampPath());
    if (!content) return false;
    bytes.assign(content->begin(), content->end());
  }
  if (!StripSeal(bytes)) return false;
  const std::string header = Header();
  if (header.empty() || bytes.size() < header.size() || !std::equal(header.begin(), header.end(), bytes.begin())) {
    return false;
  }
  std::istringstream lines(std::string(bytes.begin() + static_cast<long>(header.size()), bytes.end()));
  std::string line;
  bool any = false;
  while (std::getline(lines, line)) {
    // "K size checksum path"; the path is the rest of the line.
    std::istringstream fields(line);
    std::string kind, size, checksum;
    if (!(fields >> kind >> size >> checksum) || kind.size() != 1) return false;
    std::string path;
    std::getline(fields >> std::ws, path);
    if (path.empty() || (kind[0] != 'S' && kind[0] != 'W')) return false;
    if (Fingerprint(path, static_cast<Stamped>(kind[0])) != size + ' ' + checksum) return false;
    any = true;
  }
  return any;
}

void RemoveCompiledRootStamp() { std::remove(StampPath().c_str()); }
