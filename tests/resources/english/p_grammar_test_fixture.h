// Shared set-up of the compiled-grammar and CFG-lexicon tests: a data root in
// a temporary folder with the configuration keys pointing into it.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "constraints/p_fs_compiler.h"
#include "constraints/p_symbol_table.h"
#include "core/config_store.h"
#include "core/symbol_table.h"
#include "platform/utf8.h"
#include "resources/english/p_grammar.h"
#include "resources/lfg/grammar_test_helpers.h"
#include "support/test_support.h"

inline void WriteNarrowFile(const std::string& path, const std::string& text) {
  WriteBytes(path, std::vector<unsigned char>(text.begin(), text.end()));
}

class CompiledGrammarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearConfiguration();
    ClearSymbolTable();
    Set("CompileP_Grammar", "yes");
    // Every file is named after its key.
    for (const char* key : {"POSs", "SubCats", "FSAttrTypeFile", "SubCatFrameListFileName", "ncfgFileName",
                            "DumpedEgrammar", "DumpedEgrammarSymbols", "ELexiconDumpFileName", "Dummy", "DummyDump",
                            "P_FSInitializerDump", "SymbolTableDumpFile"}) {
      Set(key, File(key));
    }
    WriteNarrowFile(File("POSs"), "det n pron v aux adj adv p neg");
    WriteNarrowFile(File("SubCats"), "SUBJ\r\nSUBJ\tOBJ\r\nSUBJ\tOBJ\tOBJ2");
    WriteNarrowFile(File("FSAttrTypeFile"), "SUBJ\nOBJ\nOBJ2\nADJUNCT");
    WriteUtf16File(File("SubCatFrameListFileName"), u"SUBJ,OBJ,OBJ2");
    P_FSCompiler::Init();
  }

  void TearDown() override { ClearConfiguration(); }

  void Set(const std::string& key, const std::string& value) { SetConfigValue(key, value); }
  std::string File(const std::string& name) const { return dir_.File(name); }

  // Writes the rules and macros and compiles them.
  std::unique_ptr<P_Grammar> CompileGrammar(const std::u16string& rules, const std::u16string& macros = u"") {
    WriteUtf16File(File("rules.txt"), rules);
    WriteUtf16File(File("macros.txt"), macros);
    return LoadGrammar();
  }

  // Compiles the files written last, or loads the dumps when compiling is off.
  std::unique_ptr<P_Grammar> LoadGrammar() {
    return std::make_unique<P_Grammar>(File("rules.txt"), File("macros.txt"), File("grammar.lfg"), File("grammar.cfg"),
                                       1);
  }

  // Writes the constraint system's dumps, forgets everything and loads them
  // back, as a later start-up does; other names take the low ids first, as
  // another compile of the common symbol table would give them.
  void RestartFromDumps() {
    ASSERT_TRUE(P_FSCompiler::WriteDump());
    ASSERT_TRUE(P_SymbolTable::WriteDump());
    ClearSymbolTable();
    GetSymbolId(u"unrelated", true);
    GetSymbolId(u"names", true);
    P_FSCompiler::Init();
    ASSERT_TRUE(P_FSCompiler::ReadDump());
    ASSERT_TRUE(P_SymbolTable::ReadDump());
    Set("CompileP_Grammar", "no");
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
