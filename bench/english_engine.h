// The English analysis for the benchmarks and the coverage tool: the
// translator's own engine, started for the analysis on a private copy of a
// data root, and its own road (cleaning, splitting into sentences,
// tokenising, segmenting, parsing and solving), which ends there.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app/engine/translator_dlg.h"
#include "bench/data_root_copy.h"
#include "core/parse_result.h"
#include "platform/utf8.h"

namespace english_bench {

class Engine {
 public:
  // Copies the data root (a folder with "EConfig.inf" and data/), enters the
  // copy and starts the engine there: compiling the grammar and lexicon, or
  // loading the files an earlier compiling start of this copy wrote.
  Engine(const std::string& dataRoot, const std::string& copyPrefix) : root_(dataRoot, copyPrefix) {
    std::filesystem::current_path(root_.path());
  }
  bool Start(bool compile) {
    root_.SetCompileKeys(compile);
    return translator_.InitializeEngine(EngineScope::kEnglishAnalysis);
  }
  CTranslatorDlg& translator() { return translator_; }
  const std::string& Failure() const { return translator_.SetUpFailure(); }

 private:
  DataRootCopy root_;
  CTranslatorDlg translator_;
};

// The line down the translator's road; true when it gave sentences and every
// segment of them got an analysis. inspect (when set) sees each analysis.
inline bool AnalyseLine(CTranslatorDlg& translator, const std::string& text,
                        const std::function<void(const CParseResult&)>& inspect = nullptr,
                        CTranslationResult* result = nullptr) {
  CTranslateOptions options;
  options.parsedAnalysis = inspect;
  CTranslationResult made = translator.OnTranslate(FromUtf8(text), options);
  bool all = made.translated && !made.segments.empty();
  for (const CSegmentOutcome& segment : made.segments) all = all && segment.parsed;
  if (result != nullptr) *result = std::move(made);
  return all;
}

}  // namespace english_bench
