// The configuration file "EConfig.inf": keys and values up to ';'.
#include "core/config_store.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::EnterDataRootCopy();
  fuzz::AddSeedInputs(argc, argv, {fuzz::ShippedDataRoot() + "/EConfig.inf"});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ClearConfiguration();
  ParseConfigFile(fuzz::WriteInput("input.inf", data, size));
  for (const auto& entry : ConfigTable()) GetConfigValue(entry.first);
  GetConfigValue("Domain", true);
  return 0;
}
