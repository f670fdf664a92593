// The three binary word-sense files and the disambiguation over them.
#include <memory>

#include "core/config_store.h"
#include "core/parse_result.h"
#include "fuzz/file_replacement.h"
#include "fuzz/fuzz_support.h"
#include "transfer/mapping/word_sense_disambiguator.h"

namespace {
fuzz::FileReplacement files({"WSDWordListFile", "WSDSenseInfoFile", "WSDCollInfoFile"});
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::EnterDataRootCopy();
  files.Capture(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (files.Replace(data, size) < 0) return 0;
  CWordSenseDisambiguator wsd;
  if (!wsd.ReadConfiguration()) return 0;
  CNamedIdList tokens;
  for (const char16_t* word : {u"He", u"plays", u"the", u"guitar", u"in", u"the", u"bank"}) {
    tokens.Items.push_back(new CNamedId(word, 5));
  }
  std::vector<std::unique_ptr<CSenseCandidate>> owned;
  std::vector<CSenseCandidate*> candidates;
  for (uint32_t sense : {1u, 2u, 3u}) {
    owned.push_back(std::make_unique<CSenseCandidate>(sense, nullptr));
    candidates.push_back(owned.back().get());
  }
  for (int position : {1, 6, -1, 40}) wsd.Disambiguate(u"play", candidates, tokens, position);
  wsd.Disambiguate(u"bank", candidates, tokens, 6);
  return 0;
}
