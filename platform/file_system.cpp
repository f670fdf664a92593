#include "platform/file_system.h"

#include <algorithm>

std::string MapPath(const std::string& path) {
  std::string mapped = path;
  std::replace(mapped.begin(), mapped.end(), '\\', '/');
  return mapped;
}

FILE* OpenFile(const std::string& path, const char* mode) {
  return std::fopen(MapPath(path).c_str(), mode);
}

std::optional<std::string> ReadFileBytes(const std::string& path) {
  FileHandle file(OpenFile(path, "rb"));
  if (!file) return std::nullopt;
  std::string bytes;
  char buffer[4096];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) bytes.append(buffer, got);
  return bytes;
}
