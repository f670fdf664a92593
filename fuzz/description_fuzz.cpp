// The constraint system's description compiler: feature descriptions as the
// lexicons and the tokeniser write them.
#include <string>

#include "constraints/p_fs_compiler.h"
#include "core/sentence_state.h"
#include "core/symbol_table.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::EnterDataRootCopy();
  ClearSymbolTable();
  RegisterReservedSymbols();
  P_FSCompiler::Init();
  P_FSCompiler::MarkInitialItems();
  fuzz::AddSeedInputs(argc, argv,
                      fuzz::WriteSeeds("description", {
                                                          "^PRED='give<^SUBJ,^OBJ,^OBJ2>' ^TENSE=past",
                                                          "^NUM=sg ^PERS=3 [^CASE=nom|^CASE=acc]",
                                                          "~^NUM=pl && ^SPEC=a",
                                                          "^OBJ CASE=acc ^OBJ=! ^XCOMP SUBJ=^SUBJ",
                                                          "[^VFORM=inf,^VFORM=base] ^FORM =c can",
                                                          "!$^ADJUNCT ^NUMBER=12 ^NUMBER_TYPE=card",
                                                          "[2] [1,-2] [-1,-2] ~[^A=b|^C=d]",
                                                      }));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  int8_t choices = 0;
  P_FSCompiler::CompileDescription(std::string(reinterpret_cast<const char*>(data), size), choices);
  ResetSentenceState();
  return 0;
}
