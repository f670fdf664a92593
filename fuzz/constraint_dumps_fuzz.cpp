// The constraint system's dumps: its item registry and its symbol table.
#include "fuzz/english_engine.h"
#include "fuzz/file_replacement.h"
#include "fuzz/fuzz_support.h"

namespace {
fuzz::FileReplacement dumps({"P_FSInitializerDump", "SymbolTableDumpFile"});
fuzz::EnglishEngine engine;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::EnterDataRootCopy();
  engine.Build(true);
  engine.Release();
  dumps.Capture(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (dumps.Replace(data, size) < 0) return 0;
  if (engine.Build(false)) engine.Analyse(u"I gave him a book");
  engine.Release();
  return 0;
}
