// Reshaping of finished F-structures before they are checked, shown or
// mapped: a PRED's value list [word, GF1, GF2, ...] becomes a VALUE child
// holding the word and a GF child holding the functions, and the set
// elements of every other node move under a new child SET.
#pragma once

class CFSHandle;
class CFSNode;

// Expands the structure of the handle's root; false for a null handle or
// root.
bool ExpandSetsAndValues(CFSHandle* handle);
// Expands the node and everything below it; false for a null node.
bool ExpandNodeSetsAndValues(CFSNode* node);
// Moves a PRED node's values into its new VALUE and GF children.
bool ExpandPredValues(CFSNode* node);
