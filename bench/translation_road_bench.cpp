// Throughput of the whole translate road on the shipped data: the distinct
// English sentences of a TSV file (the first column; tatoeba-dev.tsv by
// default, any file as the first argument after the benchmark's own flags)
// through CTranslatorDlg::OnTranslate, one after the other on one thread:
// tokenising, segmentation, parsing and solving, the F-structure tree,
// mapping and generation. The engine runs on a temporary copy of the data
// root, so the trace log and the dumps it writes never touch the repository.
//
// Benchmarks and what they report:
//   BM_StartUpCompiling  start-up compiling grammars and lexicons (startup_ms)
//   BM_StartUpFromDumps  start-up loading the dumps the compile wrote
//   BM_StartUpShippedSecondRun  start-up with every Compile key "yes" after
//     a first start: it loads what that start compiled while its stamp
//     matches
//   BM_TranslateSentenceSet  words_per_s, sentences_per_s, each phase's share
//     of the time (share_*), translated_share, peak_rss_mb, the most one
//     sentence held in the sentence arena (arena_peak_mb); after the run the
//     slowest sentences are printed to standard error
//   BM_SentenceLength/N  one sentence of N words built from dev-set phrases
//     (a clause with prepositional phrases appended): its time, the peak
//     memory of a child process that translated it (peak_rss_mb; the child
//     starts as a copy of this process, so this includes the engine and what
//     the allocator kept of earlier sentences) and the most the sentence's
//     structures held in the sentence arena at once (growth_mb); the messages
//     it gave go to standard error
//
// Run pinned to one core: taskset -c 2 build/bench/translation_road_bench
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/engine/translator_dlg.h"
#include "bench/data_root_copy.h"
#include "core/sentence_arena.h"
#include "platform/utf8.h"

namespace fs = std::filesystem;

namespace {

using english_bench::DataRootCopy;

std::string g_sentenceFile = std::string(LFG_EVAL_DIR) + "/tatoeba-dev.tsv";

// The copy in use by every benchmark, the current folder while they run.
DataRootCopy& Root() {
  static DataRootCopy root(std::string(LFG_SOURCE_DIR) + "/dataroot", "lfg_road_bench_");
  return root;
}

void UseCompilingStart(bool compile) { Root().SetCompileKeys(compile); }

double PeakRssMegabytes(const rusage& usage) { return static_cast<double>(usage.ru_maxrss) / 1024.0; }

double PeakRssMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return PeakRssMegabytes(usage);
}

// The translator started from the copy's compiled files (compiled once
// first, so the dumps are there).
CTranslatorDlg& LoadedTranslator() {
  static CTranslatorDlg* translator = [] {
    fs::current_path(Root().path());
    {
      UseCompilingStart(true);
      CTranslatorDlg compiling;
      compiling.InitializeEngine();
    }
    UseCompilingStart(false);
    auto* loaded = new CTranslatorDlg;
    loaded->InitializeEngine();
    return loaded;
  }();
  return *translator;
}

// --- Start-up

enum class Start { kCompiling, kFromDumps, kShippedSecondRun };

void StartUp(benchmark::State& state, Start start) {
  fs::current_path(Root().path());
  if (start != Start::kCompiling) {
    UseCompilingStart(true);
    CTranslatorDlg writesDumps;
    writesDumps.InitializeEngine();
  }
  UseCompilingStart(start != Start::kFromDumps);
  double milliseconds = 0.0;
  int64_t runs = 0;
  for (auto _ : state) {
    // Without its stamp the root compiles at every start.
    if (start == Start::kCompiling) fs::remove(Root().path() / "data" / "CompiledRoot.stamp");
    CTranslatorDlg translator;
    const auto begin = std::chrono::steady_clock::now();
    const bool ready = translator.InitializeEngine();
    milliseconds += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
    ++runs;
    if (!ready) {
      state.SkipWithError(("the engine failed to start: " + translator.SetUpFailure()).c_str());
      break;
    }
  }
  state.counters["startup_ms"] = runs > 0 ? milliseconds / static_cast<double>(runs) : 0.0;
}

void BM_StartUpCompiling(benchmark::State& state) { StartUp(state, Start::kCompiling); }
void BM_StartUpFromDumps(benchmark::State& state) { StartUp(state, Start::kFromDumps); }
void BM_StartUpShippedSecondRun(benchmark::State& state) { StartUp(state, Start::kShippedSecondRun); }

// --- The sentence set

// The distinct English sentences of the file's first column, header left out.
std::vector<std::string> ReadSentences(const std::string& path) {
  std::vector<std::string> sentences;
  std::set<std::string> seen;
  std::ifstream in(path);
  std::string line;
  for (bool header = true; std::getline(in, line); header = false) {
    if (header && line.rfind("english\t", 0) == 0) continue;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string english = line.substr(0, line.find('\t'));
    if (!english.empty() && seen.insert(english).second) sentences.push_back(english);
  }
  return sentences;
}

size_t CountWords(const std::string& sentence) {
  std::istringstream words(sentence);
  size_t count = 0;
  for (std::string word; words >> word;) ++count;
  return count;
}

struct PhaseTotals {
  double chart = 0, tree = 0, map = 0, generate = 0, total = 0;
  void Add(const CTranslationResult& result) {
    total += static_cast<double>(result.totalMicroseconds);
    for (const CSegmentOutcome& segment : result.segments) {
      chart += static_cast<double>(segment.chartMicroseconds);
      tree += static_cast<double>(segment.treeMicroseconds);
      map += static_cast<double>(segment.mapMicroseconds);
      generate += static_cast<double>(segment.generateMicroseconds);
    }
  }
};

void BM_TranslateSentenceSet(benchmark::State& state) {
  const std::vector<std::string> sentences = ReadSentences(g_sentenceFile);
  if (sentences.empty()) {
    state.SkipWithError(("no sentences: " + g_sentenceFile + " is missing or empty").c_str());
    return;
  }
  CTranslatorDlg& translator = LoadedTranslator();
  if (!translator.IsReady()) {
    state.SkipWithError(("the engine failed to start: " + translator.SetUpFailure()).c_str());
    return;
  }
  std::vector<WString> texts;
  size_t wordsPerPass = 0;
  for (const std::string& sentence : sentences) {
    texts.push_back(FromUtf8(sentence));
    wordsPerPass += CountWords(sentence);
  }
  PhaseTotals phases;
  std::vector<double> slowest(sentences.size(), 0.0);  // per sentence, microseconds, the slowest pass
  size_t translated = 0;
  size_t passes = 0;
  SentenceArena().ResetHighWater();
  for (auto _ : state) {
    for (size_t i = 0; i < texts.size(); ++i) {
      const CTranslationResult result = translator.OnTranslate(texts[i]);
      phases.Add(result);
      slowest[i] = std::max(slowest[i], static_cast<double>(result.totalMicroseconds));
      translated += result.AllSegmentsTranslated() ? 1 : 0;
    }
    ++passes;
  }
  const double words = static_cast<double>(wordsPerPass * passes);
  state.counters["words_per_s"] = benchmark::Counter(words, benchmark::Counter::kIsRate);
  state.counters["sentences_per_s"] =
      benchmark::Counter(static_cast<double>(sentences.size() * passes), benchmark::Counter::kIsRate);
  state.counters["sentences"] = static_cast<double>(sentences.size());
  state.counters["words"] = static_cast<double>(wordsPerPass);
  state.counters["translated_share"] = static_cast<double>(translated) / static_cast<double>(sentences.size() * passes);
  if (phases.total > 0) {
    const double other = phases.total - phases.chart - phases.tree - phases.map - phases.generate;
    state.counters["share_tokenise_segment_other"] = other / phases.total;
    state.counters["share_parse_solve"] = phases.chart / phases.total;
    state.counters["share_fstructure_tree"] = phases.tree / phases.total;
    state.counters["share_map"] = phases.map / phases.total;
    state.counters["share_generate"] = phases.generate / phases.total;
  }
  state.counters["peak_rss_mb"] = PeakRssMegabytes();
  state.counters["arena_peak_mb"] = static_cast<double>(SentenceArena().HighWaterBytes()) / (1024.0 * 1024.0);

  std::vector<size_t> order(sentences.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return slowest[a] > slowest[b]; });
  std::cerr << "Slowest sentences (the slowest of " << passes << " passes):\n";
  for (size_t k = 0; k < std::min<size_t>(10, order.size()); ++k) {
    std::fprintf(stderr, "  %9.2f ms  %s\n", slowest[order[k]] / 1000.0, sentences[order[k]].c_str());
  }
}

// --- Growth with the sentence's length

// A clause of the dev set followed by prepositional phrases of the dev set
// (pairs of three and two words, so every length of 5 + 5k words ends on a
// whole phrase): every phrase can attach to the verb or to any noun before
// it, the worst case for the chart and the solver.
std::string SentenceOfLength(size_t words) {
  static const std::vector<std::string> kPhrases = {"in the garden",  "with Tom",     "on the table", "at home",
                                                    "near the house", "after school", "in the room",  "with Mary"};
  std::string sentence = "The boy reads a book";
  size_t count = 5;
  for (size_t i = 0; count < words; ++i) {
    std::istringstream phrase(kPhrases[i % kPhrases.size()]);
    for (std::string word; count < words && phrase >> word; ++count) sentence += " " + word;
  }
  return sentence;
}

void BM_SentenceLength(benchmark::State& state) {
  CTranslatorDlg& translator = LoadedTranslator();
  if (!translator.IsReady()) {
    state.SkipWithError("the engine failed to start");
    return;
  }
  const std::string sentence = SentenceOfLength(static_cast<size_t>(state.range(0)));
  const WString text = FromUtf8(sentence);
  bool translated = false;
  std::vector<CTranslationMessage> messages;
  size_t arenaPeak = 0;
  for (auto _ : state) {
    SentenceArena().ResetHighWater();
    CTranslationResult result = translator.OnTranslate(text);
    arenaPeak = std::max(arenaPeak, SentenceArena().HighWaterBytes());
    translated = result.AllSegmentsTranslated();
    messages = std::move(result.messages);
  }
  for (const CTranslationMessage& message : messages) {
    std::cerr << state.range(0) << " words: " << ToUtf8(message.text) << "\n";
  }
  // The memory of one translation of it, in a child that starts as a copy of
  // this process.
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    translator.OnTranslate(text);
    _exit(0);
  }
  int status = 0;
  rusage usage{};
  if (child > 0 && wait4(child, &status, 0, &usage) == child) {
    state.counters["peak_rss_mb"] = PeakRssMegabytes(usage);
  }
  state.counters["growth_mb"] = static_cast<double>(arenaPeak) / (1024.0 * 1024.0);
  state.counters["translated"] = translated ? 1 : 0;
  state.counters["messages"] = static_cast<double>(messages.size());
  state.SetLabel(sentence.size() > 60 ? sentence.substr(0, 57) + "..." : sentence);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (argc > 1) g_sentenceFile = argv[1];
  const fs::path started = fs::current_path();
  if (argc > 1) g_sentenceFile = fs::absolute(g_sentenceFile).string();
  benchmark::RegisterBenchmark("BM_StartUpCompiling", BM_StartUpCompiling)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(3);
  benchmark::RegisterBenchmark("BM_StartUpFromDumps", BM_StartUpFromDumps)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(10);
  benchmark::RegisterBenchmark("BM_StartUpShippedSecondRun", BM_StartUpShippedSecondRun)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(10);
  benchmark::RegisterBenchmark("BM_TranslateSentenceSet", BM_TranslateSentenceSet)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(3);
  benchmark::RegisterBenchmark("BM_SentenceLength", BM_SentenceLength)
      ->Arg(5)
      ->Arg(10)
      ->Arg(20)
      ->Arg(40)
      ->Arg(80)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(1);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  fs::current_path(started);
  return 0;
}
