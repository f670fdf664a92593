// A typed sentence through the whole road with the shipped data root, set up
// once as the program sets it up: tokeniser, segmenter, tagger, CFG parser,
// constraint solver, mapper, word and sentence generator.
#include <cstdlib>
#include <string>

#include "fuzz/english_engine.h"
#include "fuzz/fuzz_support.h"
#include "platform/utf8.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::EnterEngineRoot();
  // A second per sentence instead of five: more inputs per minute, and the
  // limit is what a slow input has to meet in every phase.
  fuzz::WriteInput("data\\english\\Time.txt", reinterpret_cast<const uint8_t*>("1000\r\n"), 6);
  if (!fuzz::Translator().InitializeEngine()) std::abort();
  std::vector<std::string> seeds = fuzz::DevSentences(200);
  seeds.insert(seeds.end(),
               {"I gave him a book", "The boy reads a book", "The farmer bought 25 cows",
                "The boy's mother gave the girl a book", "What did you eat?", "He came at 10:30 pm, etc. She left"});
  fuzz::AddSeedInputs(argc, argv, fuzz::WriteSeeds("translation", seeds));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Translator().OnTranslate(FromUtf8(std::string(reinterpret_cast<const char*>(data), size)));
  return 0;
}
