// The generator's chart edges and their copies.
#include <memory>

#include <gtest/gtest.h>

#include "analysis/lfg/chart_edge.h"
#include "core/fs_node.h"
#include "core/production.h"
#include "core/symbol_table.h"

TEST(GeneratorChartEdge, ACopyHasItsOwnProductionAndStructure) {
  RegisterReservedSymbols();
  const int edgesBefore = CChartEdge::liveInstances;
  auto production = std::make_unique<CProduction>();
  production->number = 7;
  production->mother = new CProductionSymbol();
  production->daughters.push_back(new CProductionSymbol());
  production->dot = 0;
  auto* node = new CFSNode(static_cast<int16_t>(GetSymbolId(u"ROOT", true)), nullptr);
  node->AddChild(new CFSNode(static_cast<int16_t>(GetSymbolId(u"SUBJ", true)), nullptr));
  {
    CChartEdge edge(node, production.get(), 2, 5, 1, 0);
    edge.state = 0;
    edge.spare = 4;
    std::unique_ptr<CChartEdge> copy(edge.Clone());
    EXPECT_EQ(CChartEdge::liveInstances, edgesBefore + 2);
    EXPECT_NE(copy->production, production.get());
    EXPECT_EQ(copy->production->number, 7u);
    EXPECT_NE(copy->fStructure, node);
    EXPECT_EQ(copy->fStructure->NodeId, node->NodeId);
    EXPECT_EQ(copy->fStructure->ChildList.size(), 1u);
    EXPECT_EQ(copy->origin, 2);
    EXPECT_EQ(copy->end, 5);
    EXPECT_EQ(copy->flag, 1);
    EXPECT_EQ(copy->state, 1u) << "a copy starts with its flag set";
    EXPECT_EQ(copy->spare, -1);
  }
  EXPECT_EQ(CChartEdge::liveInstances, edgesBefore);
  DeleteGlobalObjectList();
  CFSNode::DeleteAll();
}
