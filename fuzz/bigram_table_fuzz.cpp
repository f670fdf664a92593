// The tagger's bigram count table.
#include "analysis/tagger/pos_tagger.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::EnterDataRootCopy();
  fuzz::AddSeedInputs(argc, argv, {fuzz::ShippedDataRoot() + "/data/english/BigramTable.txt"});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CPosTagger().LoadBigramTable(fuzz::WriteInput("bigrams.txt", data, size));
  for (int previous = -1; previous <= kBigramTagCount; ++previous) {
    for (int tag = -1; tag <= kBigramTagCount; ++tag) BigramLogProbability(previous, tag);
  }
  LoadTagList("bigrams.txt");
  GetTagId("noun");
  return 0;
}
