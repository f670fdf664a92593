// The size and content checksum (ContentChecksum) of a whole file, as the
// data manifest and the compiled root's stamp record the files a start
// depends on. Both check the same source files, megabytes of them, at every
// start: while a CStartChecksums lives, each file is read and summed once
// and its figures are given again as long as the file's size, modification
// time and identity have not changed.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

struct FileChecksum {
  uint64_t size = 0;
  uint32_t checksum = 0;
};

// Nothing when the file cannot be read.
std::optional<FileChecksum> ChecksumWholeFile(const std::string& path);

// Remembers the checksums of one start; they are forgotten when it ends,
// so a later start reads every file again.
class CStartChecksums {
 public:
  CStartChecksums();
  ~CStartChecksums();
  CStartChecksums(const CStartChecksums&) = delete;
  CStartChecksums& operator=(const CStartChecksums&) = delete;

  struct Known {
    uint64_t device = 0, inode = 0, size = 0;
    int64_t modifiedSeconds = 0, modifiedNanoseconds = 0;
    FileChecksum figures;
  };
  std::map<std::string, Known> known;

 private:
  CStartChecksums* outer_;
};
