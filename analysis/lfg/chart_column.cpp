#include "analysis/lfg/chart_column.h"

int CChartColumn::liveInstances = 0;

CChartColumn::CChartColumn() { ++liveInstances; }

CChartColumn::~CChartColumn() {
  for (CChartEdge* edge : edges) delete edge;
  edges.clear();
  --liveInstances;
}
