// The reading the choice tree gives, found without the tree. After paths are
// cut from a choice tree, CollectPaths reads off the lowest surviving
// assignment (choices in ascending order, false before true) and names the
// choices the tree decides along it. The tree copies whole subtrees whenever
// a path decides a choice above them, so it grows exponentially with the
// attachments of a sentence; the exact search for the lowest free
// assignment (constraints/free_assignment_search.h) finds the same reading
// part by part.
#pragma once

#include <list>

#include "constraints/context_search.h"

// What CChoiceTree::CollectPaths gives after InsertPaths of each path in
// turn (each path already in the tree's order). A choice is decided along
// the assignment when some path names it and every literal of that path
// before it holds there; those choices are listed from the highest down, as
// the tree lists them. Empty when no assignment escapes every path, when
// nothing is decided, or when the sentence's time or memory has run out (as
// the tree is then given up). A search that passes its step budget finds no
// reading either: where the search needs that many steps the tree grows past
// the sentence's memory budget, which ends the whole sentence. Paths that
// name a choice twice go through the tree itself.
ContextList LowestEscapingAssignment(const std::list<ContextList>& paths);
