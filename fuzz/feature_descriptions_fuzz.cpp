// The feature-description file ("FDescriptions"): its items registered as
// global symbols, on a fresh symbol table each time.
#include "app/loaders/feature_descriptions.h"
#include "core/config_store.h"
#include "core/symbol_table.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::EnterDataRootCopy();
  fuzz::AddSeedInputs(argc, argv, {fuzz::ShippedDataRoot() + "/data/FDescriptions.txt"});
  fuzz::AddSeedInputs(
      argc, argv,
      fuzz::WriteSeeds(
          "descriptions",
          {
              fuzz::Utf16FileBytes(u"NUM. PERS.\r\n/ a comment\r\nGEND @skipped@ .\r\n..\r\nbroken\r\nitem."),
              fuzz::Utf16FileBytes(u"\u0645\u06CC\u06BA. CASE"),
          }));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ClearSymbolTable();
  RegisterReservedSymbols();
  fuzz::WriteInput(GetConfigValue("FDescriptions"), data, size);
  LoadFeatureDescriptions();
  return 0;
}
