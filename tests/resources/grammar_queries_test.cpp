#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "core/fs_node.h"
#include "core/symbol_table.h"
#include "resources/grammar_test_helpers.h"
#include "resources/lexical_entry.h"

using grammar_test::Compile;
using grammar_test::LogWatch;
using grammar_test::ProductionText;

namespace {

SymbolId Id(const char16_t* name) { return GetSymbolId(name, true); }

class GrammarQueries : public ::testing::Test {
 protected:
  void SetUp() override {
    grammar_ = Compile(dir_,
                       u"S -> NP: ^SUBJ=!; VP: ^=!; .\n"
                       u"S -> VP: ^=!; .\n"
                       u"VP -> NP: ^OBJ=!; v: ^=!; .\n"
                       u"VP -> v: ^=!; .\n"
                       u"NP -> det: ^SPEC=!; n: ^=!; .\n"
                       u"NP -> pron: ^=!; .\n"
                       u"T -> NP: ^TOPIC=!; S: ^=!; .\n");
  }
  void TearDown() override {
    DeleteGlobalObjectList();
    CFSNode::DeleteAll();
  }

  std::vector<WString> Texts(const ProductionList& productions) {
    std::vector<WString> texts;
    for (const CProduction* production : productions) texts.push_back(ProductionText(*production));
    return texts;
  }

  TempDir dir_;
  std::unique_ptr<CGrammar> grammar_;
};

}  // namespace

TEST_F(GrammarQueries, CollectProductionsFiltersByTheStructuresAttributes) {
  const int16_t s = grammar_->GetCategoryId(u"S");
  auto* root = new CFSNode();
  struct Case {
    std::vector<SymbolId> children;
    std::vector<WString> expected;
  };
  const Case cases[] = {
      {{}, {u"S -> VP"}},
      {{Id(u"OBJ")}, {u"S -> VP"}},
      {{Id(u"SUBJ")}, {u"S -> NP VP", u"S -> VP"}},
  };
  for (const Case& c : cases) {
    root->ChildList.clear();
    for (SymbolId attribute : c.children) root->AddChild(new CFSNode(static_cast<int16_t>(attribute), root));
    ProductionList out;
    EXPECT_TRUE(grammar_->CollectProductions(s, out, root));
    EXPECT_EQ(Texts(out), c.expected);
  }
  // A category whose productions all need a missing attribute gives nothing.
  ProductionList none;
  EXPECT_FALSE(grammar_->CollectProductions(grammar_->GetCategoryId(u"T"), none, root));
  EXPECT_TRUE(none.empty());
  ProductionList out;
  EXPECT_FALSE(grammar_->CollectProductions(grammar_->GetCategoryId(u"Nothing"), out, nullptr));
  EXPECT_TRUE(out.empty());
}

TEST_F(GrammarQueries, PredictedProductionsMatchTheWordsCategories) {
  auto entry = [](const char16_t* category) {
    auto result = std::make_unique<CLexicalEntry>();
    result->category = static_cast<int16_t>(Id(category));
    return result;
  };
  const auto det = entry(u"det"), pron = entry(u"pron"), v = entry(u"v"), adj = entry(u"adj");
  struct Case {
    const char16_t* category;
    std::vector<CLexicalEntry*> entries;
    std::vector<WString> expected;
  };
  const Case cases[] = {
      {u"NP", {det.get()}, {u"NP -> det n"}},
      {u"NP", {det.get(), pron.get()}, {u"NP -> det n", u"NP -> pron"}},
      {u"NP", {adj.get()}, {}},
      {u"VP", {v.get()}, {u"VP -> v"}},
      {u"S", {pron.get()}, {u"S -> NP VP", u"S -> VP"}},
  };
  for (const Case& c : cases) {
    const size_t registered = RegisteredProductionCount();
    ProductionList out;
    EXPECT_EQ(grammar_->CollectPredictedProductions(grammar_->GetCategoryId(c.category), &c.entries, out),
              !c.expected.empty());
    EXPECT_EQ(Texts(out), c.expected);
    // The grammar's own objects, not copies.
    EXPECT_EQ(RegisteredProductionCount(), registered);
  }
  const size_t registered = RegisteredProductionCount();
  ProductionList all;
  EXPECT_TRUE(grammar_->CollectPredictedProductions(grammar_->GetCategoryId(u"NP"), nullptr, all));
  EXPECT_EQ(all.size(), 2u);
  EXPECT_EQ(RegisteredProductionCount(), registered + 2);
}

TEST_F(GrammarQueries, ProductionsByNameTrimTheName) {
  EXPECT_EQ(Texts(*grammar_->GetProductionsByName(u"  VP \t")), (std::vector<WString>{u"VP -> NP v", u"VP -> v"}));
  EXPECT_TRUE(grammar_->GetProductionsByName(u"XP")->empty());
}

TEST(GrammarDisjunctions, ItemTextsWithBarsBecomeAlternatives) {
  struct Case {
    const char16_t* annotation;
    std::vector<std::vector<WString>> constraints;  // per production of NP, in order
  };
  const Case cases[] = {
      {u"[^CASE=nom | ^CASE=acc | ^CASE=dat]", {{u"[^CASE=nom]"}, {u"[^CASE=acc]"}, {u"[^CASE=dat]"}}},
      // The units next to the bar are kept; blanks are trimmed.
      {u"[X|Y]", {{u"[X]"}, {u"[Y]"}}},
      {u"[X | Y]", {{u"[X]"}, {u"[Y]"}}},
      // Only the first disjunction of a production is split.
      {u"[A|B], [C|D]", {{u"[A]", u"[C|D]"}, {u"[B]", u"[C|D]"}}},
      {u"[^NUM]", {{u"[^NUM]"}}},
  };
  for (const Case& c : cases) {
    TempDir dir;
    auto grammar = Compile(dir, u"NP -> n: ^=!, " + WString(c.annotation) + u"; . Z -> NP: ^=!; .");
    grammar->ExpandDisjunctions();
    ProductionList out;
    grammar->GetProductions(grammar->GetCategoryId(u"NP"), out);
    std::vector<std::vector<WString>> constraints;
    for (const CProduction* production : out) {
      EXPECT_EQ(production->number, out[0]->number);
      EXPECT_EQ(production->daughters[0]->equations.size(), 1u);
      constraints.push_back(production->daughters[0]->constraints);
    }
    EXPECT_EQ(constraints, c.constraints);
  }
}

TEST(GrammarDisjunctions, EveryCategoryIsVisitedAndCopiesStayOutOfTheRegistry) {
  TempDir dir;
  LogWatch log;
  auto grammar = Compile(dir,
                         u"A -> Gap: ^=!; .\n"                    // Gap is never defined
                         u"B -> b: ^=!, [^CASE=x | ^CASE=y]; .\n");
  EXPECT_EQ(log.Lines(), 1u);
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

TEST(UrduGrammar, ShippedGrammarCompilesWithoutAMessage) {
  const char* root = std::getenv("LFG_SOURCE_DIR");
  ASSERT_NE(root, nullptr);
  const std::filesystem::path data = std::filesystem::path(root) / "dataroot" / "data";
  const std::string rules = (data / "UGrammarRules.txt").string();
  const std::string macros = (data / "UGrammarMacros.txt").string();
  ASSERT_TRUE(std::filesystem::exists(rules));
  ASSERT_TRUE(std::filesystem::exists(macros));
  TempDir dir;
  MessageRecorder messages;
  LogWatch log;
  CGrammar grammar(rules, macros, dir.File("ULfg.lfg"), dir.File("UCfg.cfg"), nullptr, false, true);
  grammar.ExpandDisjunctions();
  EXPECT_TRUE(messages.messages().empty());
  EXPECT_EQ(log.Lines(), 0u);

  // Every category has productions, and the clause level is reachable.
  for (int id = 1; id < grammar.SymbolTable().GetIdLimit(); ++id) {
    ProductionList out;
    EXPECT_TRUE(grammar.GetProductions(static_cast<int16_t>(id), out))
        << "no productions for id " << id;
  }
  auto sentences = grammar.GetProductionsByName(u"S");
  ASSERT_FALSE(sentences->empty());
  for (const CProduction* production : *sentences) EXPECT_FALSE(production->lookahead.empty());
  std::vector<uint32_t> usingNp;
  EXPECT_TRUE(grammar.GetProductionsUsingCategory(static_cast<uint16_t>(grammar.GetCategoryId(u"NP")), usingNp));
}
