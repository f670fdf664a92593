// Output of UTF-16LE text files: a new file starts with the mark FF FE and
// every Write appends the units of its text, two little-endian bytes each,
// and flushes at once, so the file is complete up to the last call.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "core/wide_string.h"

class CFileWriter {
 public:
  CFileWriter() { ++liveInstances; }
  // Open(path) at once; check IsOpen() for the outcome.
  explicit CFileWriter(const std::string& path);
  ~CFileWriter();
  CFileWriter(const CFileWriter&) = delete;
  CFileWriter& operator=(const CFileWriter&) = delete;

  // Closes any open file, creates or truncates the path and writes the mark.
  // False (and no file held) when the file cannot be opened or the mark
  // cannot be written.
  bool Open(const std::string& path);
  // Writes all units of the text as one block, no terminator, no line end,
  // and flushes. Returns 1; 0 when nothing was written (no file, an empty
  // text, or a write error).
  int Write(const WString& text);
  // Closes the file when open.
  void Close();
  bool IsOpen() const { return file_ != nullptr; }
  // The current byte offset of the file; -1 without a file.
  int64_t Tell() const;

  static int liveInstances;

 private:
  FILE* file_ = nullptr;
};

// The program-wide writer of "data\FStructures.xml" that the batch translator
// writes to. It holds no file until InitFStructuresXmlStream, which engine
// set-up calls at every start and a sentence-list run again at its start (it
// closes the writer at its end). Returns what Open returned.
bool InitFStructuresXmlStream(const std::string& path = "data\\FStructures.xml");
CFileWriter& FStructuresXmlStream();
