// Entries of the English CFG lexicon and of its default lexicon, as the
// compiler cuts them from the files.
#include "core/file_reader.h"
#include "fuzz/fuzz_support.h"
#include "resources/english/e_lexicon.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::EnterDataRootCopy();
  const std::string root = fuzz::ShippedDataRoot();
  fuzz::AddSeedInputs(argc, argv, {root + "/data/english/ELexicon.txt", root + "/data/english/Dummy.txt"});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CFileReader reader(fuzz::WriteInput("entries.txt", data, size), 64);
  WString text;
  for (int entries = 0; entries < 2000 && CELexicon::ReadEntryText(reader, text); ++entries) {
    CERawEntry entry;
    std::string why;
    CELexicon::ParseEntry(text, entry, why);
    std::string pos, features;
    float weight = 1.0f;
    CELexicon::ParseDefaultEntry(text, pos, features, weight);
  }
  return 0;
}
