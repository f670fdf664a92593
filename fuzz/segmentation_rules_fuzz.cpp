// The segmentation rule file, loaded and used to cut tagged sentences.
#include "analysis/tagger/pos_tagger.h"
#include "core/config_store.h"
#include "fuzz/english_engine.h"
#include "fuzz/fuzz_support.h"

namespace {
fuzz::EnglishEngine engine;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::EnterDataRootCopy();
  engine.Build(true);
  fuzz::AddSeedInputs(argc, argv, {fuzz::ShippedDataRoot() + "/data/segmentation/SegmentRules.txt"});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CSentenceSegmenter segmenter(fuzz::WriteInput("rules.txt", data, size), GetTagId);
  for (const char16_t* sentence : {u"I stayed at home because it rained, and he went to school so that he could learn",
                                   u"If you come, we will eat; he said that it was good"}) {
    engine.Analyse(sentence, &segmenter);
  }
  return 0;
}
