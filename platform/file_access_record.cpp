#include "platform/file_access_record.h"

#include <cstring>

namespace {

// The innermost live record; null when nothing is recorded.
CFileAccessRecord* current = nullptr;

}  // namespace

CFileAccessRecord::CFileAccessRecord() : enclosing_(current) { current = this; }

CFileAccessRecord::~CFileAccessRecord() { current = enclosing_; }

void CFileAccessRecord::NoteOpened(const std::string& mappedPath, const char* mode) {
  // Records nest: an inner one also notes into the ones around it.
  for (CFileAccessRecord* record = current; record != nullptr; record = record->enclosing_) {
    const bool writes = std::strpbrk(mode, "wa+") != nullptr;
    (writes ? record->written_ : record->read_).insert(mappedPath);
  }
}
