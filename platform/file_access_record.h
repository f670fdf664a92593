// Which files a stretch of work opened. While a record lives, every file
// opened through OpenFile is noted in it, as read or as written (any mode
// that writes or appends). Engine set-up keeps one over a compiling start to
// learn the files the compile depended on and the files it produced.
#pragma once

#include <set>
#include <string>

class CFileAccessRecord {
 public:
  CFileAccessRecord();
  ~CFileAccessRecord();
  CFileAccessRecord(const CFileAccessRecord&) = delete;
  CFileAccessRecord& operator=(const CFileAccessRecord&) = delete;

  // Paths as opened ('/' separators), each once. A file both read and written
  // is in both sets.
  const std::set<std::string>& read() const { return read_; }
  const std::set<std::string>& written() const { return written_; }

  // Called by OpenFile for each file it opened.
  static void NoteOpened(const std::string& mappedPath, const char* mode);

 private:
  std::set<std::string> read_;
  std::set<std::string> written_;
  CFileAccessRecord* enclosing_;
};
