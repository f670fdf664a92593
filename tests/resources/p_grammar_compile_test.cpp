// Compiling the English grammar: disjunctive annotations for duplicate
// productions, FIRST masks, the part-of-speech and category tables, the
// queries, the listings, and the dumps read back whole.
#include "tests/resources/p_grammar_test_fixture.h"

#include "constraints/p_symbol_table.h"
#include "core/file_reader.h"

namespace {

class GrammarCompileTest : public CompiledGrammarTest {
 protected:
  const CCompiledProduction* Only(const P_Grammar& grammar, const std::string& lhs) {
    auto found = grammar.GetProductionsForLHS(static_cast<uint16_t>(grammar.FindCategoryId(lhs)));
    EXPECT_EQ(found->size(), 1u) << lhs;
    return found->empty() ? nullptr : found->front();
  }

  std::vector<std::string> FirstNames(const P_Grammar& grammar, const CCompiledProduction& production) {
    std::vector<std::string> names;
    for (int id = 0; id < 64; ++id) {
      CCategoryMask bit;
      bit.Set(id);
      if (CategoryMasksIntersect(production.firstMask, bit)) names.push_back(grammar.GetPOSName(id));
    }
    return names;
  }
};

TEST_F(GrammarCompileTest, DuplicateProductionsBecomeOneWithAlternativeAnnotations) {
  struct Case {
    const char* name;
    std::u16string rules;
    size_t daughterItems;  // items on the daughter of the merged production
    bool choices;
  };
  const Case cases[] = {
      {"different annotations", u"S' -> n: ^NUM=sg; . S' -> n: ^NUM=pl; .", 1, true},
      {"same annotations", u"S' -> n: ^NUM=sg; . S' -> n: ^NUM=sg; .", 1, true},
      {"alone", u"S' -> n: ^NUM=sg; .", 1, false},
  };
  for (const Case& c : cases) {
    auto grammar = CompileGrammar(c.rules);
    ASSERT_FALSE(grammar->HasFailed()) << c.name << ": " << grammar->FailureText();
    const CCompiledProduction* p = Only(*grammar, "S'");
    ASSERT_NE(p, nullptr) << c.name;
    ASSERT_EQ(p->rhs.size(), 1u) << c.name;
    EXPECT_EQ(p->rhs[0].itemIds.size(), c.daughterItems) << c.name;
    EXPECT_EQ(p->choiceCount >= 1, c.choices) << c.name;
  }
}

TEST_F(GrammarCompileTest, FirstMasksFollowChainsOfFirstDaughters) {
  auto grammar = CompileGrammar(
      u"S' -> S: ^=!; .\n"
      u"S -> NP: ^SUBJ=!; v: ^=!; .\n"
      u"NP -> ( det: ^=!; ) N1: ^=!; .\n"
      u"N1 -> [ adj: ! $ ^ADJUNCT; ]* n: ^=!; .\n"
      u"NP -> pron: ^=!; .\n");
  ASSERT_FALSE(grammar->HasFailed()) << grammar->FailureText();
  using Names = std::vector<std::string>;
  EXPECT_EQ(FirstNames(*grammar, *Only(*grammar, "S'")), (Names{"det", "n", "pron", "adj"}));
  EXPECT_EQ(FirstNames(*grammar, *Only(*grammar, "S")), (Names{"det", "n", "pron", "adj"}));
  CCategoryMask pron;
  pron.Set(grammar->GetOrAddPOSId("pron"));
  auto np = grammar->GetProductionsForLHSAndMask(static_cast<uint16_t>(grammar->FindCategoryId("NP")), pron);
  ASSERT_EQ(np->size(), 1u);
  EXPECT_EQ(grammar->GetPOSName(np->front()->rhs[0].id), "pron");
}

TEST_F(GrammarCompileTest, PartsOfSpeechKeepTheFileOrderAndNewOnesFollow) {
  WriteNarrowFile(File("POSs.txt"), "det n pron v\r\n");
  auto grammar = CompileGrammar(u"S' -> det: ; n: ; x: ; v: ; .");
  ASSERT_FALSE(grammar->HasFailed()) << grammar->FailureText();
  // Index 0 is the empty name; white space at the end of the file reads one
  // more, empty, name; "x" of the rules comes after it.
  EXPECT_EQ(grammar->GetPOSName(0), "");
  EXPECT_EQ(grammar->GetOrAddPOSId("det"), 1);
  EXPECT_EQ(grammar->GetOrAddPOSId("v"), 4);
  EXPECT_EQ(grammar->GetPOSName(5), "");
  EXPECT_EQ(grammar->GetOrAddPOSId("x"), 6);
  EXPECT_EQ(grammar->GetOrAddPOSId("brandnew"), 7);
  const CCompiledProduction* p = Only(*grammar, "S'");
  ASSERT_EQ(p->rhs.size(), 4u);
  EXPECT_EQ(p->rhs[2].id, 6);
  EXPECT_EQ(p->rhs[2].isPOS, 1);
}

TEST_F(GrammarCompileTest, CategoryIdsFollowFirstAppearanceAndUnknownsGetNone) {
  auto grammar = CompileGrammar(u"S' -> S: ^=!; . S -> n: ; . S -> v: ; .");
  ASSERT_FALSE(grammar->HasFailed()) << grammar->FailureText();
  EXPECT_EQ(grammar->FindCategoryId("S'"), 0);
  EXPECT_EQ(grammar->FindCategoryId("S"), 1);
  EXPECT_EQ(grammar->FindCategoryId("VP"), P_Grammar::kNoCategory);
  EXPECT_EQ(grammar->GetStartCategoryId(), 0);
  auto none = grammar->GetProductionsForLHS(77);
  EXPECT_TRUE(none->empty());
  EXPECT_EQ(grammar->GetCategoryName(99), "");
  EXPECT_EQ(grammar->GetProduction(99), nullptr);
}

TEST_F(GrammarCompileTest, CompileErrorsAreReportedAndStopCleanly) {
  struct Case {
    const char* name;
    std::u16string rules;
    std::u16string messagePart;
  };
  const Case cases[] = {
      {"no start category", u"S -> n: ; .", u"S'"},
      {"undefined category", u"S' -> NP: ; .", u"NP"},
      {"empty grammar", u"/ nothing here\r\n", u"no rule"},
  };
  for (const Case& c : cases) {
    MessageRecorder messages;
    auto grammar = CompileGrammar(c.rules);
    EXPECT_TRUE(grammar->HasFailed()) << c.name;
    EXPECT_EQ(grammar->ProductionCount(), 0u) << c.name;
    ASSERT_FALSE(messages.messages().empty()) << c.name;
    EXPECT_NE(messages.messages().back().text.find(c.messagePart), std::u16string::npos) << c.name;
  }
}

TEST_F(GrammarCompileTest, APartOfSpeechBeyondTheMaskFailsTheCompile) {
  std::string many;
  for (int i = 0; i < 70; ++i) many += "t" + std::to_string(i) + " ";
  WriteNarrowFile(File("POSs.txt"), many);
  MessageRecorder messages;
  auto grammar = CompileGrammar(u"S' -> t66: ; .");
  EXPECT_TRUE(grammar->HasFailed());
  ASSERT_FALSE(messages.messages().empty());
  EXPECT_NE(messages.messages().back().text.find(u"t66"), std::u16string::npos);
}

TEST_F(GrammarCompileTest, ListingsShowTheExpandedAndTheCompiledGrammar) {
  WriteNarrowFile(File("POSs.txt"), "det n v");
  auto grammar = CompileGrammar(u"S' -> NP: ^SUBJ=!; v: ^=!; . NP -> det: ^=!; n: ^=!; . NP -> n: ^=!; .");
  ASSERT_FALSE(grammar->HasFailed()) << grammar->FailureText();
  CFileReader reader(256);
  const std::u16string cfg = reader.ReadAll(File("grammar.cfg"));
  // FIRST names in ascending global-id order: "det" was interned first.
  EXPECT_NE(cfg.find(u"S' [det,n,] -> NP:^SUBJ=!; v:^=!; .\r\n"), std::u16string::npos) << ToUtf8(cfg);
  const std::u16string ncfg = reader.ReadAll(File("grammar.ncfg"));
  // det is POS 1 and n POS 2: mask 6.
  EXPECT_EQ(ncfg.rfind(u"S' [6 0] -> NP:", 0), 0u) << ToUtf8(ncfg);
}

// --- Dumps ---

class GrammarDumpTest : public CompiledGrammarTest {
 protected:
  // Writes the constraint system's dumps, forgets everything and loads them
  // back, as a later start-up does.
  void RestartFromDumps() {
    ASSERT_TRUE(P_FSCompiler::WriteDump());
    ASSERT_TRUE(P_SymbolTable::WriteDump());
    ClearSymbolTable();
    P_FSCompiler::Init();
    ASSERT_TRUE(P_FSCompiler::ReadDump());
    ASSERT_TRUE(P_SymbolTable::ReadDump());
    Set("CompileP_Grammar", "no");
  }

  std::unique_ptr<P_Grammar> Reload() {
    return std::make_unique<P_Grammar>(File("rules.txt"), File("macros.txt"), File("grammar.lfg"),
                                       File("grammar.cfg"), 1);
  }

  static void ExpectSameGrammar(const P_Grammar& a, const P_Grammar& b) {
    EXPECT_EQ(a.GetStartCategoryId(), b.GetStartCategoryId());
    ASSERT_EQ(a.ProductionCount(), b.ProductionCount());
    ASSERT_EQ(a.CategoryCount(), b.CategoryCount());
    ASSERT_EQ(a.POSCount(), b.POSCount());
    for (uint16_t i = 0; i < a.CategoryCount(); ++i) EXPECT_EQ(a.GetCategoryName(i), b.GetCategoryName(i));
    for (uint16_t i = 0; i < a.POSCount(); ++i) EXPECT_EQ(a.GetPOSName(i), b.GetPOSName(i));
    for (size_t i = 0; i < a.ProductionCount(); ++i) {
      const CCompiledProduction& p = *a.GetProduction(i);
      const CCompiledProduction& q = *b.GetProduction(i);
      EXPECT_EQ(p.lhs, q.lhs);
      EXPECT_EQ(p.number, q.number);
      EXPECT_EQ(p.choiceCount, q.choiceCount);
      EXPECT_EQ(p.firstMask.LowWord(), q.firstMask.LowWord());
      EXPECT_EQ(p.firstMask.HighWord(), q.firstMask.HighWord());
      ASSERT_EQ(p.rhs.size(), q.rhs.size());
      for (size_t k = 0; k < p.rhs.size(); ++k) {
        EXPECT_EQ(p.rhs[k].id, q.rhs[k].id);
        EXPECT_EQ(p.rhs[k].isPOS, q.rhs[k].isPOS);
        EXPECT_EQ(p.rhs[k].itemIds, q.rhs[k].itemIds);
      }
    }
    std::vector<std::pair<uint16_t, uint16_t>> indexA, indexB;
    for (const auto& [lhs, p] : a.LHSIndex()) indexA.emplace_back(lhs, p->number);
    for (const auto& [lhs, p] : b.LHSIndex()) indexB.emplace_back(lhs, p->number);
    EXPECT_EQ(indexA, indexB);
  }

  const std::u16string rules_ =
      u"S' -> S: ^=!; .\n"
      u"S -> NP: ^SUBJ=!, ^SUBJ CASE=nom; v: ^=!; ( NP: ^OBJ=!; ) [ PP: ! $ ^ADJUNCT; ]* .\n"
      u"NP -> ( det: ^SPEC=!; ) n: ^=!; . NP -> pron: ^=!; .\n"
      u"PP -> p: ^=!; NP: ^OBJ=!; .\n";
};

TEST_F(GrammarDumpTest, AGrammarReadBackFromItsDumpsEqualsTheCompiledOne) {
  auto compiled = CompileGrammar(rules_);
  ASSERT_FALSE(compiled->HasFailed()) << compiled->FailureText();
  ASSERT_GE(compiled->ProductionCount(), 8u);
  RestartFromDumps();
  auto loaded = Reload();
  ASSERT_FALSE(loaded->HasFailed()) << loaded->FailureText();
  ExpectSameGrammar(*compiled, *loaded);
  EXPECT_EQ(loaded->Stamp(), compiled->Stamp());
  // The normalised listing of the reloaded grammar is the compiled one's.
  loaded->WriteNormalizedGrammar(File("reloaded.ncfg"));
  EXPECT_EQ(ReadBytes(File("reloaded.ncfg")), ReadBytes(File("grammar.ncfg")));
}

TEST_F(GrammarDumpTest, AnEmptyLastPartOfSpeechSurvivesTheDump) {
  WriteNarrowFile(File("POSs.txt"), "det n pron v p \r\n");
  auto compiled = CompileGrammar(rules_);
  ASSERT_FALSE(compiled->HasFailed()) << compiled->FailureText();
  ASSERT_EQ(compiled->GetPOSName(6), "");
  RestartFromDumps();
  auto loaded = Reload();
  ASSERT_FALSE(loaded->HasFailed()) << loaded->FailureText();
  ExpectSameGrammar(*compiled, *loaded);
  EXPECT_EQ(loaded->GetOrAddPOSId(""), 6);
}

TEST_F(GrammarDumpTest, DumpsThatDoNotBelongTogetherAreRefused) {
  auto first = CompileGrammar(rules_);
  ASSERT_FALSE(first->HasFailed());
  const std::vector<unsigned char> oldSymbols = ReadBytes(File("DumpedEgrammarSymbols"));
  const std::vector<unsigned char> oldBinary = ReadBytes(File("DumpedEgrammar"));
  auto second = CompileGrammar(rules_ + u"NP -> n: ^NUM=pl; .\n");
  ASSERT_FALSE(second->HasFailed());
  RestartFromDumps();

  struct Case {
    const char* name;
    std::function<void()> spoil;
  };
  const Case cases[] = {
      {"symbols dump of another compile", [&] { WriteBytes(File("DumpedEgrammarSymbols"), oldSymbols); }},
      {"binary dump of another compile", [&] { WriteBytes(File("DumpedEgrammar"), oldBinary); }},
      {"binary dump cut short", [&] {
         std::vector<unsigned char> cut = ReadBytes(File("DumpedEgrammar"));
         cut.resize(cut.size() / 2);
         WriteBytes(File("DumpedEgrammar"), cut);
       }},
      {"symbols dump without stamp", [&] {
         std::vector<unsigned char> bytes = ReadBytes(File("DumpedEgrammarSymbols"));
         std::string text(bytes.begin(), bytes.end());
         text = text.substr(0, text.rfind("STAMP"));
         WriteNarrowFile(File("DumpedEgrammarSymbols"), text);
       }},
  };
  const std::vector<unsigned char> goodSymbols = ReadBytes(File("DumpedEgrammarSymbols"));
  const std::vector<unsigned char> goodBinary = ReadBytes(File("DumpedEgrammar"));
  for (const Case& c : cases) {
    WriteBytes(File("DumpedEgrammarSymbols"), goodSymbols);
    WriteBytes(File("DumpedEgrammar"), goodBinary);
    c.spoil();
    MessageRecorder messages;
    auto loaded = Reload();
    EXPECT_TRUE(loaded->HasFailed()) << c.name;
    EXPECT_EQ(loaded->ProductionCount(), 0u) << c.name;
    EXPECT_FALSE(messages.messages().empty()) << c.name;
  }
}

TEST_F(GrammarDumpTest, ARegistryOfAnotherCompileIsRefused) {
  auto compiled = CompileGrammar(rules_);
  ASSERT_FALSE(compiled->HasFailed());
  // A fresh registry lacks the items the dump refers to.
  P_FSCompiler::Init();
  Set("CompileP_Grammar", "no");
  MessageRecorder messages;
  auto loaded = Reload();
  EXPECT_TRUE(loaded->HasFailed());
  ASSERT_FALSE(messages.messages().empty());
  EXPECT_NE(messages.messages().back().text.find(u"item registry"), std::u16string::npos);
}

TEST_F(GrammarDumpTest, CrLfSymbolsDumpReadsWithoutCarriageReturns) {
  auto compiled = CompileGrammar(rules_);
  ASSERT_FALSE(compiled->HasFailed());
  const std::vector<unsigned char> bytes = ReadBytes(File("DumpedEgrammarSymbols"));
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes[bytes.size() - 2], '\r');
  RestartFromDumps();
  auto loaded = Reload();
  ASSERT_FALSE(loaded->HasFailed()) << loaded->FailureText();
  EXPECT_EQ(loaded->FindCategoryId("NP"), compiled->FindCategoryId("NP"));
  EXPECT_EQ(loaded->GetOrAddPOSId("det"), 1);
}

}  // namespace
