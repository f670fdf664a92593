#include "analysis/chart_column.h"
#include "analysis_test_support.h"

namespace {

using namespace lfg_test;

TEST_F(LfgTest, ColumnsDeleteTheirEdgesButNotTheirProductionsOrStructures) {
  const int edgesBefore = CChartEdge::liveInstances;
  CProduction* production = MakeProduction("S", {"NP", "VP"});
  auto* handle = new CFSHandle(BuildFS("[NUM {sg}]"), 1.0);
  production->mother->fStructure = handle;
  const size_t productions = RegisteredProductionCount();
  {
    CChartColumn column;
    column.edges.push_back(new CChartEdge(production, 0, 1, 0, 0));
    column.edges.push_back(new CChartEdge(production, 1, 1, 0, 1));
    column.edges.back()->fStructure = handle->root;
    EXPECT_EQ(CChartEdge::liveInstances, edgesBefore + 2);
  }
  EXPECT_EQ(CChartEdge::liveInstances, edgesBefore);
  EXPECT_EQ(RegisteredProductionCount(), productions);
  EXPECT_EQ(production->mother->fStructure, handle);
  EXPECT_EQ(ShowFS(handle->root), "[NUM {sg}]");
}

}  // namespace
