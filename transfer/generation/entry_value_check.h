// The scanner's test of a lexical entry against a node before it copies the
// edge for the entry: most entries of a word (its other forms) ask for
// values that the node already excludes, and the copy made for them would be
// thrown away.
#pragma once

class CFSNode;
class CLexicalEntry;

// True only when applying the entry's equations to a copy of the node (as
// the scanner does, after its PRED equations are passed over) must fail: an
// equation "(^ path) = values" or "(! path) = values" reaches an existing
// node that has sub-structures or whose values share none with the list.
// The node is only read. An entry with conditions, an equation of another
// form, or a path through a node that stands for another, links others or
// is forwarded further than one step ends the test with false, since what
// comes after it can no longer be read off the node.
bool EntryValuesClash(const CLexicalEntry& entry, const CFSNode& node);
