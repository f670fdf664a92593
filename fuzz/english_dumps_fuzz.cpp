// The compiled English grammar and lexicon dumps, loaded at start-up.
#include "fuzz/english_engine.h"

namespace {
fuzz::CompiledDumpFuzzer dumps({"DumpedEgrammar", "DumpedEgrammarSymbols", "ELexiconDumpFileName", "DummyDump"});
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  dumps.Initialize(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  dumps.Run(data, size);
  return 0;
}
