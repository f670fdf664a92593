// The tokeniser's transition table file.
#include "analysis/tokeniser/transition_table.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::EnterDataRootCopy();
  fuzz::AddSeedInputs(argc, argv, {fuzz::ShippedDataRoot() + "/data/tokeniser/TransitionTable.txt"});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CTransitionTable table;
  if (!table.LoadFile(fuzz::WriteInput("table.txt", data, size))) return 0;
  for (uint16_t state = 0; state < 40; ++state) {
    for (char16_t c : {u'1', u'a', u' ', u'$', u'^', u':'}) table.NextTransitions(state, c);
  }
  return 0;
}
