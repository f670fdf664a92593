#include "analysis/lfg/chart_edge.h"

#include "core/fs_node.h"
#include "core/production.h"

int CChartEdge::liveInstances = 0;

CChartEdge::CChartEdge(CProduction* edgeProduction, uint16_t edgeOrigin, uint16_t edgeEnd, uint8_t edgeFlag,
                       uint8_t edgeFailed)
    : origin(edgeOrigin), end(edgeEnd), flag(edgeFlag), failed(edgeFailed), production(edgeProduction) {
  ++liveInstances;
}

CChartEdge::CChartEdge(CFSNode* node, CProduction* edgeProduction, uint16_t edgeOrigin, uint16_t edgeEnd,
                       uint8_t edgeFlag, uint8_t edgeFailed)
    : CChartEdge(edgeProduction, edgeOrigin, edgeEnd, edgeFlag, edgeFailed) {
  fStructure = node;
}

CChartEdge::~CChartEdge() {
  production = nullptr;
  fStructure = nullptr;
  --liveInstances;
}

CChartEdge* CChartEdge::Clone() const {
  CProduction* productionCopy = production != nullptr ? production->Clone() : nullptr;
  CFSNode* nodeCopy = fStructure != nullptr ? fStructure->Clone() : nullptr;
  return new CChartEdge(nodeCopy, productionCopy, origin, end, flag, failed);
}
