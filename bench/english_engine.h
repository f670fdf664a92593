// The English analysis engine over a data root, set up as the translator sets
// it up: grammar and lexicon compiled (or loaded from their dumps), the
// tokeniser, the CFG parser; files written at start-up go to a folder of
// their own. Shared by the benchmark and the coverage tool.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "analysis/cfg/cfg_parser.h"
#include "analysis/tokeniser/pre_processor.h"
#include "analysis/tokeniser/sentence_split.h"
#include "constraints/p_fs_compiler.h"
#include "constraints/p_symbol_table.h"
#include "core/config_store.h"
#include "core/fs_handle.h"
#include "core/fs_node.h"
#include "core/parse_result.h"
#include "core/sentence_state.h"
#include "core/symbol_table.h"
#include "platform/utf8.h"
#include "resources/english/e_lexicon.h"
#include "resources/english/p_grammar.h"

namespace english_bench {

// The folder for dumps and listings, under the system's temporary folder.
inline std::string WorkFile(const std::string& folderName, const std::string& name) {
  const auto folder = std::filesystem::temp_directory_path() / folderName;
  std::filesystem::create_directories(folder);
  return (folder / name).string();
}

struct EnginePaths {
  std::string english;    // .../data/english/
  std::string tokeniser;  // .../data/tokeniser/
  std::string workFolder;
};

inline void Configure(const EnginePaths& paths, bool compile) {
  ClearConfiguration();
  const std::string& e = paths.english;
  const std::string& t = paths.tokeniser;
  auto work = [&](const char* name) { return WorkFile(paths.workFolder, name); };
  const std::vector<std::pair<std::string, std::string>> keys = {
      {"CompileP_Grammar", compile ? "yes" : "no"},
      {"POSs", e + "POSs.txt"},
      {"SubCats", e + "SubCats.txt"},
      {"FSAttrTypeFile", e + "FSAttrTypes.txt"},
      {"SubCatFrameListFileName", e + "GovernableFunctions.txt"},
      {"Dummy", e + "Dummy.txt"},
      {"BigramProbabilityTable", e + "BigramTable.txt"},
      {"Time", e + "Time.txt"},
      {"TransitionTable", t + "TransitionTable.txt"},
      {"UnitPosFile", t + "UnitPosFile.txt"},
      {"AbbreviationFile", t + "AbbreviationFile.txt"},
      {"ncfgFileName", work("EGrammar.ncfg")},
      {"DumpedEgrammar", work("DumpedEgrammar")},
      {"DumpedEgrammarSymbols", work("DumpedEgrammarSymbols")},
      {"ELexiconDumpFileName", work("ELexicon.dmp")},
      {"DummyDump", work("Dummy.dmp")},
      {"P_FSInitializerDump", work("P_FSInitializer.dmp")},
      {"SymbolTableDumpFile", work("SymbolTable.dmp")},
  };
  for (const auto& [key, value] : keys) SetConfigValue(key, value);
}

// The English engine as the application sets it up.
struct Engine {
  std::unique_ptr<P_Grammar> grammar;
  std::unique_ptr<CELexicon> lexicon;
  std::unique_ptr<CPreProcessor> pre;
  std::unique_ptr<CCfgParser> parser;

  Engine(const EnginePaths& paths, bool compile) {
    Configure(paths, compile);
    ClearSymbolTable();
    RegisterReservedSymbols();
    P_FSCompiler::Init();
    if (!compile) {
      P_FSCompiler::ReadDump();
      P_SymbolTable::ReadDump();
    }
    grammar = std::make_unique<P_Grammar>(paths.english + "EGrammarRules.txt", paths.english + "EGrammarMacros.txt",
                                          WorkFile(paths.workFolder, "EGrammar.lfg"),
                                          WorkFile(paths.workFolder, "EGrammar.cfg"), 1);
    lexicon = std::make_unique<CELexicon>(paths.english + "ELexicon.txt", grammar.get());
    pre = std::make_unique<CPreProcessor>(lexicon.get());
    if (compile) {
      P_FSCompiler::WriteDump();
      P_SymbolTable::WriteDump();
    }
    P_FSCompiler::MarkInitialItems();
    parser = std::make_unique<CCfgParser>(lexicon.get(), grammar.get(), pre.get());
  }
  bool Failed() const { return grammar->HasFailed() || lexicon->HasFailed(); }
};

// The pipeline strips a trailing run of sentence marks before tokenising.
inline std::string StripTrailingMarks(std::string text) {
  while (!text.empty() && std::string(".:;!|").find(text.back()) != std::string::npos) text.pop_back();
  return text;
}

// The translator's reset after a sentence.
inline void ResetAfterSentence() { ResetSentenceState(); }

// What one sentence gave: whether it has an analysis, its words, and the
// result for the caller to look at before the reset (null without one).
struct Analysis {
  bool analysed = false;
  std::vector<WString> words;
  std::unique_ptr<CParseResult> result;
};

// Parses the first sentence of the text. `inspect` sees the analysis before
// the per-sentence structures are freed.
template <typename Inspect>
bool Analyse(Engine& engine, const std::string& text, Inspect&& inspect) {
  engine.pre->SetSentence(FromUtf8(StripTrailingMarks(text)));
  CSentenceReadings readings;
  CSentenceTokens tokens;
  engine.parser->PreprocessSentence(readings, tokens);
  Analysis analysis;
  for (const CToken* token : tokens) analysis.words.push_back(token->Text);
  if (engine.parser->ParseTokens(readings, tokens)) {
    analysis.result.reset(engine.parser->GetParseResult());
    analysis.analysed = analysis.result != nullptr;
  }
  inspect(analysis, tokens);
  analysis.result.reset();
  for (CToken* token : tokens) delete token;
  ResetAfterSentence();
  return analysis.analysed;
}

// Every sentence of a line in turn, cut as the translator cuts a typed text
// ("Wait a little. He hasn't arrived yet."): true when each has an analysis.
template <typename Inspect>
bool AnalyseLine(Engine& engine, const std::string& text, Inspect&& inspect) {
  const CPreProcessor& tokeniser = *engine.pre;
  const std::vector<WString> sentences =
      SplitTypedSentences(FromUtf8(text), [&tokeniser](const WString& word) { return tokeniser.IsAbbreviation(word); });
  bool all = !sentences.empty();
  for (const WString& sentence : sentences) all = Analyse(engine, ToUtf8(sentence), inspect) && all;
  return all;
}

inline bool Analyse(Engine& engine, const std::string& text) {
  return Analyse(engine, text, [](const Analysis&, const CSentenceTokens&) {});
}

}  // namespace english_bench
