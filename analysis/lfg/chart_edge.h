// One Earley item of the LFG chart (and of the Urdu generation chart): a
// dotted production spanning the columns from origin to end. The edge points
// at its production and, for the generator, at an F-structure node; it owns
// neither: productions are freed in bulk by the production registry and nodes
// by the node registry after each sentence.
//
// The generator counts output words in origin and end, keeps in the low byte
// of state a flag that stays set while the edge has not yet recorded a size
// of its deferred stack, and keeps that size in spare (-1 for none).
#pragma once

#include <cstdint>

class CProduction;
class CFSNode;

class CChartEdge {
 public:
  CChartEdge(CProduction* production, uint16_t origin, uint16_t end, uint8_t flag, uint8_t failed);
  // The generator's edge, bound to a node of the target F-structure.
  CChartEdge(CFSNode* node, CProduction* production, uint16_t origin, uint16_t end, uint8_t flag, uint8_t failed);
  ~CChartEdge();
  CChartEdge(const CChartEdge&) = delete;
  CChartEdge& operator=(const CChartEdge&) = delete;

  // A new generator edge over a copy of the production (entered in the
  // production registry) and a copy of the node, with the same origin, end,
  // flag and failed values; state and spare start afresh.
  CChartEdge* Clone() const;

  uint32_t state = 1;
  int32_t spare = -1;
  uint16_t origin = 0;  // column in which the production was predicted
  uint16_t end = 0;     // column that holds the edge
  uint8_t flag = 0;
  uint8_t failed = 0;                 // the scanner found no entry for the terminal at the dot
  CProduction* production = nullptr;  // not owned
  CFSNode* fStructure = nullptr;      // the generator's node; not owned

  static int liveInstances;
};
