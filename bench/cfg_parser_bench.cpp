// Throughput of the English analysis on the shipped data: the English side of
// the shared evaluation sentences (tatoeba-dev.tsv) down the translator's
// road as far as the analysis (tokenised, segmented, tagged, parsed, solved
// and turned into F-structure trees), one sentence after the other; and the
// analysis engine's start-up, once compiling the grammar and lexicon and once
// loading them from their dumps.
//
// Counters: sentences_per_s, analysed_share (sentences with an analysis /
// sentences), startup_ms.
#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <string>
#include <vector>

#include "bench/english_engine.h"
#include "platform/message_box.h"

namespace {

using english_bench::AnalyseLine;

const std::string kEvalFile = std::string(LFG_EVAL_DIR) + "/tatoeba-dev.tsv";

// The engine on its copy of the shipped data root, made once.
english_bench::Engine& Engine() {
  static english_bench::Engine engine(std::string(LFG_SOURCE_DIR) + "/dataroot", "lfg_cfg_bench_");
  return engine;
}

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
  if (!Engine().Start(true)) {
    state.SkipWithError(("the engine failed to start: " + Engine().Failure()).c_str());
    return;
  }
  size_t analysed = 0;
  size_t parsed = 0;
  for (auto _ : state) {
    for (const std::string& sentence : sentences) {
      analysed += AnalyseLine(Engine().translator(), sentence) ? 1 : 0;
      ++parsed;
    }
  }
  state.counters["sentences_per_s"] = benchmark::Counter(static_cast<double>(parsed), benchmark::Counter::kIsRate);
  state.counters["analysed_share"] = static_cast<double>(analysed) / static_cast<double>(parsed);
  state.counters["sentences"] = static_cast<double>(sentences.size());
}
BENCHMARK(BM_ParseTatoebaDev)->Unit(benchmark::kMillisecond)->Iterations(3);

void StartUp(benchmark::State& state, bool compile) {
  if (!compile) Engine().Start(true);  // writes the dumps to load
  double milliseconds = 0.0;
  int64_t runs = 0;
  for (auto _ : state) {
    const auto begin = std::chrono::steady_clock::now();
    const bool started = Engine().Start(compile);
    milliseconds += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
    ++runs;
    if (!started) {
      state.SkipWithError(("the engine failed to start: " + Engine().Failure()).c_str());
      return;
    }
  }
  state.counters["startup_ms"] = runs > 0 ? milliseconds / static_cast<double>(runs) : 0.0;
  // The engine started either way must analyse the window's first sentence.
  if (!AnalyseLine(Engine().translator(), "I gave him a book")) state.SkipWithError("the started engine cannot parse");
}

void BM_StartUpCompiling(benchmark::State& state) { StartUp(state, true); }
void BM_StartUpFromDumps(benchmark::State& state) { StartUp(state, false); }
BENCHMARK(BM_StartUpCompiling)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_StartUpFromDumps)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
