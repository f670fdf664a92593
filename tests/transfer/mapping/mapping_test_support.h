// Shared set-up of the mapping tests: a fresh symbol table with the reserved
// names, an empty configuration, a temporary folder, recorded messages, and
// an English lexicon object to switch path parsing on.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "core/config_store.h"
#include "core/symbol_table.h"
#include "platform/utf8.h"
#include "resources/lfg/lexicon.h"
#include "support/test_support.h"

namespace mapping_test {

// The repository's root, from LFG_SOURCE_DIR ("" when it is not set).
inline std::string SourceDir() {
  const char* root = std::getenv("LFG_SOURCE_DIR");
  return root != nullptr ? root : "";
}

inline SymbolId Sym(const WString& name) { return GetSymbolId(name, true); }

inline std::vector<SymbolId> Syms(const std::vector<WString>& names) {
  std::vector<SymbolId> ids;
  for (const WString& name : names) ids.push_back(Sym(name));
  return ids;
}

// The names of ids, joined by blanks, for readable failures.
inline std::string Names(const std::vector<SymbolId>& ids) {
  std::string text;
  for (SymbolId id : ids) text += (text.empty() ? "" : " ") + ToUtf8(GetSymbolName(id));
  return text;
}

class MappingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearConfiguration();
    ClearSymbolTable();
    RegisterReservedSymbols();
    // Every message counts here, also after a test that ran a sentence.
    LimitRepeatedMessages(false);
    ForgetShownMessages();
    WriteUtf16File(dir_.File("features.txt"), u"");
    SetConfigValue("EOrderedFeatureListFileName", dir_.File("features.txt"));
    english_ = std::make_unique<CLexicon>("E");
  }
  void TearDown() override { ClearConfiguration(); }

  // A UTF-16 file in the temporary folder with LF turned into CR LF.
  std::string WriteText(const std::string& name, const std::string& utf8) {
    std::string crlf;
    for (char c : utf8) {
      if (c == '\n') crlf += '\r';
      crlf += c;
    }
    WriteUtf16File(dir_.File(name), FromUtf8(crlf));
    return dir_.File(name);
  }

  TempDir dir_;
  MessageRecorder messages_;
  std::unique_ptr<CLexicon> english_;
};

}  // namespace mapping_test
