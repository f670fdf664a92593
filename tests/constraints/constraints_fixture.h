// Shared set-up of the constraint-system tests: a data root with the
// governable-function and attribute-type files and the names of the two
// dumps, a freshly initialised compiler, builders for values and items, and
// a parse clock that can be moved past the time limit.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "constraints/p_fs_compiler.h"
#include "constraints/p_fstructure.h"
#include "constraints/p_symbol_table.h"
#include "constraints/solver_hooks.h"
#include "core/config_store.h"
#include "core/feature_set.h"
#include "core/parse_clock.h"
#include "core/string_helpers.h"
#include "support/test_support.h"

class ConstraintsData {
 public:
  explicit ConstraintsData(const std::string& governable = "SUBJ,OBJ,OBJ2",
                           const std::string& attribute_types = "ADJUNCT\r\nXCOMP\r\n") {
    WriteUtf16File(dir_.File("subcat.txt"), NarrowToWide(governable));
    WriteBytes(dir_.File("attrtypes.txt"), std::vector<unsigned char>(attribute_types.begin(), attribute_types.end()));
    for (const auto& [key, file] : {std::pair{"SubCatFrameListFileName", "subcat.txt"},
                                    {"FSAttrTypeFile", "attrtypes.txt"},
                                    {"SymbolTableDumpFile", "symbols.dump"},
                                    {"P_FSInitializerDump", "items.dump"}})
      SetConfigValue(key, dir_.File(file));
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

// The fixture of most constraint tests: the data root and a recorder of
// message boxes.
class ConstraintsTest : public ::testing::Test {
 protected:
  ConstraintsData data_;
  MessageRecorder messages_;
};

namespace ctest {

inline uint16_t Id(const std::string& name) { return P_SymbolTable::Intern(name); }
inline std::string Name(uint16_t id) { return P_SymbolTable::GetString(static_cast<int16_t>(id)); }

inline P_ConVal* WithContext(P_ConVal* value, ContextList context) {
  value->context = std::move(context);
  value->RebuildContextBits();
  return value;
}
inline P_ConVal* Plain(uint16_t id, ContextList context = {0}) {
  return WithContext(new P_ConValPlainVal(id), context);
}
// An atomic value named by its text, under the context.
inline P_ConVal* Atom(const std::string& name, ContextList context = {0}) {
  return Plain(Id(name), std::move(context));
}
// A whole-structure link (attribute 0) to the F-structure, under the context.
inline P_ConVal* Link(P_FStructure* fs, ContextList context = {0}) {
  return WithContext(new P_ConValFSLink(fs, 0), context);
}

inline P_FSItemComplex* Complex(uint16_t attribute, uint8_t flags, std::initializer_list<P_ConVal*> values) {
  auto* item = new P_FSItemComplex(attribute, flags);
  for (P_ConVal* value : values) item->AddValue(value);
  return item;
}
inline P_FSItemComplex* Item(const std::string& attribute, uint8_t flags, std::initializer_list<P_ConVal*> values) {
  return Complex(attribute.empty() ? 0 : Id(attribute), flags, values);
}
// An F-structure holding one item of the attribute.
inline P_FStructure* With(const std::string& attribute, std::initializer_list<P_ConVal*> values) {
  auto* fs = new P_FStructure();
  fs->AddItem(Item(attribute, 0, values));
  return fs;
}
inline P_FStructure* WithCase(std::initializer_list<P_ConVal*> values) { return With("CASE", values); }
inline void SortItems(P_FStructure* fs) {
  fs->items.sort([](const P_FSItem* a, const P_FSItem* b) { return *a < *b; });
}

inline CFeatureSet Bits(FeatureLiteralList literals) { return BuildFeatureSet(literals); }
using Sets = std::list<CFeatureSet>;
using Strings = std::list<std::string>;

// The values of the item as "name(literals)" texts, in order.
inline Strings Texts(const P_FSItem* item) {
  Strings texts;
  const ItemValues values(item);
  for (const P_ConVal* value : values) {
    std::string text = (value->GetBoundFStructure() ? "<fs>" : value->ToString()) + "(";
    for (ChoiceLiteral literal : ListFeatureLiterals(value->contextBits)) text += std::to_string(literal) + ",";
    if (text.back() == ',') text.pop_back();
    texts.push_back(text + ")");
  }
  return texts;
}

// The injected parse clock: at 0 the limit of 100 is not reached; Expire
// moves past it.
class ParseClockScope {
 public:
  ParseClockScope() : previous_(SetSolverClock([this] { return now_; })) {
    ParseStartTime = 0;
    ParseTimeLimit = 100;
  }
  ~ParseClockScope() {
    ParseTimeLimit = limit_;
    ParseStartTime = start_;
    SetSolverClock(previous_);
  }
  void Set(int64_t now) { now_ = now; }
  void Expire() { now_ = 101; }

 private:
  int64_t now_ = 0;
  int32_t limit_ = ParseTimeLimit;
  int64_t start_ = ParseStartTime;
  SolverClock previous_;
};

// Installs a frame hook answering from a table of function names while it
// lives.
class FrameTableScope {
 public:
  explicit FrameTableScope(std::map<int, std::vector<std::string>> frames)
      : previous_(SetSubcatFrameSource([frames](int n) -> std::optional<std::vector<uint16_t>> {
          if (!frames.count(n)) return std::nullopt;
          std::vector<uint16_t> ids;
          for (const std::string& name : frames.at(n)) ids.push_back(Id(name));
          return ids;
        })) {}
  ~FrameTableScope() { SetSubcatFrameSource(previous_); }

 private:
  SubcatFrameSource previous_;
};

}  // namespace ctest
