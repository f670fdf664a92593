#include <gtest/gtest.h>

#include "core/file_reader.h"
#include "core/symbol_table.h"
#include "resources/grammar_test_helpers.h"

using grammar_test::Compile;
using grammar_test::LogWatch;
using grammar_test::RawTexts;

namespace {

WString ReadText(const std::string& path) {
  CFileReader reader(1024);
  return reader.ReadAll(path);
}

// Expands the rules with the macros and returns the lfg text.
WString ExpandText(const TempDir& dir, CGrammar& grammar, const WString& rules, const WString& macros,
                   bool replaceStar) {
  WriteUtf16File(dir.File("m.txt"), macros);
  WriteUtf16File(dir.File("r.txt"), rules);
  grammar.ExpandMacros(dir.File("r.txt"), dir.File("m.txt"), dir.File("out.lfg"), replaceStar);
  return ReadText(dir.File("out.lfg"));
}

}  // namespace

TEST(GrammarFiles, MacroExpansion) {
  struct Case {
    const char16_t* rules;
    const char16_t* macros;
    bool replaceStar;
    const char16_t* expected;
    uint64_t logLines;
  };
  const Case cases[] = {
      {u"NP: @SUBJ ;", u"@SUBJ = ^SUBJ=! .", false, u"NP: ^SUBJ=! ;", 0},
      // The first definition wins; a later '=' belongs to the value.
      {u"X: @M.", u"@M = ^A=b.\r\n@M = ^C=d.", false, u"X: ^A=b.", 0},
      // A reference inside a value is copied unexpanded.
      {u"X: @OUTER ;", u"@INNER=^A=b. @OUTER=@INNER, ^C=d.", false, u"X: @INNER, ^C=d ;", 0},
      // Only a blank, a '.' or the end ends a name: a line end does not.
      {u"X: @M\r\nY: ;", u"@M=v.", false, u"X:  ;", 1},
      {u"[A: ;]* B*", u"", true, u"[A: ;]#0#1 B#0#1", 0},
      {u"[A: ;]* B*", u"", false, u"[A: ;]* B*", 0},
      // An unknown reference is reported and expands to nothing.
      {u"X: @NOPE ; Y", u"@M=v.", false, u"X:  ; Y", 1},
  };
  TempDir dir;
  auto grammar = Compile(dir, u"");
  for (size_t i = 0; i < std::size(cases); ++i) {
    LogWatch log;
    EXPECT_EQ(ExpandText(dir, *grammar, cases[i].rules, cases[i].macros, cases[i].replaceStar), cases[i].expected)
        << "case " << i;
    EXPECT_EQ(log.Lines(), cases[i].logLines) << "case " << i;
  }
}

TEST(GrammarFiles, RuleTokeniser) {
  struct Case {
    const char16_t* text;
    std::vector<WString> expected;
  };
  const Case cases[] = {
      {u"S -> NP: ^SUBJ=!; VP: ^=!; .", {u"S -> NP VP"}},
      // Comments run to the line end; one after a ';' leaves the rule open.
      {u"/ a comment: with -> and .\r\nS -> NP: ; / NP. more\r\n VP: ; .", {u"S -> NP VP"}},
      {u"S -> [A: ; | B: ;] .", {u"S -> [ A | B ]"}},
      {u"S -> [A: ;]#0#2 .", {u"S -> [ A ] # 0 # 2"}},
      // A rule without its '.' and text after the last '.' are dropped.
      {u"S -> A: ; . T -> B: ;", {u"S -> A"}},
      // The end of the file inside an annotation ends the reading.
      {u"S -> A: ; . T -> B: ^X=y", {u"S -> A"}},
  };
  TempDir dir;
  auto grammar = Compile(dir, u"");
  for (size_t i = 0; i < std::size(cases); ++i) {
    WriteUtf16File(dir.File("t.lfg"), cases[i].text);
    EXPECT_EQ(RawTexts(grammar->TokenizeRules(dir.File("t.lfg"))), cases[i].expected) << "case " << i;
  }
  // A daughter without ':' runs into the next daughter's name.
  WriteUtf16File(dir.File("t.lfg"), u"S -> NP VP: ; .");
  EXPECT_EQ(grammar->TokenizeRules(dir.File("t.lfg"))[0]->Rhs[0]->Text, u"NP VP");
  WriteUtf16File(dir.File("t.lfg"), u"S -> NP :  ^SUBJ=! ,  ^CASE=nom ; .");
  const RawProductionList rules = grammar->TokenizeRules(dir.File("t.lfg"));
  ASSERT_EQ(rules.size(), 1u);
  EXPECT_EQ(rules[0]->Rhs[0]->Annotation, u"^SUBJ=! ,  ^CASE=nom");
  EXPECT_EQ(rules[0]->Rhs[0]->Flag, 0);
  EXPECT_EQ(rules[0]->Rhs[1]->Text, u".");
  EXPECT_EQ(rules[0]->Rhs[1]->Flag, 1);
}

TEST(GrammarFiles, CfgLinesNameTheLookaheadTerminals) {
  TempDir dir;
  auto grammar = Compile(dir, u"");
  RawProductionList list;
  auto production = std::make_unique<CRawProduction>();
  production->Lhs = new CRawSymbol(u"S", u"", 0);
  production->Rhs = {new CRawSymbol(u"NP", u"^SUBJ=!", 0), new CRawSymbol(u"VP", u"^=!", 0),
                     CGrammar::MakeRuleEndSymbol().release()};
  production->Lookahead = {GetSymbolId(u"n", true), GetSymbolId(u"pn", true)};
  list.push_back(std::move(production));
  grammar->WriteCfgFile(list, dir.File("one.cfg"));
  const WString names = GetSymbolId(u"n", true) < GetSymbolId(u"pn", true) ? u"n,pn," : u"pn,n,";
  EXPECT_EQ(ReadText(dir.File("one.cfg")), u"S [" + names + u"] -> NP:^SUBJ=!; VP:^=!; .\r\n");
}

TEST(GrammarFiles, CfgFileReadsBackWhatWasWritten) {
  TempDir dir;
  auto grammar = Compile(dir, u"");
  WriteUtf16File(dir.File("in.lfg"),
                 u"S -> NP: ^SUBJ=!, ^CASE=nom; (Adv: ^ADJUNCT$!;) VP: ^=!; .\n"
                 u"NP -> [det: ^SPEC=!; | pron: ^=!;] n: ^=!, [^NUM] ; .\n"
                 u"VP -> (V: ^=!;)* v: ^=!; .\n"
                 u"E -> (V: ;) .\n");
  RawProductionList written = grammar->ExpandRuleGroups(grammar->TokenizeRules(dir.File("in.lfg")));
  grammar->ComputeLookaheadSets(written, grammar->CollectEmptyCategories(written));
  grammar->WriteCfgFile(written, dir.File("out.cfg"));
  const RawProductionList read = grammar->ReadCfgFile(dir.File("out.cfg"));
  ASSERT_EQ(read.size(), written.size());
  for (size_t i = 0; i < read.size(); ++i) {
    const CRawProduction& a = *written[i];
    const CRawProduction& b = *read[i];
    EXPECT_EQ(b.Lhs->Text, a.Lhs->Text) << i;
    EXPECT_EQ(b.Lookahead, a.Lookahead) << i;
    ASSERT_EQ(b.Rhs.size(), a.Rhs.size()) << i;
    for (size_t j = 0; j < a.Rhs.size(); ++j) {
      EXPECT_EQ(b.Rhs[j]->Text, a.Rhs[j]->Text) << i << "," << j;
      EXPECT_EQ(b.Rhs[j]->Annotation, a.Rhs[j]->Annotation) << i << "," << j;
      EXPECT_EQ(b.Rhs[j]->Flag, a.Rhs[j]->Flag) << i << "," << j;
    }
  }
}

TEST(GrammarFiles, UnopenableFilesGiveAnEmptyGrammar) {
  TempDir dir;
  MessageRecorder messages;
  CGrammar grammar(dir.File("missing-rules.txt"), dir.File("missing-macros.txt"), dir.File("g.lfg"),
                   dir.File("g.cfg"), nullptr, false, true);
  EXPECT_FALSE(messages.messages().empty());
  ProductionList out;
  EXPECT_FALSE(grammar.GetProductions(grammar.GetCategoryId(u"S"), out));
  EXPECT_TRUE(grammar.GetProductionsByName(u"S")->empty());
}
