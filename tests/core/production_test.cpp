#include <gtest/gtest.h>

#include <memory>

#include "core/file_reader.h"
#include "core/file_writer.h"
#include "core/fs_handle.h"
#include "core/fs_node.h"
#include "core/production.h"
#include "support/test_support.h"

namespace {

CProductionSymbol* Symbol(const WString& name, uint8_t kind = 0) {
  auto* symbol = new CProductionSymbol();
  symbol->name = name;
  symbol->kind = kind;
  return symbol;
}

CEquation* Equation(SymbolId attribute) {
  auto* equation = new CEquation();
  equation->op = u'=';
  equation->left = new CEquationOperand();
  equation->left->kind = '^';
  equation->left->path = {attribute};
  equation->right = new CEquationOperand();
  equation->right->kind = '!';
  return equation;
}

// S -> NP:^SUBJ=!,[^CASE =c nom] VP .  numbered 7, dot on VP.
std::unique_ptr<CProduction> Sentence() {
  auto production = std::make_unique<CProduction>();
  production->number = 7;
  production->mother = Symbol(u"S");
  CProductionSymbol* np = Symbol(u"NP");
  np->equations.push_back(Equation(GetSymbolId(u"SUBJ", true)));
  np->constraints.push_back(u"[^CASE =c nom]");
  production->daughters = {np, Symbol(u"VP"), Symbol(u".")};
  production->lookahead = {GetSymbolId(u"n", true)};
  production->motherAttributes = {GetSymbolId(u"SUBJ", true)};
  production->dot = 1;
  return production;
}

class ProductionTest : public ::testing::Test {
 protected:
  void TearDown() override {
    DeleteGlobalObjectList();
    CFSHandle::DeleteAll();
    CFSNode::DeleteAll();
  }
};

}  // namespace

TEST_F(ProductionTest, CloneCopiesDeeplyAndLeavesTheIndexSetsBehind) {
  const auto original = Sentence();
  const size_t registered = RegisteredProductionCount();
  CProduction* copy = original->Clone();
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(RegisteredProductionCount(), registered + 1);
  EXPECT_EQ(copy->number, 7u);
  EXPECT_EQ(copy->dot, 1);
  EXPECT_EQ(copy->spare, -1);
  EXPECT_TRUE(copy->lookahead.empty());
  EXPECT_TRUE(copy->motherAttributes.empty());
  ASSERT_EQ(copy->daughters.size(), 3u);
  EXPECT_NE(copy->mother, original->mother);
  EXPECT_TRUE(copy->mother->IsEqual(original->mother));
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_NE(copy->daughters[i], original->daughters[i]);
    EXPECT_TRUE(copy->daughters[i]->IsEqual(original->daughters[i])) << i;
  }
  ASSERT_EQ(copy->daughters[0]->equations.size(), 1u);
  EXPECT_NE(copy->daughters[0]->equations[0], original->daughters[0]->equations[0]);

  // Changing the copy leaves the original alone.
  copy->daughters[0]->constraints[0] = u"[^CASE =c erg]";
  EXPECT_EQ(original->daughters[0]->constraints[0], u"[^CASE =c nom]");

  // A daughter's F-structure is copied too, and stays equal.
  original->daughters[1]->fStructure = new CFSHandle(new CFSNode(), 1.0);
  std::unique_ptr<CProductionSymbol> vp(original->daughters[1]->Clone());
  EXPECT_NE(vp->fStructure, original->daughters[1]->fStructure);
  EXPECT_TRUE(vp->IsEqual(original->daughters[1]));
  EXPECT_FALSE(vp->IsEqual(copy->daughters[1]));
}

TEST_F(ProductionTest, RegistryFreesEveryCopyExactlyOnce) {
  const auto original = Sentence();
  const int liveProductions = CProduction::liveInstances;
  const int liveSymbols = CProductionSymbol::liveInstances;
  const int liveEquations = CEquation::liveInstances;
  for (int i = 0; i < 5; ++i) original->Clone();
  CProduction* deletedAlone = original->Clone();
  EXPECT_EQ(RegisteredProductionCount(), 6u);

  // A copy deleted on its own leaves the registry; the bulk delete then
  // frees only the others (the sanitizer build catches a double free).
  delete deletedAlone;
  EXPECT_EQ(RegisteredProductionCount(), 5u);
  DeleteGlobalObjectList();
  EXPECT_EQ(RegisteredProductionCount(), 0u);
  EXPECT_EQ(CProduction::liveInstances, liveProductions);
  EXPECT_EQ(CProductionSymbol::liveInstances, liveSymbols);
  EXPECT_EQ(CEquation::liveInstances, liveEquations);
  DeleteGlobalObjectList();  // an empty registry is fine
}

TEST_F(ProductionTest, DotMovesUpToTheRuleEnd) {
  CProduction empty;
  EXPECT_EQ(empty.GetSymbolAfterDot(), nullptr);
  EXPECT_FALSE(empty.IsDotOnLastDaughter());
  EXPECT_FALSE(empty.HasSingleDaughter());
  EXPECT_FALSE(empty.MoveDot());

  const auto production = Sentence();
  production->ResetDot();
  EXPECT_EQ(production->GetSymbolAfterDot()->name, u"NP");
  EXPECT_TRUE(production->MoveDot());
  EXPECT_TRUE(production->MoveDot());
  EXPECT_TRUE(production->IsDotOnLastDaughter());
  EXPECT_FALSE(production->MoveDot());
  EXPECT_EQ(production->dot, 2);
}

TEST_F(ProductionTest, WriteItemMarksTheDot) {
  TempDir dir;
  const auto production = Sentence();
  CFileWriter writer(dir.File("trace.txt"));
  production->WriteItem(&writer, u"> ");
  production->WriteItem(nullptr, u"lost");
  CProduction empty;
  empty.WriteItem(&writer, u"lost");
  writer.Close();
  CFileReader reader(1024);
  EXPECT_EQ(reader.ReadAll(dir.File("trace.txt")), u"> S ==>  NP @  VP .\r\n");
}
