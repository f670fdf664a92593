// The UTF-16 reader every text loader stands on: the unit cursor with small
// buffers, whole-file reads, item lists and reads at an offset.
#include "core/file_reader.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::EnterDataRootCopy();
  const std::string root = fuzz::ShippedDataRoot();
  fuzz::AddSeedInputs(argc, argv,
                      {root + "/data/english/POSs.txt", root + "/data/Expansions.txt",
                       root + "/data/UGrammarMacros.txt", root + "/data/NounTemplate.txt"});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteInput("input.txt", data, size);
  const int bufferSize = size > 0 ? data[0] % 9 : 1;  // 0 to 8 units: every refill edge
  CFileReader reader(path, bufferSize);
  size_t units = 0;
  for (WChar c = reader.GetChar(); c != 0 && units < 1 << 20; c = reader.NextChar()) ++units;
  reader.NextChar();
  reader.ReadAt(static_cast<int64_t>(size / 3), static_cast<int64_t>(size % 7));
  reader.ReadAt(-1, 4);
  CFileReader whole(64);
  whole.ReadAll(path);
  std::vector<WString> items;
  whole.ReadItemList(path, ",;\r\n", items);
  return 0;
}
