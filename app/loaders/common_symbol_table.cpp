#include "app/loaders/common_symbol_table.h"

#include "core/config_store.h"
#include "core/symbol_table.h"

bool SaveCommonSymbolTable() { return SaveSymbolTable(GetConfigValue("CommonSymbolTableFileName")); }

bool LoadCommonSymbolTable() {
  ClearSymbolTable();
  return LoadSymbolTable(GetConfigValue("CommonSymbolTableFileName"));
}
