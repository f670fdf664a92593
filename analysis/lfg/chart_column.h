// One position of the LFG chart: the edges that end there, in the order they
// were added, and the word datum of the input position. A chart of n words is
// an array of n + 1 columns; the last one has no word.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "analysis/lfg/chart_edge.h"

class CLexicalEntry;

// The word datum of a column: the lexical entries of the word at that
// position, given by the caller of the parse; null for the last column.
using ChartWord = const std::vector<CLexicalEntry*>*;

class CChartColumn {
 public:
  CChartColumn();
  // Deletes every edge, but not their productions or F-structures.
  virtual ~CChartColumn();
  CChartColumn(const CChartColumn&) = delete;
  CChartColumn& operator=(const CChartColumn&) = delete;

  void Reset() { processed = 0; }

  uint32_t processed = 0;
  ChartWord word = nullptr;
  std::vector<CChartEdge*> edges;  // owned
  // Kept for the column's record layout; the parser never reads it.
  std::array<uint32_t, 500> table{};

  static int liveInstances;
};
