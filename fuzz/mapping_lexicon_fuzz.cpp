// The mapping lexicon: its raw source with macros, compiled and dumped, and
// its dump read back.
#include <fstream>
#include <iterator>

#include "core/config_store.h"
#include "fuzz/file_replacement.h"
#include "fuzz/fuzz_support.h"
#include "transfer/mapping/map_lexicon.h"

namespace {
// The raw source and the dump of a test lexicon written in the work folder.
fuzz::FileReplacement files({"FuzzMapLexRaw", "FuzzMapLexDump"});
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::EnterDataRootCopy();
  SetConfigValue("FuzzMapLexRaw", "data\\mapping\\MapLexRaw.mlr");
  SetConfigValue("FuzzMapLexDump", "data\\mapping\\MapLex.dmp");
  SetConfigValue("MapLexDump", "data\\mapping\\MapLex.dmp");
  const std::string seed = std::string(LFG_SOURCE_DIR) + "/tests/data/mapping/MapLexRaw.mlr";
  SetConfigValue("CompileMapper", "yes");
  {
    CMapLexicon compiled(GetConfigValue("MappingLexiconMacrosFileName"), seed, "data\\mapping\\MapLexRaw.ext", nullptr,
                         1.0);
  }
  fuzz::WriteInput("data\\mapping\\MapLexRaw.mlr", nullptr, 0);
  files.Capture(argc, argv);
  std::ifstream in(seed, std::ios::binary);
  const std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  fuzz::AddSeedInputs(argc, argv, fuzz::WriteSeeds("raw", {std::string(1, '\0') + source}));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const int mode = files.Replace(data, size);
  if (mode < 0) return 0;
  SetConfigValue("CompileMapper", mode == 0 ? "yes" : "no");
  CMapLexicon lexicon(GetConfigValue("MappingLexiconMacrosFileName"), GetConfigValue("FuzzMapLexRaw"),
                      "data\\mapping\\MapLexRaw.ext", nullptr, 1.0);
  size_t headwords = 0, entries = 0;
  lexicon.CountEntries(headwords, entries);
  return 0;
}
