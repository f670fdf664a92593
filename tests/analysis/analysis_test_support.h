// Helpers of the analysis tests: a compact text notation for F-structures,
// equations written as the grammar writes them, and a fixture that clears
// the per-sentence registries around every test.
//
// Notation of a node: an optional value set "{a b}", then optional children
// "[ATTR node ATTR node ...]", then optional set elements "<node node>".
// An empty node is "{}". Example: "[SUBJ [NUM {sg}] TENSE {past}]".
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/equation.h"
#include "core/fs_handle.h"
#include "core/fs_node.h"
#include "core/production.h"
#include "core/symbol_table.h"
#include "support/test_support.h"

namespace lfg_test {

SymbolId Sym(const std::u16string& name);
std::u16string Widen(const std::string& text);
std::string Narrow(const std::u16string& text);

// A new registered node tree (attribute -1 at the top).
CFSNode* BuildFS(const std::string& text);
// The notation of a node, children and set elements in stored order.
std::string ShowFS(const CFSNode* node);

// "^SUBJ=!", "!$^ADJUNCT", "^TENSE=past": one equation, sides parsed with
// the lexicon's operand parser. The caller owns it.
CEquation* MakeEquation(const std::string& text);

// A production "mother -> d1 d2 ... ." whose daughters carry the equations
// given as "name:eq1,eq2". Terminals are the names that start lower-case.
CProduction* MakeProduction(const std::string& mother, const std::vector<std::string>& daughters);

// True when xmllint accepts the file; skips the test when xmllint is not
// installed.
void ExpectWellFormedXml(const std::string& path);

// Clears nodes, handles and productions before and after each test and
// registers the reserved symbols.
class LfgTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Parsers built without a governable-function file report the missing
  // file; the recorder keeps such messages out of the test output.
  MessageRecorder messages_;
};

}  // namespace lfg_test
