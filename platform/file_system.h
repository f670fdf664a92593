// File access. Paths are written with '\' as the configuration and the
// engines name them ("data\LogFile.Log"); they become '/' here, when a file is
// opened, and nowhere else.
#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

// The path with every '\' turned into '/'.
std::string MapPath(const std::string& path);

// fopen of the mapped path; null when the file cannot be opened.
FILE* OpenFile(const std::string& path, const char* mode);

// The whole content of the file, or nothing when it cannot be opened.
std::optional<std::string> ReadFileBytes(const std::string& path);

struct FileCloser {
  void operator()(FILE* file) const {
    if (file) std::fclose(file);
  }
};
using FileHandle = std::unique_ptr<FILE, FileCloser>;
