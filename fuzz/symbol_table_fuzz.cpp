// The global symbol table's file: records of an id and a name.
#include "core/symbol_table.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::EnterDataRootCopy();
  ClearSymbolTable();
  RegisterReservedSymbols();
  for (const char16_t* name : {u"SUBJ", u"OBJ", u"PRED", u"NUM", u"sg", u"\u0645\u06CC\u06BA"}) AddSymbol(name);
  SaveSymbolTable("seeds/symbols.sym");
  fuzz::AddSeedInputs(argc, argv, {"seeds/symbols.sym"});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ClearSymbolTable();
  RegisterReservedSymbols();
  LoadSymbolTable(fuzz::WriteInput("input.sym", data, size));
  for (const auto& entry : SymbolNamesById()) GetSymbolId(entry.second, false);
  AddSymbol(u"FRESH");
  SaveSymbolTable("output.sym");
  return 0;
}
