// The CFG parser built from data files: grammar, lexicon, tagger and,
// optionally, tokeniser tables; everything written at run time goes to a
// temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/cfg/cfg_parser.h"
#include "analysis/tokeniser/pre_processor.h"
#include "constraints/p_fs_compiler.h"
#include "constraints/p_fstructure.h"
#include "core/config_store.h"
#include "core/fs_handle.h"
#include "core/fs_node.h"
#include "core/process_policy.h"
#include "core/sentence_memory.h"
#include "core/sentence_state.h"
#include "core/symbol_table.h"
#include "platform/clock.h"
#include "platform/heap_meter.h"
#include "platform/message_box.h"
#include "platform/utf8.h"
#include "resources/english/e_lexicon.h"
#include "resources/english/p_grammar.h"
#include "support/test_support.h"

namespace cfg_test {

inline std::string SourceDir() {
  const char* root = std::getenv("LFG_SOURCE_DIR");
  return root != nullptr ? root : "";
}

class CfgEngine : public ::testing::Test {
 protected:
  // The files in `folder`: parts of speech, frames, attribute types,
  // governable functions, dummy entries, bigrams, time limit, rules, macros
  // and lexicon; `tokeniser` names the folder of the tokeniser tables.
  void Build(const std::string& folder, const std::vector<std::string>& files, const std::string& tokeniser = "") {
    ClearConfiguration();
    ClearSymbolTable();
    RegisterReservedSymbols();
    const char* keys[] = {
        "POSs", "SubCats", "FSAttrTypeFile", "SubCatFrameListFileName", "Dummy", "BigramProbabilityTable", "Time"};
    for (size_t i = 0; i < 7; ++i) SetConfigValue(keys[i], folder + files[i]);
    for (const char* key : {"ncfgFileName", "DumpedEgrammar", "DumpedEgrammarSymbols", "ELexiconDumpFileName",
                            "DummyDump", "P_FSInitializerDump", "SymbolTableDumpFile", "CompileP_Grammar"}) {
      SetConfigValue(key, key == std::string("CompileP_Grammar") ? "yes" : dir_.File(key));
    }
    for (const char* key : {"TransitionTable", "UnitPosFile", "AbbreviationFile"}) {
      if (!tokeniser.empty()) SetConfigValue(key, tokeniser + key + ".txt");
    }
    P_FSCompiler::Init();
    grammar_ =
        std::make_unique<P_Grammar>(folder + files[7], folder + files[8], dir_.File("g.lfg"), dir_.File("g.cfg"), 1);
    lexicon_ = std::make_unique<CELexicon>(folder + files[9], grammar_.get());
    if (!tokeniser.empty()) pre_ = std::make_unique<CPreProcessor>(lexicon_.get());
    P_FSCompiler::MarkInitialItems();
    ApplySentencePolicy();
    parser_ = std::make_unique<CCfgParser>(lexicon_.get(), grammar_.get(), pre_.get());
    ASSERT_FALSE(grammar_->HasFailed()) << grammar_->FailureText();
    ASSERT_FALSE(lexicon_->HasFailed()) << lexicon_->FailureText();
  }

  // Writes the UTF-8 files of the data folder into the temporary folder as
  // UTF-16, as the rules, macros and lexicon readers want them.
  void CopyAsUtf16(const std::string& data, std::initializer_list<const char*> names) {
    for (const char* name : names) {
      std::ifstream in(data + name, std::ios::binary);
      WriteUtf16File(dir_.File(name), FromUtf8(std::string(std::istreambuf_iterator<char>(in), {})));
    }
  }
  // A toy engine: the 8-bit tables of the data folder, the UTF-16 files of
  // the temporary folder, and no bigram table.
  void BuildToyEngine(const std::string& data) {
    Build("", {data + "POSs.txt", data + "SubCats.txt", data + "FSAttrTypes.txt", dir_.File("GovernableFunctions.txt"),
               dir_.File("dummy.txt"), dir_.File("none"), data + "Time.txt", dir_.File("rules.txt"),
               dir_.File("macros.txt"), dir_.File("lexicon.txt")});
  }
  // One token per word of the text, each looked up as the parser does.
  void LookUpWords(const std::string& text) {
    readings_.clear();
    tokens_.clear();
    wordTokens_.clear();
    std::istringstream words(text);
    for (std::string word; words >> word;) {
      wordTokens_.push_back(std::make_unique<CToken>());
      wordTokens_.back()->Text = FromUtf8(word);
      tokens_.push_back(wordTokens_.back().get());
      readings_.push_back(parser_->LookUpWord(wordTokens_.back()->Text));
    }
  }

  // What the pipeline does after every sentence.
  void ResetSentence() { ResetSentenceState(); }

  void TearDown() override {
    // Sentences ran under the engine's policy; the tests after this one
    // expect every message again.
    RestoreDefaultProcessPolicy();
    SetClockSourceForTesting({});
    SetHeapMeterForTesting({});
    ResetSentence();
    FreeAllEarleyItems();
    FreeAllChartColumns();
    ClearConfiguration();
  }

  TempDir dir_;
  MessageRecorder messages_;
  std::unique_ptr<P_Grammar> grammar_;
  std::unique_ptr<CELexicon> lexicon_;
  std::unique_ptr<CPreProcessor> pre_;
  std::unique_ptr<CCfgParser> parser_;
  CSentenceReadings readings_;
  CSentenceTokens tokens_;
  std::vector<std::unique_ptr<CToken>> wordTokens_;  // LookUpWords' tokens
};

// Over the shipped English data; sentences go through the tokeniser.
class ShippedCfgEngine : public CfgEngine {
 protected:
  void SetUp() override {
    ASSERT_FALSE(SourceDir().empty()) << "LFG_SOURCE_DIR is not set";
    Build(SourceDir() + "/dataroot/data/english/",
          {"POSs.txt", "SubCats.txt", "FSAttrTypes.txt", "GovernableFunctions.txt", "Dummy.txt", "BigramTable.txt",
           "Time.txt", "EGrammarRules.txt", "EGrammarMacros.txt", "ELexicon.txt"},
          SourceDir() + "/dataroot/data/tokeniser/");
  }

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
};

}  // namespace cfg_test
