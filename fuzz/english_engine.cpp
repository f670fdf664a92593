#include "fuzz/english_engine.h"

#include "analysis/cfg/cfg_chart.h"
#include "analysis/tagger/pos_tagger.h"
#include "constraints/p_fs_compiler.h"
#include "core/config_store.h"
#include "core/fs_handle.h"
#include "core/fs_node.h"
#include "core/parse_result.h"
#include "core/sentence_state.h"
#include "core/symbol_table.h"
#include "fuzz/fuzz_support.h"

namespace fuzz {

bool EnglishEngine::Build(bool compile) {
  Release();
  SetConfigValue("CompileP_Grammar", compile ? "yes" : "no");
  ClearSymbolTable();
  RegisterReservedSymbols();
  P_FSCompiler::Init();
  grammar_ =
      std::make_unique<P_Grammar>(GetConfigValue("GrammarRulesFileName"), GetConfigValue("GrammarMacrosFileName"),
                                  GetConfigValue("lfgFileName"), GetConfigValue("cfgFileName"), 1);
  if (grammar_->HasFailed()) return false;
  lexicon_ = std::make_unique<CELexicon>(GetConfigValue("ELexiconFileName"), grammar_.get());
  if (lexicon_->HasFailed()) return false;
  pre_ = std::make_unique<CPreProcessor>(lexicon_.get());
  P_FSCompiler::MarkInitialItems();
  parser_ = std::make_unique<CCfgParser>(lexicon_.get(), grammar_.get(), pre_.get());
  LoadTagList(GetConfigValue("POSs"));
  segmenter_ = std::make_unique<CSentenceSegmenter>(GetConfigValue("SegmentRules"), GetTagId);
  return true;
}

void EnglishEngine::Release() {
  segmenter_.reset();
  parser_.reset();
  pre_.reset();
  lexicon_.reset();
  grammar_.reset();
  ResetSentence();
}

void EnglishEngine::ResetSentence() {
  ResetSentenceState();
  // Without a parser the chart's part of the reset is empty.
  FreeAllEarleyItems();
  FreeAllChartColumns();
}

void EnglishEngine::Analyse(const WString& sentence, CSentenceSegmenter* segmenter) {
  if (segmenter == nullptr) segmenter = segmenter_.get();
  if (!Built()) return;
  pre_->SetSentence(sentence);
  CSentenceReadings readings;
  CSentenceTokens tokens;
  parser_->PreprocessSentence(readings, tokens);
  // The segments hold no tokens of their own: the list made above frees them.
  CSentenceTokens remaining = tokens;
  for (CSentenceSegment* segment : segmenter->Segment(readings, remaining)) {
    if (parser_->ParseTokens(segment->readingLists, segment->tokens)) delete parser_->GetParseResult();
    ResetSentenceState();
  }
  segmenter->ClearSegments();
  for (CToken* token : tokens) delete token;
  ResetSentence();
}

}  // namespace fuzz

namespace fuzz {

void CompiledDumpFuzzer::Initialize(int* argc, char*** argv) {
  EnterDataRootCopy();
  engine_.Build(true);
  engine_.Release();
  dumps_.Capture(argc, argv);
}

void CompiledDumpFuzzer::Run(const uint8_t* data, size_t size) {
  if (dumps_.Replace(data, size) < 0) return;
  if (engine_.Build(false)) engine_.Analyse(u"I gave him a book");
  engine_.Release();
}

}  // namespace fuzz
