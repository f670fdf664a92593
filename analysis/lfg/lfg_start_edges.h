// The complete analyses of a filled LFG chart: the edges of the start
// category "S" in the last column that span the whole sentence, and the
// checks an analysis passes before it counts as a parse.
#pragma once

#include <vector>

class CChartEdge;
class CFSNode;
class CLFGParser;

// The complete "S" edges of the last column that start at the first column
// and have their dot on the rule end, in column order. Empty without a chart.
std::vector<CChartEdge*> CompleteStartEdges(const CLFGParser& parser);

// The root of the edge's F-structure when the edge is a complete start edge
// that has one; null otherwise.
CFSNode* CompleteStartStructure(const CChartEdge& edge);

// Whether the complete start edge's F-structure is an analysis: every kept
// constraint and every pending constraint holds; then its sets and PRED
// values are expanded in place, and, with checkCompleteness, it is complete
// and coherent. False for an edge without an F-structure.
bool AcceptStartStructure(CLFGParser& parser, CChartEdge& edge, bool checkCompleteness);
