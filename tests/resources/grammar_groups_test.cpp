#include <gtest/gtest.h>

#include "core/symbol_table.h"
#include "resources/grammar_test_helpers.h"

using grammar_test::Compile;
using grammar_test::Expand;
using grammar_test::LogWatch;
using grammar_test::RawTexts;

namespace {

std::set<SymbolId> Ids(std::initializer_list<const char16_t*> names) {
  std::set<SymbolId> ids;
  for (const char16_t* name : names) ids.insert(GetSymbolId(name, true));
  return ids;
}

}  // namespace

TEST(GrammarGroups, EachNotationBecomesGeneratedProductions) {
  struct Case {
    const char16_t* rule;
    std::vector<WString> expected;
  };
  const Case cases[] = {
      {u"S -> NP: ^SUBJ=!; (Det: ^=!; Adj: ^ADJ$!;) VP: ^=!; .",
       {u"P_1 -> Det Adj", u"P_1 ->", u"S -> NP P_1 VP"}},
      {u"S -> [A: ; B: ;]* .", {u"P_1 -> A B P_1", u"P_1 ->", u"S -> P_1"}},
      {u"S -> [A: ;]+ C: ; .", {u"P_1 -> A", u"P_1 -> A P_1", u"S -> P_1 C"}},
      {u"S -> [A: ;]#0#2 .", {u"P_2 -> A", u"P_1 ->", u"P_1 -> P_2", u"P_1 -> P_2 P_2", u"S -> P_1"}},
      {u"S -> [A: ;]#1#1 .", {u"P_2 -> A", u"P_1 -> P_2", u"S -> P_1"}},
      {u"S -> [X: ; % Y: ; % Z: ;] .",
       {u"P_1 -> X Y Z", u"P_1 -> X Z Y", u"P_1 -> Y X Z", u"P_1 -> Y Z X", u"P_1 -> Z X Y", u"P_1 -> Z Y X",
        u"S -> P_1"}},
      {u"S -> [X: ; | Y: ;] .", {u"P_1 -> X", u"P_1 -> Y", u"S -> P_1"}},
      {u"S -> [X: ; Y: ; | Z: ;] .", {u"P_1 -> X", u"P_1 -> Y", u"P_1 -> Z", u"S -> P_1"}},
      {u"S -> [X: ; % Y: ; | Z: ;] .", {u"P_1 -> X", u"P_1 -> Y", u"P_1 -> Z", u"S -> P_1"}},
      {u"S -> [A: ; B: ;] C: ; .", {u"P_1 -> A B", u"S -> P_1 C"}},
      // Inner groups close first and become members of the outer one.
      {u"S -> [A: ; (B: ;)]* .", {u"P_1 -> B", u"P_1 ->", u"P_2 -> A P_1 P_2", u"P_2 ->", u"S -> P_2"}},
      {u"S -> [(A: ;) | B: ;] .", {u"P_1 -> A", u"P_1 ->", u"P_2 -> P_1", u"P_2 -> B", u"S -> P_2"}},
      // After a parenthesised group a suffix stays in the rule.
      {u"S -> (A: ;)* .", {u"P_1 -> A", u"P_1 ->", u"S -> P_1 *"}},
      // Without anything before its rule end the source rule is dropped, the
      // generated empty production stays.
      {u"S -> .", {}},
      {u"S -> (A: ;) .", {u"P_1 -> A", u"P_1 ->", u"S -> P_1"}},
  };
  TempDir dir;
  auto grammar = Compile(dir, u"");
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(RawTexts(Expand(*grammar, dir, cases[i].rule)), cases[i].expected) << "case " << i;
  }
}

TEST(GrammarGroups, GeneratedDaughtersShareTheMothersStructure) {
  TempDir dir;
  auto grammar = Compile(dir, u"");
  const RawProductionList expanded = Expand(*grammar, dir, u"S -> NP: ^SUBJ=!; (Det: ^=!;) .");
  ASSERT_EQ(expanded.size(), 3u);
  const CRawProduction& s = *expanded[2];
  ASSERT_EQ(s.Rhs.size(), 3u);
  EXPECT_EQ(s.Rhs[0]->Annotation, u"^SUBJ=!");
  EXPECT_EQ(s.Rhs[1]->Text, u"P_1");
  EXPECT_EQ(s.Rhs[1]->Annotation, u"^=!");
  EXPECT_EQ(s.Rhs[1]->Flag, 0);
  // Generated names restart with every run.
  EXPECT_EQ(RawTexts(Expand(*grammar, dir, u"T -> (A: ;) .")).back(), u"T -> P_1");
}

TEST(GrammarGroups, UnmatchedBracketsDropTheRuleWithALogLine) {
  TempDir dir;
  auto grammar = Compile(dir, u"");
  const std::vector<std::pair<const char16_t*, std::vector<WString>>> cases = {
      {u"S -> A: ; ] . T -> B: ; .", {u"T -> B"}},
      {u"S -> [A: ;]#x#2 . T -> B: ; .", {u"T -> B"}},
  };
  for (const auto& [rule, expected] : cases) {
    LogWatch log;
    EXPECT_EQ(RawTexts(Expand(*grammar, dir, rule)), expected);
    EXPECT_EQ(log.Lines(), 1u);
  }
}

TEST(GrammarGroups, PermutationsComeInLexicographicOrder) {
  struct Case {
    uint16_t low;
    int16_t high;
    std::vector<std::vector<uint16_t>> expected;
  };
  const Case cases[] = {
      {0, 2, {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}}},
      {3, 3, {{3}}},
      {1, 0, {{}}},
  };
  for (const Case& c : cases) {
    std::vector<std::vector<uint16_t>> out;
    CGrammar::GenerateIndexPermutations(c.low, c.high, out);
    EXPECT_EQ(out, c.expected);
  }
}

TEST(GrammarGroups, LookaheadSetsFollowNullableCategories) {
  TempDir dir;
  auto grammar = Compile(dir, u"");
  RawProductionList productions = Expand(*grammar, dir,
                                         u"S -> NP: ; VP: ; .\n"
                                         u"NP -> (det: ;) N: ; .\n"
                                         u"N -> n: ; .\n"
                                         u"VP -> v: ; (NP: ;) .\n"
                                         u"Q -> X: ; .\n");
  ASSERT_EQ(RawTexts(productions),
            (std::vector<WString>{u"S -> NP VP", u"P_1 -> det", u"P_1 ->", u"NP -> P_1 N", u"N -> n",
                                  u"P_2 -> NP", u"P_2 ->", u"VP -> v P_2", u"Q -> X"}));
  const NameSet empty = grammar->CollectEmptyCategories(productions);
  EXPECT_EQ(empty, (NameSet{u"P_1", u"P_2"}));
  grammar->ComputeLookaheadSets(productions, empty);
  const std::vector<std::set<SymbolId>> expected = {
      Ids({u"det", u"n"}),  // S: FIRST(NP) through the optional determiner
      Ids({u"det"}),        // P_1 -> det
      Ids({u"n"}),          // P_1 -> (empty) takes FOLLOW(P_1)
      Ids({u"det", u"n"}),  // NP
      Ids({u"n"}),
      Ids({u"det", u"n"}),
      {},                   // P_2 -> (empty): nothing follows VP
      Ids({u"v"}),
      {},                   // Q -> X: X is never defined
  };
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(productions[i]->Lookahead, expected[i]) << i;
}

TEST(GrammarGroups, NewTerminalsAreInternedNotWrittenAsEmpty) {
  TempDir dir;
  const WString terminal = u"zzneverseenterminal";
  ASSERT_EQ(GetSymbolId(terminal, false), kNoSymbol);
  auto grammar = Compile(dir, u"S -> " + terminal + u": ^=!; .");
  const SymbolId id = GetSymbolId(terminal, false);
  ASSERT_NE(id, kNoSymbol);
  auto productions = grammar->GetProductionsByName(u"S");
  ASSERT_EQ(productions->size(), 1u);
  EXPECT_EQ((*productions)[0]->lookahead, std::set<SymbolId>{id});
  const RawProductionList cfg = grammar->ReadCfgFile(dir.File("rules.cfg"));
  ASSERT_EQ(cfg.size(), 1u);
  EXPECT_EQ(cfg[0]->Lookahead, std::set<SymbolId>{id});
}
