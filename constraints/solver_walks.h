// The state of one walk of the solver over a graph of F-structures, passed
// down the walk instead of kept in statics: each outermost call makes its
// own, so the solver can be re-entered and an exception part-way leaves
// nothing behind for the next call.
#pragma once

#include <algorithm>
#include <map>
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
// The steps are few (the depth of the walk): a list searched from the end.
struct P_UnificationWalk {
  std::vector<std::pair<const P_FStructure*, const P_FSItem*>> itemSteps;
  std::vector<std::pair<const P_FStructure*, const P_FStructure*>> pairSteps;
};

// Enters a step for the life of the guard; entered is false when the step is
// being taken further up already (and the guard then leaves the list alone).
template <typename Step>
class P_WalkStep {
 public:
  P_WalkStep(std::vector<Step>& steps, Step step) : steps_(steps) {
    entered_ = std::find(steps.rbegin(), steps.rend(), step) == steps.rend();
    if (entered_) steps.push_back(step);
  }
  ~P_WalkStep() {
    if (entered_) steps_.pop_back();
  }
  P_WalkStep(const P_WalkStep&) = delete;
  P_WalkStep& operator=(const P_WalkStep&) = delete;
  bool entered() const { return entered_; }

 private:
  std::vector<Step>& steps_;
  bool entered_ = false;
};
