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
