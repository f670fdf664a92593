// The state of one walk of the solver over a graph of F-structures, passed
// down the walk instead of kept in statics: each outermost call makes its
// own, so the solver can be re-entered and an exception part-way leaves
// nothing behind for the next call.
#pragma once

#include <map>
#include <set>
#include <utility>
#include <vector>

#include "constraints/context_search.h"

class P_FStructure;

// The F-structures entered on the way down; one reached again is not entered
// a second time, so a structure that contains itself ends.
using FStructurePath = std::vector<const P_FStructure*>;

// One restriction to a reading: an F-structure reached twice under the same
// context (a subject that is also the controlled subject of an infinitive)
// restricts to one shared F-structure, so the reading keeps the reentrancy.
struct P_RestrictionWalk {
  std::map<std::pair<const P_FStructure*, ContextList>, P_FStructure*> built;
};

class P_FSItem;

// One unification of items and F-structures for their nogoods. F-structures
// identified with each other both ways (a subject shared by a set and its
// members) make the way round a ring: a step already being taken further up
// is not taken again, since what it finds is found there.
struct P_UnificationWalk {
  std::set<std::pair<const P_FStructure*, const P_FSItem*>> itemSteps;
  std::set<std::pair<const P_FStructure*, const P_FStructure*>> pairSteps;
};
