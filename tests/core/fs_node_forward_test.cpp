// Forward pointers: forwarding a node to the end of a chain, and copies of
// structures that keep their forwards inside the copy.
#include <gtest/gtest.h>

#include "core/fs_handle.h"
#include "core/fs_node.h"
#include "core/production.h"
#include "core/symbol_table.h"

namespace {

SymbolId Sym(const char16_t* name) { return GetSymbolId(name, true); }

class ForwardTest : public ::testing::Test {
 protected:
  void SetUp() override { RegisterReservedSymbols(); }
  void TearDown() override { CFSNode::DeleteAll(); }
  static CFSNode* Add(CFSNode* parent, const char16_t* attribute) {
    auto* node = new CFSNode(static_cast<int16_t>(Sym(attribute)), nullptr);
    if (parent != nullptr) parent->AddChild(node);
    return node;
  }
};

}  // namespace

TEST_F(ForwardTest, ForwardToTakesTheEndOfTheChainAndStopsAtCycles) {
  auto *a = Add(nullptr, u"A"), *b = Add(nullptr, u"B"), *c = Add(nullptr, u"C"), *d = Add(nullptr, u"D");
  c->ForwardTo(d);
  b->ForwardTo(c);
  EXPECT_EQ(b->Forward, d) << "the end of the chain, not the first step";
  EXPECT_EQ(b->IsForwarded, 1);
  // A chain that leads back to the node stops before it.
  d->ForwardTo(a);
  a->ForwardTo(b);
  EXPECT_EQ(a->Forward, d);
  // A cycle that does not pass the node ends where it closes.
  auto* e = Add(nullptr, u"E");
  c->Forward = b;  // b -> d -> a -> d ... and c -> b: a cycle d, a
  e->ForwardTo(c);
  EXPECT_NE(e->Forward, nullptr);
  EXPECT_NE(e->Forward, e);
  // Forwarding to itself or to nothing clears the forward.
  a->ForwardTo(a);
  EXPECT_EQ(a->Forward, nullptr);
  EXPECT_EQ(a->IsForwarded, 0);
  b->ForwardTo(nullptr);
  EXPECT_EQ(b->Forward, nullptr);
  EXPECT_EQ(b->IsForwarded, 0);
  // FollowForward reaches the end and survives a cycle.
  EXPECT_EQ(d->FollowForward(), a);  // d still forwards to a, whose own forward was cleared
  EXPECT_NE(e->FollowForward(), nullptr);
}

TEST_F(ForwardTest, ACopyKeepsForwardsInsideItselfAndCopiesOutsideTargetsOnce) {
  CFSNode* root = Add(nullptr, u"ROOT");
  CFSNode* subjCase = Add(Add(root, u"SUBJ"), u"CASE");
  subjCase->Value = {Sym(u"erg")};
  CFSNode* clauseCase = Add(root, u"SUBJ_CASE");
  clauseCase->ForwardTo(subjCase);
  CFSNode* outside = Add(nullptr, u"NUM");
  outside->Value = {Sym(u"sg")};
  CFSNode* first = Add(root, u"FIRST");
  CFSNode* second = Add(root, u"SECOND");
  first->ForwardTo(outside);
  second->ForwardTo(outside);

  CFSNode* copy = root->Clone();
  const std::vector<SymbolId> casePath{Sym(u"SUBJ"), Sym(u"CASE")};
  CFSNode* copiedCase = copy->FindPath(&casePath, true);
  CFSNode* copiedClauseCase = copy->FindAttribute(Sym(u"SUBJ_CASE"));
  ASSERT_NE(copiedClauseCase, nullptr);
  EXPECT_EQ(copiedClauseCase->Forward, copiedCase) << "a forward inside the structure stays inside the copy";
  CFSNode* copiedFirst = copy->FindAttribute(Sym(u"FIRST"));
  CFSNode* copiedSecond = copy->FindAttribute(Sym(u"SECOND"));
  ASSERT_NE(copiedFirst->Forward, nullptr);
  EXPECT_NE(copiedFirst->Forward, outside) << "a target outside is copied";
  EXPECT_EQ(copiedFirst->Forward, copiedSecond->Forward) << "once for both";
  EXPECT_EQ(copiedFirst->Forward->Value, outside->Value);
  // A value reached through the copy's forward no longer reaches the original.
  bool created = false;
  const std::vector<SymbolId> clauseCasePath{Sym(u"SUBJ_CASE")};
  EXPECT_EQ(copy->FindOrCreatePath(&clauseCasePath, created), copiedCase);
}

TEST_F(ForwardTest, ASymbolCopyKeepsItsBoundNode) {
  CProductionSymbol symbol;
  CFSNode* node = Add(nullptr, u"SUBJ");
  symbol.generatorNode = node;
  std::unique_ptr<CProductionSymbol> copy(symbol.Clone());
  EXPECT_EQ(copy->generatorNode, node);
}
