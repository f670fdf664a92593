// Buffered input of UTF-16LE text files, one 16-bit unit at a time.
//
// Cursor protocol (every loader uses it): construct or Open; while GetChar()
// is not 0, use the unit and call NextChar(). The end of the file and a zero
// unit inside the text look the same. Units are raw: no surrogate decoding,
// no newline translation. A leading mark U+FEFF is skipped; a file without it
// keeps its first unit. A trailing odd byte is never delivered.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/wide_string.h"

class CFileReader {
 public:
  // Allocates a buffer of buffer_size units (at least 1) and opens nothing.
  explicit CFileReader(int buffer_size);
  // Allocates the buffer, then Open(path).
  CFileReader(const std::string& path, int buffer_size);
  ~CFileReader();
  CFileReader(const CFileReader&) = delete;
  CFileReader& operator=(const CFileReader&) = delete;

  // Closes any open file and opens the path for reading. On success fills the
  // buffer, skips a leading mark and returns the first text unit (0 for an
  // empty text). On failure shows "File '<path>' could not be opened....\n"
  // (caption "File Reader Component", OK and Cancel), returns 0 and reads as
  // an empty file; IsOpen() then answers false.
  WChar Open(const std::string& path);
  // True while a file is open (after a successful Open, until Close).
  bool IsOpen() const { return file_ != nullptr; }

  // Reads up to a bufferful of units; the cursor goes to the buffer's start
  // and the current unit becomes 0. True when at least one unit was read.
  bool FillBuffer();
  // The current unit; 0 at the end of the file.
  WChar GetChar() const { return current_; }
  // Advances one unit, refilling when the buffer is used up, and returns the
  // new current unit; 0 at the end of the file and on every later call.
  WChar NextChar();

  // Opens the path and returns its whole text after the mark, up to the end
  // of the file or the first zero unit. Empty for a file that cannot be opened.
  WString ReadAll(const std::string& path);
  // Reads the file and appends to out the trimmed items between delimiters
  // (bytes of the delimiter string below 128). A delimiter with nothing
  // gathered before it is skipped; an item of blanks only gives an empty
  // string. False, with nothing appended, when the file cannot be opened.
  bool ReadItemList(const std::string& path, const std::string& delimiters, std::vector<WString>& out);
  // At most count units of one bufferful read at the byte offset from the
  // file start. The cursor and the stream position are left as they were.
  WString ReadAt(int64_t byte_offset, int64_t count);

  // Closes the file when open; the reader is then at the end of the file.
  void Close();

  // Capacity of the buffer in units.
  size_t BufferSize() const { return buffer_.size(); }

  static int liveInstances;

 private:
  // Reads up to units_wanted units into target; returns the count read.
  size_t ReadUnits(WChar* target, size_t units_wanted);

  FILE* file_ = nullptr;
  WChar current_ = 0;
  size_t position_ = 0;
  std::vector<WChar> buffer_;
  size_t units_read_ = 0;
  std::vector<unsigned char> bytes_;
};
