// A typed sentence down the translator's road as far as the English analysis,
// with the shipped data: tokeniser, segmenter, tagger, CFG parser and
// constraint solver.
#include <cstdlib>
#include <string>

#include "fuzz/english_engine.h"
#include "fuzz/fuzz_support.h"
#include "platform/utf8.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::EnterEngineRoot();
  if (!fuzz::StartAnalysisEngine()) std::abort();
  std::vector<std::string> seeds = fuzz::DevSentences(200);
  seeds.insert(seeds.end(), {"I gave him a book", "The boy's mother gave the girl 25 books on 12 October 2005.",
                             "He came at 10:30 pm, etc. She left"});
  fuzz::AddSeedInputs(argc, argv, fuzz::WriteSeeds("sentence", seeds));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Analyse(FromUtf8(std::string(reinterpret_cast<const char*>(data), size)));
  return 0;
}
