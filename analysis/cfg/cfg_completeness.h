// The last check of an analysis before it is handed on: every predicate has
// the governable functions its frame requires. The solver rules readings out
// by their frames; this check on the finished tree makes sure that no
// structure it could not see as incomplete reaches the mapper.
#pragma once

class CFSNode;

// The first node, depth first from the root, whose PRED GF lists a function
// that the node does not hold (no child of that attribute, or one with
// neither values nor children); null when every predicate is complete.
const CFSNode* FindIncompleteNode(const CFSNode* root);
