// A data root for the constraint-system tests: the governable-function and
// attribute-type files in a temporary folder, the configuration keys that
// name them and the two dumps, and a freshly initialised compiler.
#pragma once

#include <string>

#include "constraints/p_fs_compiler.h"
#include "constraints/p_fstructure.h"
#include "core/config_store.h"
#include "core/feature_set.h"
#include "core/string_helpers.h"
#include "support/test_support.h"

class ConstraintsData {
 public:
  explicit ConstraintsData(const std::string& governable = "SUBJ,OBJ,OBJ2",
                           const std::string& attribute_types = "ADJUNCT\r\nXCOMP\r\n") {
    WriteUtf16File(dir_.File("subcat.txt"), NarrowToWide(governable));
    WriteBytes(dir_.File("attrtypes.txt"), std::vector<unsigned char>(attribute_types.begin(), attribute_types.end()));
    SetConfigValue("SubCatFrameListFileName", dir_.File("subcat.txt"));
    SetConfigValue("FSAttrTypeFile", dir_.File("attrtypes.txt"));
    SetConfigValue("SymbolTableDumpFile", dir_.File("symbols.dump"));
    SetConfigValue("P_FSInitializerDump", dir_.File("items.dump"));
    InitFeatureBits(128);
    SetFeatureWordCount(127);
    P_FStructure::DeleteAll();
    P_FSCompiler::Init();
  }
  ~ConstraintsData() {
    P_FStructure::DeleteAll();
    ClearConfiguration();
  }

  std::string File(const std::string& name) const { return dir_.File(name); }

 private:
  TempDir dir_;
};
