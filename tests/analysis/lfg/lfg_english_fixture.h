// The LFG chart parser over the small English grammar and lexicon of
// tests/data/lfg, written as UTF-16 files into a temporary folder.
#pragma once

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/analysis_test_support.h"
#include "analysis/lfg/chart_column.h"
#include "analysis/lfg/lfg_parser.h"
#include "core/parse_result.h"
#include "resources/lfg/grammar.h"
#include "resources/lfg/lexicon.h"

namespace lfg_test {

// A file of tests/data/lfg with CR LF line ends.
inline std::u16string ReadDataFile(const std::string& name) {
  const char* root = std::getenv("LFG_SOURCE_DIR");
  std::ifstream in(std::string(root != nullptr ? root : ".") + "/tests/data/lfg/" + name);
  std::u16string text;
  for (char c; in.get(c);) text += c == '\n' ? u"\r\n" : std::u16string(1, static_cast<unsigned char>(c));
  return text;
}

class LfgEnglishGrammarTest : public LfgTest {
 protected:
  void SetUp() override {
    LfgTest::SetUp();
    WriteUtf16File(dir_.File("lexicon.txt"), ReadDataFile("english.lexicon"));
    WriteUtf16File(dir_.File("governable.txt"), ReadDataFile("governable_functions.txt"));
    lexicon_ = std::make_unique<CLexicon>("E");
    lexicon_->ParseRawLexicon(dir_.File("lexicon.txt"));
    UseGrammar(ReadDataFile("english.rules"), ReadDataFile("english.macros"));
  }
  void TearDown() override {
    for (CParseResult* result : results_) delete result;
    parser_.reset();
    grammar_.reset();
    LfgTest::TearDown();
  }
  void UseGrammar(const std::u16string& rules, const std::u16string& macros) {
    WriteUtf16File(dir_.File("rules.txt"), rules);
    WriteUtf16File(dir_.File("macros.txt"), macros);
    parser_.reset();
    grammar_ = std::make_unique<CGrammar>(dir_.File("rules.txt"), dir_.File("macros.txt"), dir_.File("rules.lfg"),
                                          dir_.File("rules.cfg"), lexicon_.get(), false, false);
    parser_ = std::make_unique<CLFGParser>(grammar_.get(), dir_.File("governable.txt"));
  }
  // The entry lists of the words; the lists live until the test ends.
  std::vector<ChartWord> Words(const std::string& sentence) {
    std::vector<ChartWord> words;
    std::istringstream in(sentence);
    for (std::string word; in >> word;) {
      lookups_.push_back(lexicon_->LookupWord(FromUtf8(word)));
      words.push_back(lookups_.back().get());
    }
    return words;
  }
  bool Parse(const std::string& sentence, bool checkCompleteness = true) {
    for (CParseResult* result : results_) delete result;
    results_.clear();
    return parser_->Parse(Words(sentence), results_, checkCompleteness);
  }

  TempDir dir_;
  std::unique_ptr<CLexicon> lexicon_;
  std::unique_ptr<CGrammar> grammar_;
  std::unique_ptr<CLFGParser> parser_;
  std::vector<std::unique_ptr<LexicalEntryList>> lookups_;
  ParseResultList results_;
};

}  // namespace lfg_test
