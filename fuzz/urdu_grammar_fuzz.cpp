// The Urdu grammar's rule and macro files, compiled as the generator's
// grammar (with its generation index).
#include "core/config_store.h"
#include "core/production.h"
#include "core/sentence_state.h"
#include "fuzz/file_replacement.h"
#include "fuzz/fuzz_support.h"
#include "resources/lfg/grammar.h"

namespace {
fuzz::FileReplacement files({"UGrammarRulesFileName", "UGrammarMacrosFileName"});
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::EnterDataRootCopy();
  files.Capture(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (files.Replace(data, size) < 0) return 0;
  {
    CGrammar grammar(GetConfigValue("UGrammarRulesFileName"), GetConfigValue("UGrammarMacrosFileName"),
                     GetConfigValue("UlfgFileName"), GetConfigValue("UcfgFileName"), nullptr, false, true);
    ProductionList productions;
    grammar.GetProductions(grammar.GetCategoryId(u"S"), productions);
  }
  ResetSentenceState();
  return 0;
}
