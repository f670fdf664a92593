// The constraint system's dumps: its item registry and its symbol table.
#include "fuzz/english_engine.h"

namespace {
fuzz::CompiledDumpFuzzer dumps({"P_FSInitializerDump", "SymbolTableDumpFile"});
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  dumps.Initialize(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  dumps.Run(data, size);
  return 0;
}
