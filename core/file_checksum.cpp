#include "core/file_checksum.h"

#include <sys/stat.h>

#include <filesystem>

#include "core/sealed_file.h"
#include "platform/file_system.h"

namespace {

CStartChecksums*& CurrentStart() {
  static CStartChecksums* current = nullptr;
  return current;
}

// The file's identity, size and modification time; false when it has none.
bool Describe(const std::string& path, CStartChecksums::Known& described) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return false;
  described.device = static_cast<uint64_t>(status.st_dev);
  described.inode = static_cast<uint64_t>(status.st_ino);
  described.size = static_cast<uint64_t>(status.st_size);
  described.modifiedSeconds = static_cast<int64_t>(status.st_mtim.tv_sec);
  described.modifiedNanoseconds = static_cast<int64_t>(status.st_mtim.tv_nsec);
  return true;
}

bool SameFile(const CStartChecksums::Known& a, const CStartChecksums::Known& b) {
  return a.device == b.device && a.inode == b.inode && a.size == b.size && a.modifiedSeconds == b.modifiedSeconds &&
         a.modifiedNanoseconds == b.modifiedNanoseconds;
}

std::optional<FileChecksum> ReadAndSum(const std::string& path) {
  const std::optional<std::string> bytes = ReadFileBytes(path);
  if (!bytes) return std::nullopt;
  return FileChecksum{bytes->size(), ContentChecksum(reinterpret_cast<const unsigned char*>(bytes->data()), bytes->size())};
}

}  // namespace

CStartChecksums::CStartChecksums() : outer_(CurrentStart()) { CurrentStart() = this; }

CStartChecksums::~CStartChecksums() { CurrentStart() = outer_; }

std::optional<FileChecksum> ChecksumWholeFile(const std::string& path) {
  const std::string mapped = std::filesystem::path(MapPath(path)).lexically_normal().string();
  CStartChecksums* start = CurrentStart();
  CStartChecksums::Known now;
  if (!start || !Describe(mapped, now)) return ReadAndSum(mapped);
  const auto found = start->known.find(mapped);
  if (found != start->known.end() && SameFile(found->second, now)) return found->second.figures;
  const std::optional<FileChecksum> figures = ReadAndSum(mapped);
  // A file that changed while it was read is not remembered.
  CStartChecksums::Known after;
  if (figures && Describe(mapped, after) && SameFile(now, after)) {
    now.figures = *figures;
    start->known[mapped] = now;
  }
  return figures;
}
