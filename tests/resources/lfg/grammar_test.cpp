// The Urdu grammar: macro expansion, the rule tokeniser, group expansion,
// lookahead sets, the cfg listing read back, annotations, numbering, the
// indexes, the queries of the generator and the shipped grammar.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "core/file_reader.h"
#include "core/fs_node.h"
#include "core/sentence_state.h"
#include "resources/lfg/grammar_test_helpers.h"
#include "resources/lfg/lexical_entry.h"

using namespace grammar_test;

namespace {

WString ReadText(const std::string& path) { return CFileReader(1024).ReadAll(path); }

// A folder for the grammar files and a grammar compiled in it, empty at
// first; the structures and copied productions of a test are freed after it.
class GrammarTest : public ::testing::Test {
 protected:
  void TearDown() override { ResetSentenceSegment(); }
  TempDir dir;
  std::unique_ptr<CGrammar> grammar = Compile(dir, u"");
};

TEST_F(GrammarTest, MacroExpansion) {
  // Rules, macros, whether '*' becomes #0#1, the expansion and its log lines.
  const std::tuple<const char16_t*, const char16_t*, bool, const char16_t*, uint64_t> cases[] = {
      {u"NP: @SUBJ ;", u"@SUBJ = ^SUBJ=! .", false, u"NP: ^SUBJ=! ;", 0},
      // The first definition wins; a later '=' belongs to the value.
      {u"X: @M.", u"@M = ^A=b.\r\n@M = ^C=d.", false, u"X: ^A=b.", 0},
      // A reference inside a value is copied unexpanded.
      {u"X: @OUTER ;", u"@INNER=^A=b. @OUTER=@INNER, ^C=d.", false, u"X: @INNER, ^C=d ;", 0},
      // Only a blank, a '.' or the end ends a name: a line end does not.
      {u"X: @M\r\nY: ;", u"@M=v.", false, u"X:  ;", 1},
      {u"[A: ;]* B*", u"", true, u"[A: ;]#0#1 B#0#1", 0},
      // An unknown reference is reported and expands to nothing.
      {u"X: @NOPE ; Y", u"@M=v.", false, u"X:  ; Y", 1},
  };
  for (const auto& [rules, macros, replaceStar, expected, logLines] : cases) {
    WriteUtf16File(dir.File("m.txt"), macros);
    WriteUtf16File(dir.File("r.txt"), rules);
    const auto log = LogLines();
    grammar->ExpandMacros(dir.File("r.txt"), dir.File("m.txt"), dir.File("out.lfg"), replaceStar);
    EXPECT_EQ(ReadText(dir.File("out.lfg")), expected) << ToUtf8(rules);
    EXPECT_EQ(log(), logLines) << ToUtf8(rules);
  }
}

// A macro whose value holds a letter that no annotation has (a damaged
// file) makes the grammar damaged, naming the macro; comments of the macro
// file may hold any letter.
TEST_F(GrammarTest, AMacroValueOutsideAnnotationTextIsDamage) {
  const std::tuple<const char16_t*, const char16_t*> cases[] = {
      {u"@M = ~[^PRONTYPE =c pers] .", u""},
      {u"/ a comment with \u0627\u0648\u0631 in it.\r\n@M = ^A=b .", u""},
      {u"@M = ~[^PRONTY\u1050E =c pers] .", u"the macro @M holds a character that no annotation has"},
      {u"@M = ^A=\u0001b .", u"the macro @M holds a character that no annotation has"},
      // A reference to no macro names it once, with its at sign.
      {u"@N = ^A=b .", u"the macro @M is not defined"},
  };
  for (const auto& [macros, damage] : cases) {
    std::unique_ptr<CGrammar> fresh = Compile(dir, u"");
    WriteUtf16File(dir.File("m.txt"), macros);
    WriteUtf16File(dir.File("r.txt"), u"X: @M ;");
    fresh->ExpandMacros(dir.File("r.txt"), dir.File("m.txt"), dir.File("out.lfg"), false);
    EXPECT_EQ(ToUtf8(fresh->Damage()), ToUtf8(damage)) << ToUtf8(macros);
  }
}

TEST_F(GrammarTest, RuleTokeniser) {
  const std::pair<const char16_t*, Lines> cases[] = {
      // Comments run to the line end; one after a ';' leaves the rule open.
      {u"/ a comment: with -> and .\r\nS -> NP: ; / NP. more\r\n VP: ; .", {"S -> NP VP"}},
      {u"S -> [A: ; | B: ;]#0#2 .", {"S -> [ A | B ] # 0 # 2"}},
      // A rule without its '.' and text after the last '.' are dropped.
      {u"S -> A: ; . T -> B: ;", {"S -> A"}},
      // The end of the file inside an annotation ends the reading.
      {u"S -> A: ; . T -> B: ^X=y", {"S -> A"}},
  };
  for (const auto& [text, expected] : cases) {
    WriteUtf16File(dir.File("t.lfg"), text);
    EXPECT_EQ(DescribeRaw(grammar->TokenizeRules(dir.File("t.lfg"))), expected) << ToUtf8(text);
  }
  // A daughter without ':' runs into the next daughter's name.
  WriteUtf16File(dir.File("t.lfg"), u"S -> NP VP: ; .");
  EXPECT_EQ(grammar->TokenizeRules(dir.File("t.lfg"))[0]->Rhs[0]->Text, u"NP VP");
  WriteUtf16File(dir.File("t.lfg"), u"S -> NP :  ^SUBJ=! ,  ^CASE=nom ; .");
  const RawProductionList rules = grammar->TokenizeRules(dir.File("t.lfg"));
  ASSERT_EQ(rules.size(), 1u);
  EXPECT_EQ(rules[0]->Rhs[0]->Annotation, u"^SUBJ=! ,  ^CASE=nom");
  EXPECT_EQ(rules[0]->Rhs[0]->Flag, 0);
  EXPECT_EQ(rules[0]->Rhs[1]->Flag, 1);
}

TEST_F(GrammarTest, EachNotationBecomesGeneratedProductions) {
  const std::pair<const char16_t*, Lines> cases[] = {
      {u"S -> NP: ^SUBJ=!; (Det: ^=!; Adj: ^ADJ$!;) VP: ^=!; .", {"P_1 -> Det Adj", "P_1 ->", "S -> NP P_1 VP"}},
      {u"S -> [A: ; B: ;]* .", {"P_1 -> A B P_1", "P_1 ->", "S -> P_1"}},
      {u"S -> [A: ;]+ C: ; .", {"P_1 -> A", "P_1 -> A P_1", "S -> P_1 C"}},
      {u"S -> [A: ;]#0#2 .", {"P_2 -> A", "P_1 ->", "P_1 -> P_2", "P_1 -> P_2 P_2", "S -> P_1"}},
      {u"S -> [X: ; % Y: ; % Z: ;] .",
       {"P_1 -> X Y Z", "P_1 -> X Z Y", "P_1 -> Y X Z", "P_1 -> Y Z X", "P_1 -> Z X Y", "P_1 -> Z Y X", "S -> P_1"}},
      // A bar in a group splits it into its single members.
      {u"S -> [X: ; % Y: ; | Z: ;] .", {"P_1 -> X", "P_1 -> Y", "P_1 -> Z", "S -> P_1"}},
      {u"S -> [A: ; B: ;] C: ; .", {"P_1 -> A B", "S -> P_1 C"}},
      // Inner groups close first and become members of the outer one.
      {u"S -> [A: ; (B: ;)]* .", {"P_1 -> B", "P_1 ->", "P_2 -> A P_1 P_2", "P_2 ->", "S -> P_2"}},
      // After a parenthesised group a suffix stays in the rule.
      {u"S -> (A: ;)* .", {"P_1 -> A", "P_1 ->", "S -> P_1 *"}},
      // Without anything before its rule end the source rule is dropped.
      {u"S -> .", {}},
  };
  for (const auto& [rule, expected] : cases) {
    EXPECT_EQ(DescribeRaw(Expand(*grammar, dir, rule)), expected) << ToUtf8(rule);
  }
  // Unmatched brackets and broken counts drop their rule with a log line.
  for (const char16_t* rule : {u"S -> A: ; ] . T -> B: ; .", u"S -> [A: ;]#x#2 . T -> B: ; ."}) {
    const auto log = LogLines();
    EXPECT_EQ(DescribeRaw(Expand(*grammar, dir, rule)), Lines{"T -> B"});
    EXPECT_EQ(log(), 1u);
  }
  // A generated daughter shares its mother's structure; names restart with every run.
  const RawProductionList expanded = Expand(*grammar, dir, u"S -> NP: ^SUBJ=!; (Det: ^=!;) .");
  ASSERT_EQ(DescribeRaw(expanded), (Lines{"P_1 -> Det", "P_1 ->", "S -> NP P_1"}));
  EXPECT_EQ(expanded[2]->Rhs[1]->Annotation, u"^=!");
  EXPECT_EQ(expanded[2]->Rhs[1]->Flag, 0);
  // Empty and one-member index ranges.
  std::vector<std::vector<uint16_t>> out;
  CGrammar::GenerateIndexPermutations(3, 3, out);
  CGrammar::GenerateIndexPermutations(1, 0, out);
  EXPECT_EQ(out, (std::vector<std::vector<uint16_t>>{{3}, {}}));
}

TEST_F(GrammarTest, LookaheadSetsFollowNullableCategories) {
  RawProductionList productions =
      Expand(*grammar, dir, u"S -> NP: ; VP: ; . NP -> (det: ;) N: ; . N -> n: ; . VP -> v: ; (NP: ;) . Q -> X: ; .");
  ASSERT_EQ(DescribeRaw(productions), (Lines{"S -> NP VP", "P_1 -> det", "P_1 ->", "NP -> P_1 N", "N -> n", "P_2 -> NP",
                                             "P_2 ->", "VP -> v P_2", "Q -> X"}));
  const NameSet empty = grammar->CollectEmptyCategories(productions);
  EXPECT_EQ(empty, (NameSet{u"P_1", u"P_2"}));
  grammar->ComputeLookaheadSets(productions, empty);
  const std::set<SymbolId> det = {Id(u"det")}, n = {Id(u"n")}, detN = {Id(u"det"), Id(u"n")};
  // S through the optional determiner; P_1 -> (empty) takes FOLLOW(P_1);
  // nothing follows VP for P_2 -> (empty); X of Q -> X is never defined.
  const std::vector<std::set<SymbolId>> expected = {detN, det, n, detN, n, detN, {}, {Id(u"v")}, {}};
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(productions[i]->Lookahead, expected[i]) << i;
}

TEST_F(GrammarTest, FollowLooksPastANullableMiddleDaughterUpToTheFirstThatCannotBeEmpty) {
  // In S -> P_1 P_2 B D, FOLLOW(P_1) is FIRST(P_2) and FIRST(B) (P_2 can be
  // empty) but not FIRST(D); the empty productions take their FOLLOW sets.
  RawProductionList productions = Expand(*grammar, dir, u"S -> (x: ;) (m: ;) B: ; D: ; . B -> b: ; . D -> d: ; .");
  ASSERT_EQ(DescribeRaw(productions),
            (Lines{"P_1 -> x", "P_1 ->", "P_2 -> m", "P_2 ->", "S -> P_1 P_2 B D", "B -> b", "D -> d"}));
  grammar->ComputeLookaheadSets(productions, grammar->CollectEmptyCategories(productions));
  const SymbolId x = Id(u"x"), m = Id(u"m"), b = Id(u"b");
  const std::vector<std::set<SymbolId>> expected = {{x}, {m, b}, {m}, {b}, {x, m, b}, {b}, {Id(u"d")}};
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(productions[i]->Lookahead, expected[i]) << i;
}

TEST_F(GrammarTest, CfgListingNamesTheLookaheadAndReadsBack) {
  // A terminal met first in the rules is interned, not listed as empty.
  const WString terminal = u"zzneverseenterminal";
  ASSERT_EQ(GetSymbolId(terminal, false), kNoSymbol);
  grammar = Compile(dir, u"S -> " + terminal + u": ^=!; .");
  const SymbolId id = GetSymbolId(terminal, false);
  ASSERT_NE(id, kNoSymbol);
  auto productions = grammar->GetProductionsByName(u"S");
  ASSERT_EQ(productions->size(), 1u);
  EXPECT_EQ((*productions)[0]->lookahead, std::set<SymbolId>{id});
  const RawProductionList cfg = grammar->ReadCfgFile(dir.File("rules.cfg"));
  ASSERT_EQ(cfg.size(), 1u);
  EXPECT_EQ(cfg[0]->Lookahead, std::set<SymbolId>{id});

  RawProductionList one = Expand(*grammar, dir, u"S -> NP: ^SUBJ=!; VP: ^=!; .");
  one[0]->Lookahead = {Id(u"n"), Id(u"pn")};
  grammar->WriteCfgFile(one, dir.File("one.cfg"));
  const WString names = Id(u"n") < Id(u"pn") ? u"n,pn," : u"pn,n,";
  EXPECT_EQ(ReadText(dir.File("one.cfg")), u"S [" + names + u"] -> NP:^SUBJ=!; VP:^=!; .\r\n");

  RawProductionList written =
      Expand(*grammar, dir,
             u"S -> NP: ^SUBJ=!, ^CASE=nom; (Adv: ^ADJUNCT$!;) VP: ^=!; . E -> (V: ;) .\n"
             u"NP -> [det: ^SPEC=!; | pron: ^=!;] n: ^=!, [^NUM] ; . VP -> (V: ^=!;)* v: ^=!; .");
  grammar->ComputeLookaheadSets(written, grammar->CollectEmptyCategories(written));
  grammar->WriteCfgFile(written, dir.File("out.cfg"));
  // Every production comes back with its lookahead and every daughter's
  // name, annotation and flag.
  auto full = [](const RawProductionList& list) {
    Lines lines;
    for (const auto& p : list) {
      std::string line = ToUtf8(p->Lhs->Text) + " [";
      for (SymbolId lookahead : p->Lookahead) line += std::to_string(lookahead) + ",";
      line += "] ->";
      for (const CRawSymbol* s : p->Rhs) {
        line += " " + ToUtf8(s->Text) + ":" + ToUtf8(s->Annotation) + ";" + std::to_string(s->Flag);
      }
      lines.push_back(line);
    }
    return lines;
  };
  EXPECT_EQ(full(grammar->ReadCfgFile(dir.File("out.cfg"))), full(written));
}

TEST_F(GrammarTest, UnopenableFilesGiveAnEmptyGrammar) {
  MessageRecorder messages;
  CGrammar empty(dir.File("missing-rules.txt"), dir.File("missing-macros.txt"), dir.File("g.lfg"), dir.File("g.cfg"),
                 nullptr, false, true);
  EXPECT_FALSE(messages.messages().empty());
  ProductionList out;
  EXPECT_FALSE(empty.GetProductions(empty.GetCategoryId(u"S"), out));
  EXPECT_TRUE(empty.GetProductionsByName(u"S")->empty());
}

std::vector<WString> Texts(const ProductionList& productions) {
  std::vector<WString> texts;
  for (const CProduction* production : productions) texts.push_back(ProductionText(*production));
  return texts;
}

TEST_F(GrammarTest, AnnotationCompiler) {
  // Annotation, equations, constraint texts, and rejected items (log lines).
  const std::tuple<const char16_t*, std::vector<WString>, std::vector<WString>, uint64_t> cases[] = {
      {u"", {}, {}, 0},
      {u"^ADJUNCT$!", {u"^ ADJUNCT$! "}, {}, 0},
      {u"^SUBJ=!, ^SUBJ CASE=erg", {u"^ SUBJ=! ", u"^ SUBJ CASE=v erg"}, {}, 0},
      // A 'c' right after '=' makes the item a constraint.
      {u"^CASE=cnom", {}, {u"[^CASE =c nom]"}, 0},
      {u"^CASE =c nom", {}, {u"[^CASE  =c nom]"}, 0},
      // Bracketed and negated constraints are kept whole, commas included.
      {u"[^OBJ [^PRED, ^NUM]], ^=!", {u"^ =! "}, {u"[^OBJ [^PRED, ^NUM]]"}, 0},
      {u"~[^NEG], ^=!", {u"^ =! "}, {u"~[^NEG]"}, 0},
      // Braces protect their commas.
      {u"^TENSE={pres,past}", {u"^ TENSE=v pres past"}, {}, 0},
      // Every item gets its own equation; broken items are rejected whole.
      {u"^A=, ^B=x", {u"^ B=v x"}, {}, 1},
      {u"bare, ^B=x", {u"^ B=v x"}, {}, 1},
      {u"=x", {}, {}, 1},
  };
  for (const auto& [annotation, equations, constraints, rejected] : cases) {
    CProductionSymbol symbol;
    symbol.name = u"NP";
    const auto log = LogLines();
    grammar->CompileAnnotation(symbol, annotation);
    std::vector<WString> texts;
    for (const CEquation* equation : symbol.equations) texts.push_back(equation->ToString());
    EXPECT_EQ(std::tie(texts, symbol.constraints), std::tie(equations, constraints)) << ToUtf8(annotation);
    EXPECT_EQ(log(), rejected) << ToUtf8(annotation);
  }
}

TEST_F(GrammarTest, ProductionsAreNumberedIndexedAndGetTheirMotherAttributes) {
  const auto log = LogLines();
  grammar = Compile(dir,
                    u"S -> NP: ^SUBJ=!, ^OBL=x; Undefined: ^TOPIC=!; VP: ^=!; . VP -> NP: ^OBJ=!; v: ^=!; .\n"
                    u"VP -> v: [^NEG], ^NEG=!; . NP -> n: ^=!; . NP -> NP: ^=!; pp: ^=!; .");
  // The undefined category is reported, and the categories after it still
  // get their mother attributes, the attributes of the first equations.
  EXPECT_EQ(log(), 1u);
  // Numbered in name order, then file order.
  std::vector<std::tuple<WString, uint32_t, std::set<SymbolId>>> numbered;
  for (const auto& [name, p] : *grammar->Store()) {
    numbered.emplace_back(ProductionText(*p), p->number, p->motherAttributes);
  }
  EXPECT_EQ(numbered, (decltype(numbered){{u"NP -> n", 2, {}},
                                          {u"NP -> NP pp", 3, {}},
                                          {u"S -> NP Undefined VP", 4, {Id(u"SUBJ"), Id(u"TOPIC")}},
                                          {u"VP -> NP v", 5, {Id(u"OBJ")}},
                                          {u"VP -> v", 6, {Id(u"NEG")}}}));
  // Ids in the order names are first met: mothers by name, then daughters.
  EXPECT_EQ(grammar->SymbolTable().GetName(1), u"NP");
  EXPECT_EQ(grammar->SymbolTable().GetName(2), u"S");
  // The rule end closes every production: kind 0, no id.
  for (const auto& [name, p] : *grammar->Store()) {
    EXPECT_EQ(std::tie(p->daughters.back()->name, p->daughters.back()->kind, p->daughters.back()->id),
              std::make_tuple(u".", 0, kNoSymbol));
  }
  // The right-side index lists every production using a category.
  const std::pair<const char16_t*, std::vector<uint32_t>> cases[] = {{u"NP", {3, 4, 5}}, {u"VP", {4}}, {u"S", {}}};
  for (const auto& [category, numbers] : cases) {
    std::vector<uint32_t> out;
    EXPECT_EQ(grammar->GetProductionsUsingCategory(grammar->GetCategoryId(category), out), !numbers.empty());
    EXPECT_EQ(out, numbers);
  }
  // Terminals and the rule end are left out; ids past the index answer false.
  std::vector<uint32_t> out;
  EXPECT_FALSE(grammar->GetProductionsUsingCategory(static_cast<uint16_t>(grammar->GetCategoryId(u"NEW")), out));
  EXPECT_FALSE(grammar->GetProductionsUsingCategory(60000, out));
  EXPECT_FALSE(grammar->AddRhsOccurrence(60000, 1));
}

TEST_F(GrammarTest, ManyCategoriesAllGetSlots) {
  // Far more categories than a fixed table of 500 slots would hold.
  WString rules;
  for (int i = 0; i < 700; ++i) {
    rules += u"C" + NarrowToWide(IntToString(i)) + u" -> x: ^A" + NarrowToWide(IntToString(i)) + u"=!; .\n";
  }
  const auto log = LogLines();
  grammar = Compile(dir, rules);
  EXPECT_EQ(log(), 0u);
  ProductionList out;
  ASSERT_TRUE(grammar->GetProductions(grammar->GetCategoryId(u"C699"), out));
  EXPECT_EQ(out[0]->motherAttributes, std::set<SymbolId>{Id(u"A699")});
  EXPECT_FALSE(grammar->GetProductions(30000, out));
  EXPECT_FALSE(grammar->GetProductions(-1, out));
}

TEST_F(GrammarTest, CollectProductionsFilterByAttributesAndPredictionsByCategories) {
  grammar = Compile(dir,
                    u"S -> NP: ^SUBJ=!; VP: ^=!; . S -> VP: ^=!; . VP -> NP: ^OBJ=!; v: ^=!; . VP -> v: ^=!; .\n"
                    u"NP -> det: ^SPEC=!; n: ^=!; . NP -> pron: ^=!; . T -> NP: ^TOPIC=!; S: ^=!; .");
  auto* root = new CFSNode();
  const std::pair<std::vector<SymbolId>, std::vector<WString>> cases[] = {
      {{}, {u"S -> VP"}},
      {{Id(u"OBJ")}, {u"S -> VP"}},
      {{Id(u"SUBJ")}, {u"S -> NP VP", u"S -> VP"}},
  };
  for (const auto& [children, expected] : cases) {
    root->ChildList.clear();
    for (SymbolId attribute : children) root->AddChild(new CFSNode(static_cast<int16_t>(attribute), root));
    ProductionList out;
    EXPECT_TRUE(grammar->CollectProductions(grammar->GetCategoryId(u"S"), out, root));
    EXPECT_EQ(Texts(out), expected);
    // The same productions by reference: the grammar's own, nothing registered.
    const size_t registered = RegisteredProductionCount();
    ProductionList own, all;
    EXPECT_TRUE(grammar->FindProductions(grammar->GetCategoryId(u"S"), own, root));
    EXPECT_EQ(Texts(own), expected);
    grammar->GetProductions(grammar->GetCategoryId(u"S"), all);
    for (const CProduction* production : own) EXPECT_NE(std::find(all.begin(), all.end(), production), all.end());
    EXPECT_EQ(RegisteredProductionCount(), registered);
  }
  // A category whose productions all need a missing attribute gives nothing.
  ProductionList none;
  EXPECT_FALSE(grammar->CollectProductions(grammar->GetCategoryId(u"T"), none, root));
  EXPECT_FALSE(grammar->CollectProductions(grammar->GetCategoryId(u"Nothing"), none, nullptr));
  EXPECT_TRUE(none.empty());
  EXPECT_EQ(Texts(*grammar->GetProductionsByName(u"  VP \t")), (std::vector<WString>{u"VP -> NP v", u"VP -> v"}));
  // Predictions keep the productions whose FIRST set holds a word's category.
  CLexicalEntry det, pron, v, adj;
  for (auto [entry, category] : {std::pair{&det, u"det"}, {&pron, u"pron"}, {&v, u"v"}, {&adj, u"adj"}}) {
    entry->category = static_cast<int16_t>(Id(category));
  }
  const std::tuple<const char16_t*, std::vector<CLexicalEntry*>, std::vector<WString>> predictions[] = {
      {u"NP", {&det, &pron}, {u"NP -> det n", u"NP -> pron"}},
      {u"NP", {&adj}, {}},
      {u"VP", {&v}, {u"VP -> v"}},
      {u"S", {&pron}, {u"S -> NP VP", u"S -> VP"}},
  };
  for (const auto& [category, entries, expected] : predictions) {
    const size_t registered = RegisteredProductionCount();
    ProductionList out;
    EXPECT_EQ(grammar->CollectPredictedProductions(grammar->GetCategoryId(category), &entries, out), !expected.empty());
    EXPECT_EQ(Texts(out), expected);
    // The grammar's own objects, not copies.
    EXPECT_EQ(RegisteredProductionCount(), registered);
  }
  // Without entries every production comes, as registered copies.
  const size_t registered = RegisteredProductionCount();
  ProductionList all;
  EXPECT_TRUE(grammar->CollectPredictedProductions(grammar->GetCategoryId(u"NP"), nullptr, all));
  EXPECT_EQ(all.size(), 2u);
  EXPECT_EQ(RegisteredProductionCount(), registered + 2);
}

TEST_F(GrammarTest, ItemTextsWithBarsBecomeAlternativesAndCopiesStayOutOfTheRegistry) {
  const std::pair<const char16_t*, std::vector<std::vector<WString>>> cases[] = {
      {u"[^CASE=nom | ^CASE=acc | ^CASE=dat]", {{u"[^CASE=nom]"}, {u"[^CASE=acc]"}, {u"[^CASE=dat]"}}},
      // The units next to the bar are kept; blanks are trimmed.
      {u"[X | Y]", {{u"[X]"}, {u"[Y]"}}},
      {u"[^NUM]", {{u"[^NUM]"}}},
      // Only the first disjunction of a production is split.
      {u"[A|B], [C|D]", {{u"[A]", u"[C|D]"}, {u"[B]", u"[C|D]"}}},
  };
  for (const auto& [annotation, expected] : cases) {
    grammar = Compile(dir, u"NP -> n: ^=!, " + WString(annotation) + u"; . Z -> NP: ^=!; .");
    grammar->ExpandDisjunctions();
    ProductionList out;
    grammar->GetProductions(grammar->GetCategoryId(u"NP"), out);
    std::vector<std::vector<WString>> constraints;
    for (const CProduction* production : out) {
      EXPECT_EQ(production->number, out[0]->number);
      EXPECT_EQ(production->daughters[0]->equations.size(), 1u);
      constraints.push_back(production->daughters[0]->constraints);
    }
    EXPECT_EQ(constraints, expected);
  }
  // Every category is visited, past an undefined one; copies stay out of the registry.
  DeleteGlobalObjectList();
  const auto log = LogLines();
  grammar = Compile(dir, u"A -> Gap: ^=!; .\nB -> b: ^=!, [^CASE=x | ^CASE=y]; .\n");  // Gap is never defined
  EXPECT_EQ(log(), 1u);
  grammar->ExpandDisjunctions();
  ProductionList out;
  ASSERT_TRUE(grammar->GetProductions(grammar->GetCategoryId(u"B"), out));
  EXPECT_EQ(out.size(), 2u);
  EXPECT_EQ(RegisteredProductionCount(), 0u);
  // Copies carry no lookahead and no mother attributes.
  EXPECT_FALSE(out[0]->lookahead.empty());
  EXPECT_TRUE(out[1]->lookahead.empty());
  DeleteGlobalObjectList();
  EXPECT_EQ(out[1]->daughters[0]->constraints, std::vector<WString>{u"[^CASE=y]"});
}

TEST_F(GrammarTest, PredictionsByNameFilterTheStoreByTheWordsCategories) {
  grammar = Compile(dir,
                    u"S -> q: ^=! ; NP: ^SUBJ=! ; v: ^=! ; .\nS -> NP: ^SUBJ=! ; v: ^=! ; .\n"
                    u"NP -> det: ^SPEC=! ; n: ^=! ; .\nNP -> n: ^=! ; .\nNP -> pron: ^=! ; .\n"
                    u"Adv -> adv: ^=! ; .");
  CLexicalEntry det, n, pron, q, adv;
  for (auto [entry, category] : {std::pair{&det, u"det"}, {&n, u"n"}, {&pron, u"pron"}, {&q, u"q"}, {&adv, u"adv"}}) {
    entry->category = static_cast<int16_t>(Id(category));
  }
  const std::tuple<const char16_t*, std::vector<CLexicalEntry*>, std::vector<WString>> cases[] = {
      {u"NP", {&det}, {u"NP -> det n"}},
      {u" NP ", {&n, &pron}, {u"NP -> n", u"NP -> pron"}},
      {u"NP", {&adv}, {}},
      {u"S", {&q}, {u"S -> q NP v"}},
      {u"S", {&pron}, {u"S -> NP v"}},
      {u"Nothing", {&n}, {}},
  };
  for (const auto& [name, entries, expected] : cases) {
    SCOPED_TRACE(ToUtf8(name));
    const size_t registered = RegisteredProductionCount();
    ProductionList out;
    EXPECT_EQ(grammar->CollectPredictedProductionsByName(name, &entries, out), !expected.empty());
    EXPECT_EQ(Texts(out), expected);
    EXPECT_EQ(RegisteredProductionCount(), registered);  // the grammar's own objects
  }
  // Without entries every production of the name comes, in file order.
  ProductionList all;
  EXPECT_TRUE(grammar->CollectPredictedProductionsByName(u"NP", nullptr, all));
  EXPECT_EQ(Texts(all), (std::vector<WString>{u"NP -> det n", u"NP -> n", u"NP -> pron"}));
  // The predictions are the store's objects, appended after what out held.
  const std::unique_ptr<ProductionList> stored = grammar->GetProductionsByName(u"NP");
  std::vector<CLexicalEntry*> nouns = {&n};
  EXPECT_TRUE(grammar->CollectPredictedProductionsByName(u"NP", &nouns, all));
  ASSERT_EQ(all.size(), 4u);
  EXPECT_EQ(all[3], (*stored)[1]);
}

TEST_F(GrammarTest, StoreDisjunctionsBecomeStoreProductionsAfterTheMothersOthers) {
  const std::pair<const char16_t*, std::vector<std::vector<WString>>> cases[] = {
      {u"[^CASE=nom | ^CASE=acc | ^CASE=dat]", {{u"[^CASE=nom]"}, {u"[^NUM]"}, {u"[^CASE=acc]"}, {u"[^CASE=dat]"}}},
      {u"[X | Y]", {{u"[X]"}, {u"[^NUM]"}, {u"[Y]"}}},
      {u"[^CASE=nom]", {{u"[^CASE=nom]"}, {u"[^NUM]"}}},
      // Only the first disjunction of a production is split.
      {u"[A | B], [C | D]", {{u"[A]", u"[C | D]"}, {u"[^NUM]"}, {u"[B]", u"[C | D]"}}},
  };
  for (const auto& [annotation, expected] : cases) {
    SCOPED_TRACE(ToUtf8(annotation));
    grammar = Compile(dir, u"NP -> n: ^=!, " + WString(annotation) +
                               u"; .\nNP -> pron: ^=!, [^NUM]; .\n"
                               u"Z -> NP: ^=!; .");
    ProductionList tableBefore;
    grammar->GetProductions(grammar->GetCategoryId(u"NP"), tableBefore);
    const size_t registered = RegisteredProductionCount();
    EXPECT_TRUE(grammar->ExpandStoreDisjunctions());
    EXPECT_EQ(RegisteredProductionCount(), registered);
    std::vector<std::vector<WString>> constraints;
    const std::unique_ptr<ProductionList> stored = grammar->GetProductionsByName(u"NP");
    for (const CProduction* production : *stored) {
      constraints.push_back(production->daughters[0]->constraints);
    }
    EXPECT_EQ(constraints, expected);
    // The table keeps its productions; the copies are in the store only.
    ProductionList tableAfter;
    grammar->GetProductions(grammar->GetCategoryId(u"NP"), tableAfter);
    EXPECT_EQ(tableAfter, tableBefore);
    EXPECT_EQ(grammar->GetProductionsByName(u"Z")->size(), 1u);
  }
  // Arguments that do not fit change nothing.
  grammar = Compile(dir, u"NP -> n: ^=!, [X | Y]; .");
  CProduction* production = (*grammar->GetProductionsByName(u"NP"))[0];
  EXPECT_FALSE(grammar->ExpandStoreDisjunction(nullptr, 0, 0, u"[X | Y]", 3));
  EXPECT_FALSE(grammar->ExpandStoreDisjunction(production, 5, 0, u"[X | Y]", 3));
  EXPECT_FALSE(grammar->ExpandStoreDisjunction(production, 0, 5, u"[X | Y]", 3));
  EXPECT_FALSE(grammar->ExpandStoreDisjunction(production, 0, 0, u"[X | Y]", 0));
  EXPECT_EQ(grammar->GetProductionsByName(u"NP")->size(), 1u);
  EXPECT_EQ(production->daughters[0]->constraints, std::vector<WString>{u"[X | Y]"});
}

TEST_F(GrammarTest, ShippedUrduGrammarCompilesWithoutAMessage) {
  const char* root = std::getenv("LFG_SOURCE_DIR");
  ASSERT_NE(root, nullptr);
  const std::string data = std::string(root) + "/dataroot/data/";
  MessageRecorder messages;
  const auto log = LogLines();
  CGrammar urdu(data + "UGrammarRules.txt", data + "UGrammarMacros.txt", dir.File("ULfg.lfg"), dir.File("UCfg.cfg"),
                nullptr, false, true);
  urdu.ExpandDisjunctions();
  EXPECT_TRUE(messages.messages().empty());
  EXPECT_EQ(log(), 0u);
  // Every category has productions, and the clause level is reachable.
  for (int id = 1; id < urdu.SymbolTable().GetIdLimit(); ++id) {
    ProductionList out;
    EXPECT_TRUE(urdu.GetProductions(static_cast<int16_t>(id), out)) << "no productions for id " << id;
  }
  auto sentences = urdu.GetProductionsByName(u"S");
  ASSERT_FALSE(sentences->empty());
  for (const CProduction* production : *sentences) EXPECT_FALSE(production->lookahead.empty());
  std::vector<uint32_t> usingNp;
  EXPECT_TRUE(urdu.GetProductionsUsingCategory(static_cast<uint16_t>(urdu.GetCategoryId(u"NP")), usingNp));
}

}  // namespace
