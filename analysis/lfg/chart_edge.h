// One Earley item of the LFG chart (and of the Urdu generation chart): a
// dotted production spanning the columns from origin to end. The edge points
// at its production and, for the generator, at an F-structure node; it owns
// neither: productions are freed in bulk by the production registry and nodes
// by the node registry after each sentence.
#pragma once

#include <cstdint>

class CProduction;
class CFSNode;

class CChartEdge {
 public:
  CChartEdge(CProduction* production, uint16_t origin, uint16_t end, uint8_t flag, uint8_t failed);
  ~CChartEdge();
  CChartEdge(const CChartEdge&) = delete;
  CChartEdge& operator=(const CChartEdge&) = delete;

  uint32_t state = 1;
  int32_t spare = -1;
  uint16_t origin = 0;  // column in which the production was predicted
  uint16_t end = 0;     // column that holds the edge
  uint8_t flag = 0;
  uint8_t failed = 0;  // the scanner found no entry for the terminal at the dot
  CProduction* production = nullptr;  // not owned
  CFSNode* fStructure = nullptr;      // the generator's node; not owned

  static int liveInstances;
};
