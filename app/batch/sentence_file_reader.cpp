#include "app/batch/sentence_file_reader.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "core/string_helpers.h"
#include "platform/message_box.h"
#include "platform/utf8.h"

namespace {

constexpr int kReaderUnits = 1024;

bool IsBlankText(const WString& text) { return std::all_of(text.begin(), text.end(), IsWhitespace); }

bool StartsWith(const std::string& bytes, const char* prefix) { return bytes.rfind(prefix, 0) == 0; }

}  // namespace

CSentenceFileReader::CSentenceFileReader(bool dropLineEnds) : reader_(kReaderUnits), dropLineEnds_(dropLineEnds) {}

bool CSentenceFileReader::Open(const std::string& path) {
  utf8_ = false;
  utf8Text_.clear();
  utf8Position_ = 0;
  std::ifstream file(path, std::ios::binary);
  char mark[2] = {};
  const bool utf16 = file && file.read(mark, 2) && mark[0] == '\xFF' && mark[1] == '\xFE';
  // A file that cannot be opened goes to the file reader too, which says so.
  if (!file.is_open() || utf16) {
    reader_.Open(path);
    return reader_.IsOpen();
  }
  reader_.Close();
  file.clear();
  file.seekg(0);
  std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  if (StartsWith(bytes, "\xEF\xBB\xBF")) bytes.erase(0, 3);
  utf8Text_ = FromUtf8(bytes);
  // Malformed sequences decode to U+FFFD, so the text no longer encodes back
  // to the same bytes; a zero byte is no text either (UTF-16 without its mark
  // has one in every Latin letter). Such a file is refused rather than read
  // as garbled sentences.
  if (bytes.find('\0') != std::string::npos || ToUtf8(utf8Text_) != bytes) {
    utf8Text_.clear();
    ShowMessage(u"File '" + FromUtf8(path) + u"' is neither UTF-8 nor UTF-16LE starting with the mark FF FE.",
                u"Sentence File", MessageStyle::Ok);
    return false;
  }
  utf8_ = true;
  return true;
}

WChar CSentenceFileReader::Current() const {
  if (!utf8_) return reader_.GetChar();
  return utf8Position_ < utf8Text_.size() ? utf8Text_[utf8Position_] : 0;
}

WChar CSentenceFileReader::Advance() {
  if (!utf8_) return reader_.NextChar();
  if (utf8Position_ < utf8Text_.size()) ++utf8Position_;
  return Current();
}

bool CSentenceFileReader::NextSentence(WString& sentence) {
  for (;;) {
    sentence.clear();
    WChar unit = Current();
    if (unit == 0) return false;
    for (; unit != 0 && unit != u'.'; unit = Advance()) {
      if (dropLineEnds_ && (unit == u'\r' || unit == u'\n')) continue;
      sentence += unit;
    }
    if (unit == u'.') Advance();
    if (!IsBlankText(sentence)) return true;
  }
}

std::vector<WString> CSentenceFileReader::RemainingSentences() {
  std::vector<WString> sentences;
  WString sentence;
  while (NextSentence(sentence)) sentences.push_back(sentence);
  return sentences;
}
