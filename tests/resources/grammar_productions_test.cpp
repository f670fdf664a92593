#include <gtest/gtest.h>

#include "core/symbol_table.h"
#include "resources/grammar_test_helpers.h"

using grammar_test::Compile;
using grammar_test::LogWatch;
using grammar_test::ProductionText;

namespace {

SymbolId Id(const char16_t* name) { return GetSymbolId(name, true); }

std::vector<WString> EquationTexts(const CProductionSymbol& symbol) {
  std::vector<WString> texts;
  for (const CEquation* equation : symbol.equations) texts.push_back(equation->ToString());
  return texts;
}

}  // namespace

TEST(GrammarProductions, AnnotationCompiler) {
  struct Case {
    const char16_t* annotation;
    std::vector<WString> equations;
    std::vector<WString> constraints;
    uint64_t rejected;
  };
  const Case cases[] = {
      {u"", {}, {}, 0},
      {u"^SUBJ=!", {u"^ SUBJ=! "}, {}, 0},
      {u"^ADJUNCT$!", {u"^ ADJUNCT$! "}, {}, 0},
      {u"^CASE=nom", {u"^ CASE=v nom"}, {}, 0},
      // A 'c' right after '=' makes the item a constraint.
      {u"^CASE=cnom", {}, {u"[^CASE =c nom]"}, 0},
      {u"^CASE =c nom", {}, {u"[^CASE  =c nom]"}, 0},
      {u"^SUBJ=!, ^SUBJ CASE=erg", {u"^ SUBJ=! ", u"^ SUBJ CASE=v erg"}, {}, 0},
      // Bracketed and negated constraints are kept whole, commas included.
      {u"[^OBJ [^PRED, ^NUM]], ^=!", {u"^ =! "}, {u"[^OBJ [^PRED, ^NUM]]"}, 0},
      {u"~[^NEG], ^=!", {u"^ =! "}, {u"~[^NEG]"}, 0},
      // Braces protect their commas.
      {u"^TENSE={pres,past}", {u"^ TENSE=v pres past"}, {}, 0},
      // Every item gets its own equation; broken items are rejected whole.
      {u"^A=, ^B=x", {u"^ B=v x"}, {}, 1},
      {u"bare, ^B=x", {u"^ B=v x"}, {}, 1},
      {u"^B=x, bare", {u"^ B=v x"}, {}, 1},
      {u"^A=", {}, {}, 1},
      {u"=x", {}, {}, 1},
  };
  TempDir dir;
  auto grammar = Compile(dir, u"");
  for (size_t i = 0; i < std::size(cases); ++i) {
    CProductionSymbol symbol;
    symbol.name = u"NP";
    LogWatch log;
    grammar->CompileAnnotation(symbol, cases[i].annotation);
    EXPECT_EQ(EquationTexts(symbol), cases[i].equations) << "case " << i;
    EXPECT_EQ(symbol.constraints, cases[i].constraints) << "case " << i;
    EXPECT_EQ(log.Lines(), cases[i].rejected) << "case " << i;
  }
}

TEST(GrammarProductions, NumberedInNameOrderThenFileOrder) {
  TempDir dir;
  auto grammar = Compile(dir,
                         u"NP -> n: ^=!; .\n"
                         u"AP -> adj: ^=!; .\n"
                         u"NP -> pron: ^=!; .\n");
  std::vector<std::pair<WString, uint32_t>> numbered;
  for (const auto& [name, production] : *grammar->Store()) numbered.emplace_back(ProductionText(*production), production->number);
  EXPECT_EQ(numbered, (std::vector<std::pair<WString, uint32_t>>{
                          {u"AP -> adj", 2}, {u"NP -> n", 3}, {u"NP -> pron", 4}}));
  // Ids in the order names are first met: mothers by name, then daughters.
  EXPECT_EQ(grammar->SymbolTable().GetName(1), u"AP");
  EXPECT_EQ(grammar->SymbolTable().GetName(2), u"NP");
  // The rule end closes every production: kind 0, no id, no annotation.
  for (const auto& [name, production] : *grammar->Store()) {
    const CProductionSymbol* end = production->daughters.back();
    EXPECT_EQ(end->name, u".");
    EXPECT_EQ(end->kind, 0);
    EXPECT_EQ(end->id, kNoSymbol);
  }
}

TEST(GrammarProductions, RightSideIndexListsEveryProductionUsingACategory) {
  TempDir dir;
  auto grammar = Compile(dir,
                         u"S -> NP: ^SUBJ=!; VP: ^=!; .\n"   // 4
                         u"VP -> NP: ^OBJ=!; v: ^=!; .\n"    // 5
                         u"VP -> v: ^=!; .\n"                // 6
                         u"NP -> n: ^=!; .\n"                // 2
                         u"NP -> NP: ^=!; pp: ^=!; .\n");    // 3
  struct Case {
    const char16_t* category;
    std::vector<uint32_t> numbers;
  };
  const Case cases[] = {{u"NP", {3, 4, 5}}, {u"VP", {4}}, {u"S", {}}};
  for (const Case& c : cases) {
    std::vector<uint32_t> out;
    EXPECT_EQ(grammar->GetProductionsUsingCategory(grammar->GetCategoryId(c.category), out), !c.numbers.empty());
    EXPECT_EQ(out, c.numbers);
  }
  // Terminals and the rule end are left out; ids past the index answer false.
  std::vector<uint32_t> out;
  EXPECT_FALSE(grammar->GetProductionsUsingCategory(static_cast<uint16_t>(grammar->GetCategoryId(u"NEW")), out));
  EXPECT_FALSE(grammar->GetProductionsUsingCategory(60000, out));
  EXPECT_FALSE(grammar->AddRhsOccurrence(60000, 1));
}

TEST(GrammarProductions, MotherAttributesComeFromFirstEquations) {
  TempDir dir;
  LogWatch log;
  auto grammar = Compile(dir,
                         u"S -> NP: ^SUBJ=!, ^OBL=x; Undefined: ^TOPIC=!; VP: ^=!; .\n"
                         u"VP -> v: ^=!; NP: ^OBJ=!; .\n"
                         u"VP -> v: [^NEG], ^NEG=!; .\n"
                         u"NP -> n: ^=!; .\n");
  // The undefined category is reported, and the categories after it still
  // get their mother attributes.
  EXPECT_EQ(log.Lines(), 1u);
  struct Case {
    const char16_t* text;
    std::set<SymbolId> attributes;
  };
  const Case cases[] = {
      {u"S -> NP Undefined VP", {Id(u"SUBJ"), Id(u"TOPIC")}},
      {u"VP -> v NP", {Id(u"OBJ")}},
      {u"VP -> v", {Id(u"NEG")}},
      {u"NP -> n", {}},
  };
  for (const Case& c : cases) {
    bool found = false;
    for (const auto& [name, production] : *grammar->Store()) {
      if (ProductionText(*production) != c.text) continue;
      found = true;
      EXPECT_EQ(production->motherAttributes, c.attributes);
    }
    EXPECT_TRUE(found);
  }
}

TEST(GrammarProductions, ManyCategoriesAllGetSlots) {
  // Far more categories than a fixed table of 500 slots would hold.
  WString rules;
  for (int i = 0; i < 700; ++i) {
    const WString n = NarrowToWide(IntToString(i));
    rules += u"C" + n + u" -> x: ^A" + n + u"=!; .\n";
  }
  TempDir dir;
  LogWatch log;
  auto grammar = Compile(dir, rules);
  EXPECT_EQ(log.Lines(), 0u);
  ProductionList out;
  ASSERT_TRUE(grammar->GetProductions(grammar->GetCategoryId(u"C699"), out));
  EXPECT_EQ(out[0]->motherAttributes, std::set<SymbolId>{Id(u"A699")});
  EXPECT_FALSE(grammar->GetProductions(30000, out));
  EXPECT_FALSE(grammar->GetProductions(-1, out));
}
