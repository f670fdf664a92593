// The CFG parser over the shipped English data: grammar, lexicon, tokeniser
// and tagger tables from dataroot/, everything written at run time in a
// temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "analysis/cfg_parser.h"
#include "analysis/pre_processor.h"
#include "constraints/p_fs_compiler.h"
#include "constraints/p_fstructure.h"
#include "core/config_store.h"
#include "core/fs_handle.h"
#include "core/fs_node.h"
#include "core/symbol_table.h"
#include "platform/utf8.h"
#include "resources/e_lexicon.h"
#include "resources/p_grammar.h"
#include "support/test_support.h"

namespace cfg_test {

inline std::string SourceDir() {
  const char* root = std::getenv("LFG_SOURCE_DIR");
  return root != nullptr ? root : "";
}

class ShippedCfgEngine : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(SourceDir().empty()) << "LFG_SOURCE_DIR is not set";
    const std::string english = SourceDir() + "/dataroot/data/english/";
    const std::string tokeniser = SourceDir() + "/dataroot/data/tokeniser/";
    ClearConfiguration();
    ClearSymbolTable();
    RegisterReservedSymbols();
    const std::vector<std::pair<std::string, std::string>> keys = {
        {"CompileP_Grammar", "yes"},
        {"POSs", english + "POSs.txt"},
        {"SubCats", english + "SubCats.txt"},
        {"FSAttrTypeFile", english + "FSAttrTypes.txt"},
        {"SubCatFrameListFileName", english + "GovernableFunctions.txt"},
        {"Dummy", english + "Dummy.txt"},
        {"BigramProbabilityTable", english + "BigramTable.txt"},
        {"Time", english + "Time.txt"},
        {"TransitionTable", tokeniser + "TransitionTable.txt"},
        {"UnitPosFile", tokeniser + "UnitPosFile.txt"},
        {"AbbreviationFile", tokeniser + "AbbreviationFile.txt"},
        {"ncfgFileName", dir_.File("EGrammar.ncfg")},
        {"DumpedEgrammar", dir_.File("DumpedEgrammar")},
        {"DumpedEgrammarSymbols", dir_.File("DumpedEgrammarSymbols")},
        {"ELexiconDumpFileName", dir_.File("ELexicon.dmp")},
        {"DummyDump", dir_.File("Dummy.dmp")},
        {"P_FSInitializerDump", dir_.File("P_FSInitializer.dmp")},
        {"SymbolTableDumpFile", dir_.File("SymbolTable.dmp")},
    };
    for (const auto& [key, value] : keys) SetConfigValue(key, value);
    P_FSCompiler::Init();
    grammar_ = std::make_unique<P_Grammar>(english + "EGrammarRules.txt", english + "EGrammarMacros.txt",
                                           dir_.File("EGrammar.lfg"), dir_.File("EGrammar.cfg"), 1);
    lexicon_ = std::make_unique<CELexicon>(english + "ELexicon.txt", grammar_.get());
    pre_ = std::make_unique<CPreProcessor>(lexicon_.get());
    P_FSCompiler::MarkInitialItems();
    parser_ = std::make_unique<CCfgParser>(lexicon_.get(), grammar_.get(), pre_.get());
    ASSERT_FALSE(grammar_->HasFailed()) << grammar_->FailureText();
    ASSERT_FALSE(lexicon_->HasFailed()) << lexicon_->FailureText();
  }

  void TearDown() override {
    ResetSentence();
    FreeAllEarleyItems();
    FreeAllChartColumns();
    ClearConfiguration();
  }

  // What the pipeline does after every sentence.
  void ResetSentence() {
    P_FSCompiler::ResetForSentence();
    CFSNode::DeleteAll();
    CFSHandle::DeleteAll();
  }

  // Tokenises and parses one sentence; the tokens are kept for the test.
  bool Parse(const std::string& sentence) {
    pre_->SetSentence(FromUtf8(sentence));
    readings_.clear();
    for (CToken* token : tokens_) delete token;
    tokens_.clear();
    parser_->PreprocessSentence(readings_, tokens_);
    return parser_->ParseTokens(readings_, tokens_);
  }

  ~ShippedCfgEngine() override {
    for (CToken* token : tokens_) delete token;
  }

  TempDir dir_;
  MessageRecorder messages_;
  std::unique_ptr<P_Grammar> grammar_;
  std::unique_ptr<CELexicon> lexicon_;
  std::unique_ptr<CPreProcessor> pre_;
  std::unique_ptr<CCfgParser> parser_;
  CSentenceReadings readings_;
  CSentenceTokens tokens_;
};

}  // namespace cfg_test
