// The English analysis built from the configuration of the work folder, as
// the program's set-up builds it: symbol tables, grammar, lexicon, tokeniser,
// CFG parser, tag list and segmenter.
#pragma once

#include <memory>
#include <string>

#include "analysis/cfg/cfg_parser.h"
#include "analysis/segmentation/sentence_segmenter.h"
#include "analysis/tokeniser/pre_processor.h"
#include "fuzz/file_replacement.h"
#include "resources/english/e_lexicon.h"
#include "resources/english/p_grammar.h"

namespace fuzz {

class EnglishEngine {
 public:
  // compile: compile grammar and lexicon (writing the dumps) or load them.
  // False when a part reports failure.
  bool Build(bool compile);
  void Release();
  // Tokenises, segments (with the given segmenter, or the engine's) and
  // parses the sentence, builds the result trees and frees everything the
  // sentence made.
  void Analyse(const WString& sentence, CSentenceSegmenter* segmenter = nullptr);
  bool Built() const { return parser_ != nullptr; }

 private:
  void ResetSentence();
  std::unique_ptr<P_Grammar> grammar_;
  std::unique_ptr<CELexicon> lexicon_;
  std::unique_ptr<CPreProcessor> pre_;
  std::unique_ptr<CCfgParser> parser_;
  std::unique_ptr<CSentenceSegmenter> segmenter_;
};

}  // namespace fuzz

namespace fuzz {

// The compiled dumps of the English analysis: the engine is compiled once
// (writing every dump); each input then replaces one of the given dumps, and
// the engine loads from the dumps and analyses a sentence.
class CompiledDumpFuzzer {
 public:
  explicit CompiledDumpFuzzer(std::vector<std::string> keys) : dumps_(std::move(keys)) {}
  void Initialize(int* argc, char*** argv);
  void Run(const uint8_t* data, size_t size);

 private:
  FileReplacement dumps_;
  EnglishEngine engine_;
};

}  // namespace fuzz
