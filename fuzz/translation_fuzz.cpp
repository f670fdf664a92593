// A typed sentence through the whole road with the shipped data root, set up
// once as the program sets it up: tokeniser, segmenter, tagger, CFG parser,
// constraint solver, mapper, word and sentence generator.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/engine/translator_dlg.h"
#include "fuzz/fuzz_support.h"
#include "platform/utf8.h"

namespace {
// Made once and never destroyed: the engine's tables are statics of their
// own, which may be gone before a static translator would release into them.
CTranslatorDlg& translator = *new CTranslatorDlg;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::EnterDataRootCopy();
  // A second per sentence instead of five: more inputs per minute, and the
  // limit is what a slow input has to meet in every phase.
  fuzz::WriteInput("data\\english\\Time.txt", reinterpret_cast<const uint8_t*>("1000\r\n"), 6);
  // The copy's data are now the target's own: without the manifest, set-up
  // checks none of them against the shipped files.
  std::remove("DataManifest.txt");
  if (!translator.InitializeEngine()) std::abort();
  std::vector<std::string> seeds = fuzz::DevSentences(200);
  seeds.insert(seeds.end(),
               {"I gave him a book", "The boy reads a book", "The farmer bought 25 cows",
                "The boy's mother gave the girl a book", "What did you eat?", "He came at 10:30 pm, etc. She left"});
  fuzz::AddSeedInputs(argc, argv, fuzz::WriteSeeds("translation", seeds));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  translator.OnTranslate(FromUtf8(std::string(reinterpret_cast<const char*>(data), size)));
  return 0;
}
