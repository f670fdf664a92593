// The sentence files of the developer drivers: UTF-16 text in which every
// sentence ends with '.'. A sentence is the text up to the next '.' (or the
// end of the text); the '.' itself is not part of it. For the sentence list
// CR and LF inside a sentence are dropped; the benchmark keeps them.
// Sentences of white space only (between two '.' or after the last one) are
// skipped, so the reading goes on to the end of the file.
#pragma once

#include <string>
#include <vector>

#include "core/file_reader.h"
#include "core/wide_string.h"

class CSentenceFileReader {
 public:
  explicit CSentenceFileReader(bool dropLineEnds);

  // False when the file cannot be opened (the file reader has shown why).
  bool Open(const std::string& path);
  // The next sentence; false at the end of the text.
  bool NextSentence(WString& sentence);
  // Every sentence not read yet, in order (a run tells its progress against
  // their count).
  std::vector<WString> RemainingSentences();

 private:
  CFileReader reader_;
  bool dropLineEnds_;
};
