// The lowest free assignment of numbered choice variables: the assignment
// with the lowest number (variable v being bit v - 1) under which no nogood
// holds. The context search reads its contexts off it.
//
// The search is exact, not a count through the numbers: the variables are
// set from the highest down, each false before true, and a nogood is tested
// as soon as its lowest variable is set, so a branch ends at the first
// nogood that holds. Nogoods that share no variable (directly or through
// others) form independent parts, each searched on its own: the lowest
// assignment is the union of the parts' lowest ones, a part without a free
// assignment settles the answer at once, and the work is the sum of the
// parts' work rather than their product.
#pragma once

#include <cstdint>
#include <vector>

// One literal of a nogood over variables 1 to n.
struct VariableLiteral {
  int variable = 0;
  bool positive = false;
};
using VariableNogood = std::vector<VariableLiteral>;

enum class FreeAssignmentOutcome { kFound, kNone, kGaveUp };

struct FreeAssignment {
  FreeAssignmentOutcome outcome = FreeAssignmentOutcome::kNone;
  // [v] is variable v's value (index 0 unused); filled when found.
  std::vector<bool> values;
};

// The search steps (variables set) after which it gives up.
inline constexpr int64_t kFreeAssignmentStepBudget = int64_t{1} << 14;

// The lowest free assignment of variables 1 to variableCount. A nogood with no
// literal always holds; one with both signs of a variable never does.
FreeAssignment FindLowestFreeAssignment(const std::vector<VariableNogood>& nogoods, int variableCount,
                                        int64_t stepBudget = kFreeAssignmentStepBudget);
