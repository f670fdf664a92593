#include "analysis/lfg/chart_edge.h"

int CChartEdge::liveInstances = 0;

CChartEdge::CChartEdge(CProduction* production, uint16_t origin, uint16_t end, uint8_t flag,
                       uint8_t failed)
    : origin(origin), end(end), flag(flag), failed(failed), production(production) {
  ++liveInstances;
}

CChartEdge::~CChartEdge() {
  production = nullptr;
  fStructure = nullptr;
  --liveInstances;
}
