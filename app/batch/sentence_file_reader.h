// The sentence files of the developer drivers: text in which every sentence
// ends with '.'. A file that starts with the mark FF FE is UTF-16LE, as the
// system writes its own files; any other file is UTF-8, with or without the
// mark EF BB BF, as people write them.
//
// A sentence is the text up to the next '.' (or the end of the text); the
// '.' itself is not part of it. For the sentence list CR and LF inside a
// sentence are dropped; the benchmark keeps them. Sentences of white space
// only (between two '.' or after the last one) are skipped, so the reading
// goes on to the end of the file.
#pragma once

#include <string>
#include <vector>

#include "core/file_reader.h"
#include "core/wide_string.h"

class CSentenceFileReader {
 public:
  explicit CSentenceFileReader(bool dropLineEnds);

  // False when the file cannot be opened or is neither UTF-16LE with its
  // mark nor well-formed UTF-8 (a message has said which and why).
  bool Open(const std::string& path);
  // The next sentence; false at the end of the text.
  bool NextSentence(WString& sentence);
  // Every sentence not read yet, in order (a run tells its progress against
  // their count).
  std::vector<WString> RemainingSentences();

 private:
  // The current unit of whichever text is open; 0 at its end.
  WChar Current() const;
  WChar Advance();

  CFileReader reader_;  // UTF-16LE files, read as they go
  bool utf8_ = false;   // true: the text is utf8Text_
  WString utf8Text_;    // a UTF-8 file's whole text, decoded
  size_t utf8Position_ = 0;
  bool dropLineEnds_;
};
