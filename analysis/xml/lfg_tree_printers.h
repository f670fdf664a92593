// Tree views of the LFG chart's analyses for grammar writers: the
// C-structures and F-structures of the complete start edges, each under a
// numbered heading item of a TreeItem tree (which stands in for a tree view).
#pragma once

class CChartEdge;
class CFSNode;
class CLFGParser;
struct TreeItem;

// One root item "C-Structure # n" per complete "S" edge of the chart and,
// below it, one expanded item per daughter: its name, and for a word
// " ----- " and the word. The dot marker is left out, and so are the
// categories the grammar compiler generated for rule groups (names that
// begin with the grammar's prefix): their daughters stand in their place.
// Returns the number of C-structures.
int PrintCStructures(const CLFGParser& parser, TreeItem& tree);
// The daughters of the edge's production below the parent item.
void PrintCStructureDaughters(const CLFGParser& parser, const CChartEdge& edge, TreeItem& parent);

// One root item "F-Structure # n" per complete start edge whose F-structure
// is consistent, complete and coherent (its sets and PRED values are expanded
// on the way), with the structure below it. Without one, the message
// "Sentence could not be parsed" (caption "LFG Parser"). Returns the number
// of F-structures.
int PrintFStructures(CLFGParser& parser, TreeItem& tree);
// One expanded item for the node below the parent: its attribute name, then
// " ----- " and the name of each value; below it its children, then, when it
// has set elements, an item "SET" with the elements below that. A node met
// again below itself shows its item without its content.
void PrintFStructureNode(const CFSNode& node, TreeItem& parent);
