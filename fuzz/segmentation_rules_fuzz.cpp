// The segmentation rule file, loaded as the engine's segmenter and used to
// cut sentences on the translator's road.
#include <cstdlib>
#include <memory>

#include "analysis/segmentation/sentence_segmenter.h"
#include "analysis/tagger/pos_tagger.h"
#include "fuzz/english_engine.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::EnterEngineRoot();
  if (!fuzz::StartAnalysisEngine()) std::abort();
  // Every sentence is cut, whatever its length.
  fuzz::Translator().m_bSegmentSentence = true;
  fuzz::Translator().m_nMinSentLength = 0;
  fuzz::AddSeedInputs(argc, argv, {fuzz::ShippedDataRoot() + "/data/segmentation/SegmentRules.txt"});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Translator().m_pSegmenter =
      std::make_unique<CSentenceSegmenter>(fuzz::WriteInput("rules.txt", data, size), GetTagId);
  for (const char16_t* sentence : {u"I stayed at home because it rained, and he went to school so that he could learn",
                                   u"If you come, we will eat; he said that it was good"}) {
    fuzz::Analyse(sentence);
  }
  return 0;
}
