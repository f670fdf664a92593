// Productions and the other records the stages pass to each other: copies,
// the dot, and who owns what.
#include <gtest/gtest.h>

#include "core/cs_node.h"
#include "core/file_reader.h"
#include "core/file_writer.h"
#include "core/fs_handle.h"
#include "core/fs_node.h"
#include "core/parse_result.h"
#include "core/production.h"
#include "core/raw_production.h"
#include "support/test_support.h"

namespace {

// S -> NP:[^CASE =c nom] VP .  numbered 7, dot on VP, NP with an equation, VP with an F-structure.
std::unique_ptr<CProduction> Sentence() {
  auto production = std::make_unique<CProduction>();
  auto symbol = [](const char16_t* name) {
    auto* made = new CProductionSymbol();
    made->name = name;
    return made;
  };
  production->number = 7;
  production->mother = symbol(u"S");
  production->daughters = {symbol(u"NP"), symbol(u"VP"), symbol(u".")};
  production->daughters[0]->equations.push_back(new CEquation());
  production->daughters[0]->constraints.push_back(u"[^CASE =c nom]");
  production->daughters[1]->fStructure = new CFSHandle(new CFSNode(), 1.0);
  production->lookahead = {GetSymbolId(u"n", true)};
  production->motherAttributes = {GetSymbolId(u"SUBJ", true)};
  production->dot = 1;
  return production;
}

// Frees the productions, handles and nodes a test leaves in their registries.
class Records : public ::testing::Test {
 protected:
  void TearDown() override {
    DeleteGlobalObjectList();
    CFSHandle::DeleteAll();
    CFSNode::DeleteAll();
  }
};

}  // namespace

TEST_F(Records, ProductionCloneCopiesDeeplyAndLeavesTheIndexSetsBehind) {
  const auto original = Sentence();
  CProduction* copy = original->Clone();
  EXPECT_EQ(std::pair(copy->number, copy->dot), std::pair(7u, uint16_t{1}));
  EXPECT_TRUE(copy->lookahead.empty() && copy->motherAttributes.empty());
  for (size_t i = 0; i < original->daughters.size(); ++i) {
    EXPECT_NE(copy->daughters.at(i), original->daughters[i]);
    EXPECT_TRUE(copy->daughters[i]->IsEqual(original->daughters[i])) << i;
  }
  EXPECT_NE(copy->daughters[1]->fStructure, original->daughters[1]->fStructure);
  EXPECT_EQ(copy->daughters[0]->equations.at(0), original->daughters[0]->equations[0]);  // shared, never changed
  copy->daughters[0]->constraints[0] = u"[^CASE =c erg]";                                // the original is left alone
  EXPECT_FALSE(copy->daughters[0]->IsEqual(original->daughters[0]));
}

TEST_F(Records, ProductionRegistryFreesEveryCopyExactlyOnce) {
  const auto original = Sentence();
  const auto live = [] {
    return std::tuple(CProduction::liveInstances, CProductionSymbol::liveInstances, CEquation::liveInstances);
  };
  const auto before = live();
  for (int i = 0; i < 5; ++i) original->Clone();
  delete original->Clone();  // it leaves the registry; the sanitizer build catches a double free
  EXPECT_EQ(RegisteredProductionCount(), 5u);
  DeleteGlobalObjectList();
  EXPECT_EQ(RegisteredProductionCount(), 0u);
  EXPECT_EQ(live(), before);
}

TEST_F(Records, SharedEquationsLiveUntilTheLastCopyGoesWhateverTheOrder) {
  const int before = CEquation::liveInstances;
  // Each order frees the original, a copy and a copy of the copy; the
  // sanitizer build sees an equation freed early or twice.
  const std::vector<std::vector<int>> orders = {{0, 1, 2}, {2, 1, 0}, {1, 0, 2}, {0, 2, 1}};
  for (const std::vector<int>& order : orders) {
    std::unique_ptr<CProduction> productions[3];
    productions[0] = Sentence();
    productions[1] = productions[0]->Copy();
    productions[2] = productions[1]->Copy();
    const CEquation* shared = productions[0]->daughters[0]->equations.at(0);
    EXPECT_EQ(productions[2]->daughters[0]->equations.at(0), shared);
    EXPECT_EQ(CEquation::liveInstances, before + 1);
    for (size_t i = 0; i < order.size(); ++i) {
      productions[order[i]].reset();
      if (i + 1 < order.size()) {
        EXPECT_EQ(productions[order.back()]->daughters[0]->equations[0]->ToString(), shared->ToString());
      }
    }
    EXPECT_EQ(CEquation::liveInstances, before);
  }
}

TEST_F(Records, DotMovesUpToTheRuleEndAndWriteItemMarksIt) {
  CProduction empty;
  EXPECT_FALSE(empty.MoveDot());
  const auto production = Sentence();
  TempDir dir;
  CFileWriter writer(dir.File("trace.txt"));
  production->WriteItem(&writer, u"> ");
  production->WriteItem(nullptr, u"lost");
  empty.WriteItem(&writer, u"lost");  // nothing to write
  writer.Close();
  EXPECT_EQ(CFileReader(1024).ReadAll(dir.File("trace.txt")), u"> S ==>  NP @  VP .\r\n");
  production->ResetDot();
  EXPECT_EQ(production->GetSymbolAfterDot()->name, u"NP");
  EXPECT_TRUE(production->MoveDot() && production->MoveDot());
  EXPECT_TRUE(production->IsDotOnLastDaughter());
  EXPECT_FALSE(production->MoveDot());
  EXPECT_EQ(production->dot, 2);
}

TEST_F(Records, ParseResultFreesTheCStructureAndNamesButNoFStructure) {
  const auto live = [] { return std::pair(CCSNode::liveInstances, CNamedId::liveInstances); };
  const auto before = live();
  auto* fs = new CFSNode();
  auto* s = new CCSNode(u"S", u"", nullptr, fs, 1);
  auto* vp = new CCSNode(u"VP", u"", s, fs, 2);
  EXPECT_FALSE(s->AddChild(nullptr));
  s->AddChild(vp);  // a node is not appended to the parent it is made with
  vp->AddChild(new CCSNode(u"V", u"sleeps", vp, fs, 3));
  auto* result = new CParseResult(new CFSHandle(fs, 1.0), new CCSHandle(s));
  result->Names.Items = {new CNamedId(u"he", 12), new CNamedId(u"sleeps", 13)};
  const size_t fsHandles = CFSHandle::RegisteredCount(), fsNodes = CFSNode::RegisteredCount();
  delete result;
  EXPECT_EQ(live(), before);
  EXPECT_EQ(std::pair(CFSHandle::RegisteredCount(), CFSNode::RegisteredCount()), std::pair(fsHandles, fsNodes));
  delete new CParseResult(nullptr, nullptr);  // no tree is fine too
}

TEST_F(Records, NamedIdListsAndRawProductionsOwnCopiesOfTheirElements) {
  const int names = CNamedId::liveInstances, rawSymbols = CRawSymbol::liveInstances;
  {
    CNamedIdList source;
    source.Items = {new CNamedId(u"a", 1), new CNamedId(u"b", -1)};
    CNamedIdList copy(source), assigned;
    assigned.Items.push_back(new CNamedId(u"old", 9));
    assigned = source;
    assigned = assigned;
    EXPECT_NE(copy.Items.at(0), source.Items[0]);
    EXPECT_EQ(assigned.Items.at(1)->Name, u"b");
    EXPECT_EQ(CNamedId::liveInstances, names + 6);
  }
  EXPECT_EQ(CNamedId::liveInstances, names);
  auto* production = new CRawProduction();
  production->Lhs = new CRawSymbol(u"S", u"", 0);
  production->Rhs = {new CRawSymbol(u"NP", u"^ SUBJ=!", 1)};
  std::unique_ptr<CRawSymbol> clone(production->Rhs[0]->Clone());
  delete production;
  EXPECT_EQ(CRawSymbol::liveInstances, rawSymbols + 1);
  EXPECT_EQ(clone->Annotation, u"^ SUBJ=!");
}
