// Developer drivers of the LFG chart parser: parse a sentence's words and
// show its analyses in a tree, or collect its F-structures without showing
// them. The words are the lexical-entry lists of the sentence, one per word
// (CLexiconManager::BuildSentenceEntries, then ChartWordsOf).
#pragma once

#include <vector>

#include "analysis/lfg/chart_column.h"

class CFSHandle;
class CFSNode;
class CLFGParser;
struct SentenceEntryLists;
struct TreeItem;

// The chart words of a sentence's entry lists; they point into the lists.
std::vector<ChartWord> ChartWordsOf(const SentenceEntryLists& entries);

// Fills the chart and shows its F-structures in the tree (PrintFStructures).
// A chart that cannot be built gives the message "Sentence could not be
// parsed" (caption "Language Parser"). True when an F-structure was shown.
bool ParseAndShowFStructures(CLFGParser& parser, const std::vector<ChartWord>& words, TreeItem& tree);
// Fills the chart and shows its C-structures in the tree (PrintCStructures);
// the same message when there is none. True when a C-structure was shown.
bool ParseAndShowCStructures(CLFGParser& parser, const std::vector<ChartWord>& words, TreeItem& tree);

// Fills the chart and adds the F-structure of every complete start edge to
// the handles, each structure once. True when the chart has one.
bool CollectStartFStructures(CLFGParser& parser, const std::vector<ChartWord>& words, std::vector<CFSHandle*>& handles);
// The same after expanding the sets and PRED values of each structure.
bool CollectExpandedStartFStructures(CLFGParser& parser, const std::vector<ChartWord>& words,
                                     std::vector<CFSHandle*>& handles);

// Appends a normalised copy of the structure unless an equal one is there
// already; false for a null node and for a structure already there. The
// handles and nodes belong to their per-sentence registries.
bool AddDistinctFStructure(std::vector<CFSHandle*>& handles, const CFSNode* node);
