#include "batch_test_support.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/utf8.h"

namespace app_test {
namespace {

std::string SourceFile(const std::string& relative) { return ReadSourceFile(relative); }

// LF line ends become CR LF, as the data files have them.
std::string WithCrLf(const std::string& text) {
  std::string converted;
  for (char c : text) {
    if (c == '\n') converted += '\r';
    converted += c;
  }
  return converted;
}

}  // namespace

void WriteTextFile(const std::string& path, const std::string& text) { WriteUtf16File(path, FromUtf8(text)); }

LfgDataRoot::LfgDataRoot() {
  std::filesystem::create_directories(path() / "data" / "lfg");
  for (const char* name : {"english.rules", "english.macros", "governable_functions.txt"}) {
    WriteTextFile(File(std::string("data/lfg/") + name), WithCrLf(SourceFile(std::string("tests/data/lfg/") + name)));
  }
  for (const char* name : {"english.lexicon", "SenList.txt"}) {
    WriteTextFile(File(std::string("data/lfg/") + name),
                  WithCrLf(SourceFile(std::string("tests/data/lfg_root/") + name)));
  }
  std::istringstream overrides(SourceFile("tests/data/lfg_root/EConfig.overrides"));
  for (std::string line; std::getline(overrides, line);) {
    const size_t equals = line.find('=');
    if (line.empty() || line[0] == '/' || equals == std::string::npos) continue;
    std::string value = line.substr(equals + 1);
    while (!value.empty() && (value.back() == ';' || value.back() == '\r')) value.pop_back();
    SetKey(line.substr(0, equals), value);
  }
}

bool IsWellFormedXml(const std::string& path) {
  const std::string command = "xmllint --noout '" + path + "' 2>/dev/null";
  return std::system(command.c_str()) == 0;
}

namespace {

bool AllDigits(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

bool ParseBatchRecord(const std::string& line, std::string& sentence, std::string& result) {
  const size_t tail = line.find("ms]\t\t");
  if (line.empty() || line[0] != '[' || tail == std::string::npos) return false;
  const size_t open = line.rfind("][", tail);
  if (open == std::string::npos || open == 0 || !AllDigits(line.substr(open + 2, tail - open - 2))) return false;
  sentence = line.substr(1, open - 1);
  result = line.substr(tail + 5);
  return true;
}

std::vector<std::pair<std::string, std::string>> BenchmarkRecords(const std::string& text, std::string& rest) {
  std::vector<std::pair<std::string, std::string>> records;
  size_t start = 0;
  while (start < text.size()) {
    const size_t parsed = text.find(",parsed.", start), notParsed = text.find(",not parsed.", start);
    const size_t end = std::min(parsed, notParsed);
    if (end == std::string::npos) break;
    const std::string outcome = end == parsed ? "parsed" : "not parsed";
    const size_t comma = text.rfind(',', end - 1);
    if (comma == std::string::npos || comma < start || !AllDigits(text.substr(comma + 1, end - comma - 1))) {
      rest += text.substr(start, end - start);
    } else {
      records.emplace_back(text.substr(start, comma - start), outcome);
    }
    start = end + outcome.size() + 2;
  }
  rest += text.substr(std::min(start, text.size()));
  return records;
}

std::vector<std::string> CrLfLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 2;
  }
  return lines;
}

}  // namespace app_test
