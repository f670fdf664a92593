// The tokeniser's word lists, 8-bit text files: the part-of-speech list
// ("POSs"), the reading lists of measure and date codes ("UnitPosFile") and
// the abbreviations ("AbbreviationFile").
#include <cctype>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>

#include "analysis/tokeniser/pre_processor.h"
#include "core/config_store.h"
#include "core/string_helpers.h"
#include "platform/file_system.h"

namespace {

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// The white-space separated words of a file, or nothing (after the fixed
// console text) when it cannot be opened.
std::optional<std::vector<WString>> ReadWords(const std::string& path, const char* failureText) {
  const std::optional<std::string> text = ReadFileBytes(path);
  if (!text) {
    std::cout << failureText << std::endl;
    return std::nullopt;
  }
  std::vector<WString> words;
  std::string word;
  for (char c : *text + ' ') {
    if (!IsSpace(c)) {
      word += c;
      continue;
    }
    if (!word.empty()) words.push_back(NarrowToWide(word));
    word.clear();
  }
  return words;
}

// Reads "UnitPosFile" records: a code, one separator, then names ended by
// ',' and the last by '.'; white space is skipped before every item.
class UnitRecordReader {
 public:
  explicit UnitRecordReader(std::string text) : text_(std::move(text)) {}

  bool AtEnd() {
    SkipSpace();
    return pos_ >= text_.size();
  }
  std::optional<int> Code() {
    SkipSpace();
    size_t p = pos_;
    bool negative = false;
    if (p < text_.size() && (text_[p] == '-' || text_[p] == '+')) negative = text_[p++] == '-';
    const size_t digits = p;
    long long value = 0;
    while (p < text_.size() && std::isdigit(static_cast<unsigned char>(text_[p])) && value < 1000000000)
      value = value * 10 + (text_[p++] - '0');
    if (p == digits) return std::nullopt;
    pos_ = p;
    return static_cast<int>(negative ? -value : value);
  }
  std::optional<char> Item() {
    SkipSpace();
    if (pos_ >= text_.size()) return std::nullopt;
    return text_[pos_++];
  }
  // The names of the record, or nothing when the file ends first.
  std::optional<std::vector<std::string>> Names() {
    std::vector<std::string> names;
    std::string name;
    for (;;) {
      const std::optional<char> c = Item();
      if (!c) return std::nullopt;
      if (*c != ',' && *c != '.') {
        name += *c;
        continue;
      }
      names.push_back(name);
      name.clear();
      if (*c == '.') return names;
    }
  }
  size_t Line() const {
    size_t line = 1;
    for (size_t i = 0; i < pos_ && i < text_.size(); ++i) line += text_[i] == '\n';
    return line;
  }

 private:
  void SkipSpace() {
    while (pos_ < text_.size() && IsSpace(text_[pos_])) ++pos_;
  }
  std::string text_;
  size_t pos_ = 0;
};

}  // namespace

void CPreProcessor::ReadPOSList() {
  auto words = ReadWords(GetConfigValue("POSs"), "Exception: couldnot open file: dataenglishPosListFile.txt");
  if (!words) return;
  posList_.insert(posList_.end(), words->begin(), words->end());
}

void CPreProcessor::ReadAbbreviations() {
  auto words =
      ReadWords(GetConfigValue("AbbreviationFile"), "Exception: couldnot open file: dataenglishAbbreviationFile.txt");
  if (!words) return;
  abbreviations_.insert(words->begin(), words->end());
}

// The first record of a code wins; codes of 0 or below are read and dropped.
// A name that is not in the POS list is reported and left out.
void CPreProcessor::ReadUnitPOS() {
  const std::string path = GetConfigValue("UnitPosFile");
  const std::optional<std::string> text = ReadFileBytes(path);
  if (!text) {
    std::cout << "Exception: couldnot open file: dataenglishUnitPosFile.txt" << std::endl;
    return;
  }
  UnitRecordReader reader(*text);
  while (!reader.AtEnd()) {
    const std::optional<int> code = reader.Code();
    const std::optional<char> separator = code ? reader.Item() : std::nullopt;
    const auto names = separator ? reader.Names() : std::nullopt;
    if (!names) {
      std::cout << "UnitPosFile: the record at line " << reader.Line() << " of \"" << path
                << "\" is malformed; the records after it are not loaded." << std::endl;
      return;
    }
    std::vector<uint32_t> readings;
    for (const std::string& name : *names) {
      const int index = GetPOSIndex(NarrowToWide(name));
      if (index > 0) {
        readings.push_back(static_cast<uint32_t>(index));
        continue;
      }
      std::cout << "UnitPosFile: \"" << name << "\" of code " << *code << " is not a part of speech; it is left out."
                << std::endl;
    }
    if (*code > 0) unitReadings_.emplace(*code, std::move(readings));
  }
}
