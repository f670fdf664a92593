#include "app/batch/sentence_file_reader.h"

#include <algorithm>

#include "core/string_helpers.h"

namespace {

constexpr int kReaderUnits = 1024;

bool IsBlankText(const WString& text) { return std::all_of(text.begin(), text.end(), IsWhitespace); }

}  // namespace

CSentenceFileReader::CSentenceFileReader(bool dropLineEnds) : reader_(kReaderUnits), dropLineEnds_(dropLineEnds) {}

bool CSentenceFileReader::Open(const std::string& path) {
  reader_.Open(path);
  return reader_.IsOpen();
}

bool CSentenceFileReader::NextSentence(WString& sentence) {
  for (;;) {
    sentence.clear();
    WChar unit = reader_.GetChar();
    if (unit == 0) return false;
    for (; unit != 0 && unit != u'.'; unit = reader_.NextChar()) {
      if (dropLineEnds_ && (unit == u'\r' || unit == u'\n')) continue;
      sentence += unit;
    }
    if (unit == u'.') reader_.NextChar();
    if (!IsBlankText(sentence)) return true;
  }
}

std::vector<WString> CSentenceFileReader::RemainingSentences() {
  std::vector<WString> sentences;
  WString sentence;
  while (NextSentence(sentence)) sentences.push_back(sentence);
  return sentences;
}
