// Compiling the English grammar: the rule language (macros, the tokeniser,
// rule groups, empty productions and merged categories), disjunctive
// annotations for duplicate productions, FIRST masks, the part-of-speech and
// category tables, and the dumps read back whole.
#include "resources/english/p_grammar_test_fixture.h"

#include <functional>

#include "core/file_reader.h"
#include "core/sealed_file.h"

namespace {

class GrammarCompileTest : public CompiledGrammarTest {
 protected:
  P_RawProductionList Expand(const std::u16string& rules) {
    auto grammar = IdleGrammar();
    P_RawProductionList list = P_Grammar::TokenizeRuleText(rules);
    grammar->ExpandRuleGroups(list);
    return list;
  }

  const CCompiledProduction* Only(const P_Grammar& grammar, const std::string& lhs) {
    auto found = grammar.GetProductionsForLHS(static_cast<uint16_t>(grammar.FindCategoryId(lhs)));
    EXPECT_EQ(found->size(), 1u) << lhs;
    return found->empty() ? nullptr : found->front();
  }

  // The tables the normalised listing leaves out, for comparing two grammars.
  static Lines Describe(const P_Grammar& g) {
    Lines lines = {"start " + std::to_string(g.GetStartCategoryId())};
    for (uint16_t i = 0; i < g.CategoryCount(); ++i) lines.push_back("category " + g.GetCategoryName(i));
    for (uint16_t i = 0; i < g.POSCount(); ++i) lines.push_back("pos " + g.GetPOSName(i));
    for (size_t i = 0; i < g.ProductionCount(); ++i) {
      const CCompiledProduction& p = *g.GetProduction(i);
      std::string line = std::to_string(p.lhs) + " #" + std::to_string(p.number) + " " + std::to_string(p.choiceCount);
      for (const CCompiledSymbol& s : p.rhs) line += " " + std::to_string(s.id) + (s.isPOS ? "p" : "c");
      lines.push_back(line);
    }
    for (const auto& [lhs, p] : g.LHSIndex()) {
      lines.push_back("index " + std::to_string(lhs) + " " + std::to_string(p->number));
    }
    return lines;
  }

  const std::u16string rules_ =
      u"S' -> S: ^=!; . S -> NP: ^SUBJ=!, ^SUBJ CASE=nom; v: ^=!; ( NP: ^OBJ=!; ) [ PP: ! $ ^ADJUNCT; ]* .\n"
      u"NP -> ( det: ^SPEC=!; ) n: ^=!; . NP -> pron: ^=!; . PP -> p: ^=!; NP: ^OBJ=!; .\n";
};

TEST_F(GrammarCompileTest, TokeniserCutsRulesIntoDaughtersAndOperators) {
  const std::pair<std::u16string, Lines> cases[] = {
      {u"X -> v: ^=!; ( NP: ^OBJ=!; ) [ A: ; ]#2#4 .", {"X -> v ( NP ) [ A ] # 2 # 4"}},
      // A comment line between rules and a comment after a daughter.
      {u"A -> b: ;.\r\n/ a comment. with -> and :\r\nB -> c: ; / dropped: ;\r\n d: ; .", {"A -> b", "B -> c d"}},
      // Symbols before the '-' of their rule and an unclosed last rule go.
      {u"stray: ; A -> b: ; . B -> c: ;", {"A -> b"}},
      // An annotation runs to ';' whatever it holds.
      {u"A -> b: ^X=y. [|] / #; .", {"A -> b"}},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(DescribeRaw(P_Grammar::TokenizeRuleText(text)), expected);
  // Annotations are trimmed and their line ends read as blanks.
  const P_RawProductionList list = P_Grammar::TokenizeRuleText(u"S -> NP:  ^SUBJ=! ;VP: ^SUBJ\r\nNUM=sg;.");
  ASSERT_EQ(list.size(), 1u);
  ASSERT_EQ(list[0]->Rhs.size(), 3u);
  EXPECT_EQ(list[0]->Rhs[0]->Annotation, u"^SUBJ=!");
  EXPECT_EQ(list[0]->Rhs[1]->Annotation, u"^SUBJ  NUM=sg");
  EXPECT_EQ(list[0]->Rhs[2]->Flag, 1);
}

TEST_F(GrammarCompileTest, MacrosAreExpandedUpToBlankOrFullStop) {
  WriteUtf16File(File("m.txt"), u"@SUBJ = ^SUBJ=!, ^SUBJ CASE=nom .\r\n@HEAD\r\n= ^=! .\r\n@SUBJ = ignored .");
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"S -> NP: @SUBJ ; VP: @HEAD ; .", u"S -> NP: ^SUBJ=!, ^SUBJ CASE=nom ; VP: ^=! ; ."},
      {u"A -> b: @HEAD.", u"A -> b: ^=!."},
      {u"A -> b: @HEAD", u"A -> b: ^=!"},
  };
  for (const auto& [rules, expected] : cases) {
    WriteUtf16File(File("r.txt"), rules);
    EXPECT_TRUE(IdleGrammar()->ExpandMacros(File("r.txt"), File("m.txt"), File("out.lfg"), false));
    EXPECT_EQ(CFileReader(64).ReadAll(File("out.lfg")), expected);
  }
  // The reference ends at ';' only after a blank, so "@HEAD;" names no macro.
  MessageRecorder messages;
  EXPECT_TRUE(CompileGrammar(u"S' -> S: @HEAD; .", u"@HEAD = ^=! .")->HasFailed());
  ASSERT_FALSE(messages.messages().empty());
  EXPECT_NE(messages.messages()[0].text.find(u"@HEAD;"), std::u16string::npos);
}

TEST_F(GrammarCompileTest, GroupsExpandEmptiesGoAndEqualCategoriesMerge) {
  const std::pair<std::u16string, Lines> cases[] = {
      {u"VP -> V: ; ( NP: ; ) PP: ; .", {"VP -> V P_1 PP", "VP -> V PP", "P_1 -> NP"}},
      {u"NP -> [ Adj: ; ]+ N: ; .", {"NP -> P_1 N", "P_1 -> Adj", "P_1 -> Adj P_1"}},
      {u"NP -> [ Adj: ; ]* N: ; .", {"NP -> P_1 N", "NP -> N", "P_1 -> Adj", "P_1 -> Adj P_1"}},
      {u"X -> [ NP: ; | PP: ; ] .", {"X -> P_1", "P_1 -> NP", "P_1 -> PP"}},
      {u"X -> [ NP: ; % PP: ; ] .", {"X -> P_1", "P_1 -> NP PP", "P_1 -> PP NP"}},
      {u"X -> [ A: ; B: ; ] c: ; .", {"X -> P_1 c", "P_1 -> A B"}},
      {u"X -> ( a: ; ) * b: ; .", {"X -> P_1 * b", "X -> * b", "P_1 -> a"}},
      {u"X -> [ Adj: ; ]#1#3 .", {"X -> P_1", "P_2 -> Adj", "P_1 -> P_2", "P_1 -> P_2 P_2", "P_1 -> P_2 P_2 P_2"}},
      // #0#2: the empty form of P_1 is removed again and X gets its twin.
      {u"X -> [ A: ; ]#0#2 b: ; .", {"X -> P_1 b", "X -> b", "P_2 -> A", "P_1 -> P_2", "P_1 -> P_2 P_2"}},
      {u"X -> ( a: ; [ b: ; | c: ; ] ) d: ; .", {"X -> P_2 d", "X -> d", "P_1 -> b", "P_1 -> c", "P_2 -> a P_1"}},
      // Empty productions go; every user gets a twin without the category.
      {u"A -> B: ; x: ; . B -> C: ; . C -> .", {"A -> x"}},
      {u"A -> B: ; B: ; . B -> . B -> d: ; .", {"A -> B B", "A -> B", "B -> d"}},
      {u"A -> B: ; x: ; . B -> B: ; y: ; . B -> .", {"A -> B x", "A -> x", "B -> B y", "B -> y"}},
      // Categories with equal productions merge into the first, never "S'" away.
      {u"A -> ( n: ; ) x: ; . B -> ( n: ; ) y: ; .", {"A -> P_1 x", "A -> x", "B -> P_1 y", "B -> y", "P_1 -> n"}},
      {u"S' -> a: ; . T -> a: ; . U -> T: ; .", {"S' -> a", "U -> S'"}},
      {u"T -> a: ; . S' -> a: ; . U -> S': ; .", {"T -> a", "S' -> a", "U -> S'"}},
      {u"A -> n: ^X=y; . B -> n: ^X=z; .", {"A -> n", "B -> n"}},
  };
  for (const auto& [rules, expected] : cases) EXPECT_EQ(DescribeRaw(Expand(rules)), expected) << ToUtf8(rules);
  // Generated and merged daughters keep their annotations.
  P_RawProductionList list = Expand(u"VP -> v: ^=!; ( NP: ^OBJ=!; ) .");
  ASSERT_EQ(DescribeRaw(list), (Lines{"VP -> v P_1", "VP -> v", "P_1 -> NP"}));
  EXPECT_EQ(list[0]->Rhs[1]->Annotation, u"^=!");
  EXPECT_EQ(list[2]->Rhs[0]->Annotation, u"^OBJ=!");
  list = Expand(u"A -> n: ; . B -> n: ; . S' -> B: ^OBJ=!; .");
  ASSERT_EQ(DescribeRaw(list), (Lines{"A -> n", "S' -> A"}));
  EXPECT_EQ(list[1]->Rhs[0]->Annotation, u"^OBJ=!");
}

TEST_F(GrammarCompileTest, DuplicateProductionsBecomeOneWithAlternativeAnnotations) {
  const std::tuple<std::u16string, bool> cases[] = {{u"S' -> n: ^NUM=sg; . S' -> n: ^NUM=pl; .", true},
                                                    {u"S' -> n: ^NUM=sg; . S' -> n: ^NUM=sg; .", true},
                                                    {u"S' -> n: ^NUM=sg; .", false}};
  for (const auto& [rules, choices] : cases) {
    auto grammar = CompileGrammar(rules);
    ASSERT_FALSE(grammar->HasFailed()) << grammar->FailureText();
    const CCompiledProduction* p = Only(*grammar, "S'");
    ASSERT_NE(p, nullptr);
    ASSERT_EQ(p->rhs.size(), 1u);
    EXPECT_EQ(p->rhs[0].itemIds.size(), 1u);
    EXPECT_EQ(p->choiceCount >= 1, choices) << ToUtf8(rules);
  }
}

TEST_F(GrammarCompileTest, FirstMasksFollowChainsOfFirstDaughters) {
  auto grammar = CompileGrammar(
      u"S' -> S: ^=!; . S -> NP: ^SUBJ=!; v: ^=!; . NP -> ( det: ^=!; ) N1: ^=!; .\n"
      u"N1 -> [ adj: ! $ ^ADJUNCT; ]* n: ^=!; . NP -> pron: ^=!; .");
  ASSERT_FALSE(grammar->HasFailed()) << grammar->FailureText();
  CCategoryMask first;
  for (const char* pos : {"det", "n", "pron", "adj"}) first.Set(grammar->GetOrAddPOSId(pos));
  for (const std::string lhs : {"S'", "S"}) {
    EXPECT_EQ(Only(*grammar, lhs)->firstMask.LowWord(), first.LowWord()) << lhs;
    EXPECT_EQ(Only(*grammar, lhs)->firstMask.HighWord(), first.HighWord()) << lhs;
  }
  CCategoryMask pron;
  pron.Set(grammar->GetOrAddPOSId("pron"));
  auto np = grammar->GetProductionsForLHSAndMask(static_cast<uint16_t>(grammar->FindCategoryId("NP")), pron);
  ASSERT_EQ(np->size(), 1u);
  EXPECT_EQ(grammar->GetPOSName(np->front()->rhs[0].id), "pron");
}

TEST_F(GrammarCompileTest, PartOfSpeechAndCategoryIdsFollowFirstAppearance) {
  WriteNarrowFile(File("POSs"), "det n pron v\r\n");
  auto grammar = CompileGrammar(u"S' -> S: ^=!; . S -> det: ; n: ; x: ; v: ; .");
  ASSERT_FALSE(grammar->HasFailed()) << grammar->FailureText();
  // Index 0 is the empty name; white space at the end of the file reads one
  // more, empty, name; "x" of the rules comes after it.
  EXPECT_EQ(grammar->GetPOSName(0) + "|" + grammar->GetPOSName(5), "|");
  for (const auto& [name, id] : {std::pair{"det", 1}, {"v", 4}, {"x", 6}, {"brandnew", 7}}) {
    EXPECT_EQ(grammar->GetOrAddPOSId(name), id) << name;
  }
  const CCompiledProduction* p = Only(*grammar, "S");
  ASSERT_EQ(p->rhs.size(), 4u);
  EXPECT_EQ(p->rhs[2].id, 6);
  EXPECT_EQ(p->rhs[2].isPOS, 1);
  EXPECT_EQ(grammar->FindCategoryId("S'"), 0);
  EXPECT_EQ(grammar->FindCategoryId("S"), 1);
  EXPECT_EQ(grammar->FindCategoryId("VP"), P_Grammar::kNoCategory);
  EXPECT_TRUE(grammar->GetProductionsForLHS(77)->empty());
  EXPECT_EQ(grammar->GetCategoryName(99), "");
  EXPECT_EQ(grammar->GetProduction(99), nullptr);
}

TEST_F(GrammarCompileTest, CompileErrorsAreReportedAndStopCleanly) {
  std::string many;
  for (int i = 0; i < 70; ++i) many += "t" + std::to_string(i) + " ";
  const std::tuple<std::string, std::u16string, std::u16string> cases[] = {
      {"", u"S -> n: ; .", u"S'"},
      {"", u"S' -> NP: ; .", u"NP"},
      {"", u"/ nothing here\r\n", u"no rule"},
      // Malformed groups, and more members in any order than are expanded.
      {"", u"S' -> a: ; ) .", u""},
      {"", u"S' -> [ a: ; ]#x#2 .", u""},
      {"", u"S' -> [ a: ; % b: ; % c: ; % d: ; % e: ; % f: ; % g: ; ] .", u""},
      // A part of speech beyond the 64 bits of the mask.
      {many, u"S' -> t66: ; .", u"t66"},
  };
  for (const auto& [poss, rules, messagePart] : cases) {
    if (!poss.empty()) WriteNarrowFile(File("POSs"), poss);
    MessageRecorder messages;
    auto grammar = CompileGrammar(rules);
    EXPECT_TRUE(grammar->HasFailed()) << ToUtf8(rules);
    EXPECT_EQ(grammar->ProductionCount(), 0u);
    ASSERT_FALSE(messages.messages().empty());
    EXPECT_NE(messages.messages().back().text.find(messagePart), std::u16string::npos) << ToUtf8(rules);
  }
}

TEST_F(GrammarCompileTest, AGrammarReadBackFromItsDumpsEqualsTheCompiledOne) {
  // The last part of speech is the empty name of the trailing blank.
  WriteNarrowFile(File("POSs"), "det n pron v p \r\n");
  auto compiled = CompileGrammar(rules_);
  ASSERT_FALSE(compiled->HasFailed()) << compiled->FailureText();
  ASSERT_GE(compiled->ProductionCount(), 8u);
  ASSERT_EQ(compiled->GetPOSName(6), "");
  // The symbols dump has CR LF lines (before its seal); they read back
  // without the CR.
  std::vector<unsigned char> symbols = ReadBytes(File("DumpedEgrammarSymbols"));
  ASSERT_TRUE(StripSeal(symbols));
  ASSERT_GE(symbols.size(), 2u);
  EXPECT_EQ(symbols[symbols.size() - 2], '\r');
  RestartFromDumps();
  auto loaded = LoadGrammar();
  ASSERT_FALSE(loaded->HasFailed()) << loaded->FailureText();
  EXPECT_EQ(Describe(*loaded), Describe(*compiled));
  EXPECT_EQ(loaded->Stamp(), compiled->Stamp());
  EXPECT_EQ(loaded->GetOrAddPOSId(""), 6);
  EXPECT_EQ(loaded->GetOrAddPOSId("det"), 1);
  // The normalised listing (masks, daughters and their items) is the compiled one's.
  loaded->WriteNormalizedGrammar(File("reloaded.ncfg"));
  EXPECT_EQ(ReadBytes(File("reloaded.ncfg")), ReadBytes(File("ncfgFileName")));
}

TEST_F(GrammarCompileTest, DumpsThatDoNotBelongTogetherAreRefused) {
  ASSERT_FALSE(CompileGrammar(rules_)->HasFailed());
  const std::vector<unsigned char> oldSymbols = ReadBytes(File("DumpedEgrammarSymbols"));
  const std::vector<unsigned char> oldBinary = ReadBytes(File("DumpedEgrammar"));
  ASSERT_FALSE(CompileGrammar(rules_ + u"NP -> n: ^NUM=pl; .\n")->HasFailed());
  const std::vector<unsigned char> goodSymbols = ReadBytes(File("DumpedEgrammarSymbols"));
  const std::vector<unsigned char> goodBinary = ReadBytes(File("DumpedEgrammar"));
  std::vector<unsigned char> cut = goodBinary;
  cut.resize(cut.size() / 2);
  std::string unstamped(goodSymbols.begin(), goodSymbols.end());
  unstamped = unstamped.substr(0, unstamped.rfind("STAMP"));
  RestartFromDumps();
  const std::pair<const char*, std::function<void()>> cases[] = {
      {"symbols dump of another compile", [&] { WriteBytes(File("DumpedEgrammarSymbols"), oldSymbols); }},
      {"binary dump of another compile", [&] { WriteBytes(File("DumpedEgrammar"), oldBinary); }},
      {"binary dump cut short", [&] { WriteBytes(File("DumpedEgrammar"), cut); }},
      {"symbols dump without stamp", [&] { WriteNarrowFile(File("DumpedEgrammarSymbols"), unstamped); }},
      // A fresh registry lacks the items the dump refers to.
      {"registry of another compile", [] { P_FSCompiler::Init(); }},
  };
  for (const auto& [name, spoil] : cases) {
    WriteBytes(File("DumpedEgrammarSymbols"), goodSymbols);
    WriteBytes(File("DumpedEgrammar"), goodBinary);
    spoil();
    MessageRecorder messages;
    auto loaded = LoadGrammar();
    EXPECT_TRUE(loaded->HasFailed()) << name;
    EXPECT_EQ(loaded->ProductionCount(), 0u) << name;
    ASSERT_FALSE(messages.messages().empty()) << name;
    if (std::string(name).starts_with("registry")) {
      EXPECT_NE(messages.messages().back().text.find(u"item registry"), std::u16string::npos);
    }
  }
}

}  // namespace
