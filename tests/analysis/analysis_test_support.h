// Helpers of the analysis tests: a compact text notation for F-structures,
// equations and productions written as the grammar writes them, and a
// fixture that clears the per-sentence registries around every test.
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
#include "platform/utf8.h"
#include "support/test_support.h"

namespace lfg_test {

SymbolId Sym(const std::u16string& name);

// A new registered node tree (attribute -1 at the top).
CFSNode* BuildFS(const std::string& text);
// The notation of a node, children and set elements in stored order.
std::string ShowFS(const CFSNode* node);

// "^SUBJ=!", "!$^ADJUNCT", "^TENSE=past": one equation; the caller owns it.
CEquation* MakeEquation(const std::string& text);

// A registered production "mother -> d1 d2 ... ." whose daughters carry the
// equations and constraints given as "name:eq1,[cond]". Terminals are the
// names that start lower-case.
CProduction* MakeProduction(const std::string& mother, const std::vector<std::string>& daughters);

// The text of a UTF-16LE file after its byte-order mark.
std::u16string ReadUtf16(const std::string& path);

// Fails when xmllint rejects the file; skips when xmllint is not installed.
void ExpectWellFormedXml(const std::string& path);

class LfgTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Keeps messages such as a missing governable-function file out of the output.
  MessageRecorder messages_;
};

}  // namespace lfg_test
