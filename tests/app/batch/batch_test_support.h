// Helpers of the developer-driver tests: sentence files, the data root of
// the LFG chart parser, and the check of an XML file by xmllint.
#pragma once

#include <string>
#include <vector>

#include "../app_test_support.h"

namespace app_test {

// Writes the UTF-8 text as a UTF-16LE file with the mark, unchanged
// otherwise (line ends as given).
void WriteTextFile(const std::string& path, const std::string& text);

// A copy of the shipped data root turned into the data root of the LFG
// chart parser: the grammar of tests/data/lfg, the lexicon of
// tests/data/lfg_root and the keys of tests/data/lfg_root/EConfig.overrides.
class LfgDataRoot : public DataRootCopy {
 public:
  LfgDataRoot();
};

// xmllint finds the file well formed.
bool IsWellFormedXml(const std::string& path);

// A record of the sentence list: "[" sentence "][" digits "ms]" two tabs
// and the result. False for any other line.
bool ParseBatchRecord(const std::string& line, std::string& sentence, std::string& result);

// The records of a benchmark file (sentence, "parsed" or "not parsed"); each
// is the sentence, ",", digits and ",parsed." or ",not parsed.". Text that is
// no record goes to rest.
std::vector<std::pair<std::string, std::string>> BenchmarkRecords(const std::string& text, std::string& rest);

// The lines of a text cut at CR LF; a last empty piece is dropped.
std::vector<std::string> CrLfLines(const std::string& text);

}  // namespace app_test
