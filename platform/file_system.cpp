#include "platform/file_system.h"

#include <algorithm>

#include "platform/file_access_record.h"

std::string MapPath(const std::string& path) {
  std::string mapped = path;
  std::replace(mapped.begin(), mapped.end(), '\\', '/');
  return mapped;
}

FILE* OpenFile(const std::string& path, const char* mode) {
  const std::string mapped = MapPath(path);
  FILE* file = std::fopen(mapped.c_str(), mode);
  if (file != nullptr) CFileAccessRecord::NoteOpened(mapped, mode);
  return file;
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
