// Shared set-up of the compiled-grammar and CFG-lexicon tests: a data root in
// a temporary folder with the configuration keys pointing into it, and
// helpers that describe raw productions as text.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "constraints/p_fs_compiler.h"
#include "core/config_store.h"
#include "core/symbol_table.h"
#include "platform/utf8.h"
#include "resources/p_grammar.h"
#include "support/test_support.h"

// "LHS -> a b c" without the rule-end mark; annotations left out.
inline std::string DescribeRaw(const CRawProduction& p) {
  std::string text = ToUtf8(p.Lhs->Text) + " ->";
  for (const CRawSymbol* symbol : p.Rhs) {
    if (symbol->Flag != 0 && symbol->Text == u".") continue;
    text += " " + ToUtf8(symbol->Text);
  }
  return text;
}

inline std::vector<std::string> DescribeRaw(const P_RawProductionList& list) {
  std::vector<std::string> lines;
  for (const auto& p : list) lines.push_back(DescribeRaw(*p));
  return lines;
}

inline void WriteNarrowFile(const std::string& path, const std::string& text) {
  WriteBytes(path, std::vector<unsigned char>(text.begin(), text.end()));
}

class CompiledGrammarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearConfiguration();
    ClearSymbolTable();
    Set("CompileP_Grammar", "yes");
    Set("POSs", File("POSs.txt"));
    Set("SubCats", File("SubCats.txt"));
    Set("FSAttrTypeFile", File("AttrTypes.txt"));
    Set("SubCatFrameListFileName", File("Governable.txt"));
    Set("ncfgFileName", File("grammar.ncfg"));
    Set("DumpedEgrammar", File("DumpedEgrammar"));
    Set("DumpedEgrammarSymbols", File("DumpedEgrammarSymbols"));
    Set("ELexiconDumpFileName", File("ELexicon.dump"));
    Set("Dummy", File("Dummy.txt"));
    Set("DummyDump", File("Dummy.dump"));
    Set("P_FSInitializerDump", File("P_FSInitializer.dump"));
    Set("SymbolTableDumpFile", File("SymbolTable.dump"));
    WriteNarrowFile(File("POSs.txt"), "det n pron v aux adj adv p neg");
    WriteNarrowFile(File("SubCats.txt"), "SUBJ\r\nSUBJ\tOBJ\r\nSUBJ\tOBJ\tOBJ2");
    WriteNarrowFile(File("AttrTypes.txt"), "SUBJ\nOBJ\nOBJ2\nADJUNCT");
    WriteUtf16File(File("Governable.txt"), u"SUBJ,OBJ,OBJ2");
    P_FSCompiler::Init();
  }

  void TearDown() override { ClearConfiguration(); }

  void Set(const std::string& key, const std::string& value) { SetConfigValue(key, value); }
  std::string File(const std::string& name) const { return dir_.File(name); }

  // Writes the rules and macros and compiles them.
  std::unique_ptr<P_Grammar> CompileGrammar(const std::u16string& rules, const std::u16string& macros = u"") {
    WriteUtf16File(File("rules.txt"), rules);
    WriteUtf16File(File("macros.txt"), macros);
    return std::make_unique<P_Grammar>(File("rules.txt"), File("macros.txt"), File("grammar.lfg"),
                                       File("grammar.cfg"), 1);
  }

  // A grammar object whose load failed on purpose: its compile steps can be
  // run one by one.
  std::unique_ptr<P_Grammar> IdleGrammar() {
    MessageRecorder quiet;
    Set("CompileP_Grammar", "no");
    Set("DumpedEgrammar", File("missing"));
    auto grammar = std::make_unique<P_Grammar>("", "", "", "", 1);
    Set("CompileP_Grammar", "yes");
    Set("DumpedEgrammar", File("DumpedEgrammar"));
    return grammar;
  }

  TempDir dir_;
};
