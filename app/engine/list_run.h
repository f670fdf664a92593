// The files and the outcome of a run over a sentence file: the sentence
// list translated into the result file, or the parser benchmarked.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

// Empty names take the defaults of the run: "SenList.txt" and
// "TranslatedSenList.txt" for the sentence list, the values of
// "SenList_FileName" and "BenchMarks_FileName" for the benchmark.
struct CListRunFiles {
  std::string sentences;
  std::string results;
};

enum class ListRunFailure {
  kNone,
  kEngines,  // the engines the run needs were not built
  kFile,     // a file could not be read or written
};

struct CListRunSummary {
  std::string sentenceFile;  // as opened
  std::string resultFile;
  size_t sentences = 0;
  size_t translated = 0;        // sentence list: Urdu; benchmark: parsed
  size_t translatedInPart = 0;  // sentence list: Urdu that leaves words out
  size_t parsedOnly = 0;        // sentence list: parsed, but no Urdu
  size_t notParsed = 0;
  ListRunFailure failure = ListRunFailure::kNone;
  std::string failureText;  // which engine or file

  bool AllTranslated() const { return failure == ListRunFailure::kNone && translated == sentences; }
};

// Told how far a run has got: once with done 0 when its sentences are read,
// then after every sentence. The command line's wait cursor.
using ListRunProgress = std::function<void(size_t done, size_t all)>;
