#include "analysis/lfg/chart_edge.h"

#include "core/fs_node.h"
#include "core/production.h"

int CChartEdge::liveInstances = 0;

CChartEdge::CChartEdge(CProduction* production, uint16_t origin, uint16_t end, uint8_t flag,
                       uint8_t failed)
    : origin(origin), end(end), flag(flag), failed(failed), production(production) {
  ++liveInstances;
}

CChartEdge::CChartEdge(CFSNode* node, CProduction* production, uint16_t origin, uint16_t end, uint8_t flag,
                       uint8_t failed)
    : CChartEdge(production, origin, end, flag, failed) {
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
