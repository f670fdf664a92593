// Throughput of the English analysis on the shipped data: the English side of
// the shared evaluation sentences (tatoeba-dev.tsv) tokenised, tagged,
// parsed, solved and turned into F-structure trees, one sentence after the
// other as the translation pipeline does; and the engine's start-up, once
// compiling the grammar and lexicon and once loading them from their dumps.
//
// Counters: sentences_per_s, analysed_share (sentences with an analysis /
// sentences), startup_ms.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "analysis/cfg/cfg_parser.h"
#include "analysis/tokeniser/pre_processor.h"
#include "constraints/p_fs_compiler.h"
#include "constraints/p_symbol_table.h"
#include "core/config_store.h"
#include "core/fs_handle.h"
#include "core/fs_node.h"
#include "core/symbol_table.h"
#include "platform/message_box.h"
#include "platform/utf8.h"
#include "resources/english/e_lexicon.h"
#include "resources/english/p_grammar.h"

namespace {

const std::string kEnglish = std::string(LFG_SOURCE_DIR) + "/dataroot/data/english/";
const std::string kTokeniser = std::string(LFG_SOURCE_DIR) + "/dataroot/data/tokeniser/";
const std::string kEvalFile = std::string(LFG_EVAL_DIR) + "/tatoeba-dev.tsv";

// Files written at start-up (dumps, listings) go to a folder of their own.
std::string WorkFile(const std::string& name) {
  static const std::filesystem::path folder = [] {
    auto path = std::filesystem::temp_directory_path() / "lfg_cfg_bench";
    std::filesystem::create_directories(path);
    return path;
  }();
  return (folder / name).string();
}

void Configure(bool compile) {
  ClearConfiguration();
  const std::vector<std::pair<std::string, std::string>> keys = {
      {"CompileP_Grammar", compile ? "yes" : "no"},
      {"POSs", kEnglish + "POSs.txt"},
      {"SubCats", kEnglish + "SubCats.txt"},
      {"FSAttrTypeFile", kEnglish + "FSAttrTypes.txt"},
      {"SubCatFrameListFileName", kEnglish + "GovernableFunctions.txt"},
      {"Dummy", kEnglish + "Dummy.txt"},
      {"BigramProbabilityTable", kEnglish + "BigramTable.txt"},
      {"Time", kEnglish + "Time.txt"},
      {"TransitionTable", kTokeniser + "TransitionTable.txt"},
      {"UnitPosFile", kTokeniser + "UnitPosFile.txt"},
      {"AbbreviationFile", kTokeniser + "AbbreviationFile.txt"},
      {"ncfgFileName", WorkFile("EGrammar.ncfg")},
      {"DumpedEgrammar", WorkFile("DumpedEgrammar")},
      {"DumpedEgrammarSymbols", WorkFile("DumpedEgrammarSymbols")},
      {"ELexiconDumpFileName", WorkFile("ELexicon.dmp")},
      {"DummyDump", WorkFile("Dummy.dmp")},
      {"P_FSInitializerDump", WorkFile("P_FSInitializer.dmp")},
      {"SymbolTableDumpFile", WorkFile("SymbolTable.dmp")},
  };
  for (const auto& [key, value] : keys) SetConfigValue(key, value);
}

// The English engine as the application sets it up.
struct Engine {
  std::unique_ptr<P_Grammar> grammar;
  std::unique_ptr<CELexicon> lexicon;
  std::unique_ptr<CPreProcessor> pre;
  std::unique_ptr<CCfgParser> parser;

  explicit Engine(bool compile) {
    Configure(compile);
    ClearSymbolTable();
    RegisterReservedSymbols();
    P_FSCompiler::Init();
    if (!compile) {
      P_FSCompiler::ReadDump();
      P_SymbolTable::ReadDump();
    }
    grammar = std::make_unique<P_Grammar>(kEnglish + "EGrammarRules.txt", kEnglish + "EGrammarMacros.txt",
                                          WorkFile("EGrammar.lfg"), WorkFile("EGrammar.cfg"), 1);
    lexicon = std::make_unique<CELexicon>(kEnglish + "ELexicon.txt", grammar.get());
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

// The English column of the file, header left out.
std::vector<std::string> ReadEnglishSentences() {
  std::vector<std::string> sentences;
  std::ifstream in(kEvalFile);
  std::string line;
  for (bool header = true; std::getline(in, line); header = false) {
    if (header) continue;
    const std::string english = line.substr(0, line.find('\t'));
    if (!english.empty()) sentences.push_back(english);
  }
  return sentences;
}

// The pipeline strips a trailing run of sentence marks before tokenising.
std::string StripTrailingMarks(std::string text) {
  while (!text.empty() && std::string(".:;!|").find(text.back()) != std::string::npos) text.pop_back();
  return text;
}

void ResetAfterSentence() {
  P_FSCompiler::ResetForSentence();
  CFSNode::DeleteAll();
  CFSHandle::DeleteAll();
}

// Parses the first sentence of the text; true when it has an analysis.
bool Analyse(Engine& engine, const std::string& text) {
  engine.pre->SetSentence(FromUtf8(StripTrailingMarks(text)));
  CSentenceReadings readings;
  CSentenceTokens tokens;
  engine.parser->PreprocessSentence(readings, tokens);
  bool analysed = false;
  if (engine.parser->ParseTokens(readings, tokens)) {
    std::unique_ptr<CParseResult> result(engine.parser->GetParseResult());
    analysed = result != nullptr;
  }
  for (CToken* token : tokens) delete token;
  ResetAfterSentence();
  return analysed;
}

// Message boxes (a sentence past the limits) are counted, not printed.
int g_messages = 0;

void BM_ParseTatoebaDev(benchmark::State& state) {
  const std::vector<std::string> sentences = ReadEnglishSentences();
  if (sentences.empty()) {
    state.SkipWithError(("no sentences: " + kEvalFile + " is missing").c_str());
    return;
  }
  SetMessageHandler([](const std::u16string&, const std::u16string&, unsigned) {
    ++g_messages;
    return 1;
  });
  Engine engine(true);
  if (engine.Failed()) {
    state.SkipWithError("the shipped grammar or lexicon failed to compile");
    return;
  }
  size_t analysed = 0;
  size_t parsed = 0;
  for (auto _ : state) {
    for (const std::string& sentence : sentences) {
      analysed += Analyse(engine, sentence) ? 1 : 0;
      ++parsed;
    }
  }
  state.counters["sentences_per_s"] = benchmark::Counter(static_cast<double>(parsed), benchmark::Counter::kIsRate);
  state.counters["analysed_share"] = static_cast<double>(analysed) / static_cast<double>(parsed);
  state.counters["sentences"] = static_cast<double>(sentences.size());
}
BENCHMARK(BM_ParseTatoebaDev)->Unit(benchmark::kMillisecond)->Iterations(3);

void StartUp(benchmark::State& state, bool compile) {
  if (!compile) Engine prepare(true);  // writes the dumps to load
  double milliseconds = 0.0;
  int64_t runs = 0;
  for (auto _ : state) {
    const auto begin = std::chrono::steady_clock::now();
    Engine engine(compile);
    milliseconds += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
    ++runs;
    if (engine.Failed()) {
      state.SkipWithError("the engine failed to start");
      break;
    }
  }
  state.counters["startup_ms"] = runs > 0 ? milliseconds / static_cast<double>(runs) : 0.0;
  // The engine started either way must analyse the window's first sentence.
  Engine engine(compile);
  if (!Analyse(engine, "I gave him a book")) state.SkipWithError("the started engine cannot parse");
}

void BM_StartUpCompiling(benchmark::State& state) { StartUp(state, true); }
void BM_StartUpFromDumps(benchmark::State& state) { StartUp(state, false); }
BENCHMARK(BM_StartUpCompiling)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_StartUpFromDumps)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
