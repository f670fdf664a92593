#include "constraints/escaping_assignment.h"

#include <algorithm>
#include <cstdlib>
#include <set>
#include <vector>

#include "constraints/choice_tree.h"
#include "constraints/free_assignment_search.h"
#include "constraints/solver_hooks.h"

namespace {

int ChoiceOf(ChoiceLiteral literal) { return std::abs(static_cast<int>(literal)); }

// A path that names a choice twice makes the tree decide the choice again
// below itself; such paths are rare and left to the tree.
bool NamesAChoiceTwice(const ContextList& path) {
  std::set<int> seen;
  for (ChoiceLiteral literal : path) {
    if (literal != 0 && !seen.insert(ChoiceOf(literal)).second) return true;
  }
  return false;
}

ContextList ThroughTheTree(const std::list<ContextList>& paths) {
  CChoiceTree tree;
  for (const ContextList& path : paths) tree.InsertPaths(path);
  return tree.CollectPaths();
}

}  // namespace

ContextList LowestEscapingAssignment(const std::list<ContextList>& paths) {
  std::vector<int> choices;
  for (const ContextList& path : paths) {
    if (NamesAChoiceTwice(path)) return ThroughTheTree(paths);
    for (ChoiceLiteral literal : path)
      if (literal != 0) choices.push_back(ChoiceOf(literal));
  }
  std::sort(choices.begin(), choices.end());
  choices.erase(std::unique(choices.begin(), choices.end()), choices.end());
  // The tree decides the lowest choice at its root, so the lowest choice is
  // the most significant variable of the search: choice k of n is variable
  // n - k.
  const int count = static_cast<int>(choices.size());
  const auto variableOf = [&](ChoiceLiteral literal) {
    return count - static_cast<int>(std::lower_bound(choices.begin(), choices.end(), ChoiceOf(literal)) -
                                    choices.begin());
  };
  std::vector<VariableNogood> nogoods;
  for (const ContextList& path : paths) {
    VariableNogood& nogood = nogoods.emplace_back();
    for (ChoiceLiteral literal : path)
      if (literal != 0) nogood.push_back({variableOf(literal), literal > 0});
    // A path without a literal excludes every assignment; the tree checks
    // the sentence's limits before the first literal of each path.
    if (nogood.empty() || SolverTimeExceeded()) return {};
  }
  const FreeAssignment found = FindLowestFreeAssignment(nogoods, count);
  if (found.outcome != FreeAssignmentOutcome::kFound) return {};
  // The choices the tree decides along the assignment: those of each path up
  // to and including its first literal that fails there, the path read in
  // the tree's order (ascending choices: descending variables).
  std::vector<bool> decided(static_cast<size_t>(count) + 1, false);
  for (const VariableNogood& nogood : nogoods) {
    for (const VariableLiteral& literal : nogood) {
      decided[literal.variable] = true;
      if (found.values[literal.variable] != literal.positive) break;
    }
  }
  ContextList chosen;
  for (int variable = 1; variable <= count; ++variable) {
    if (!decided[variable]) continue;
    const auto choice = static_cast<ChoiceLiteral>(choices[static_cast<size_t>(count - variable)]);
    chosen.push_back(found.values[variable] ? choice : static_cast<ChoiceLiteral>(-choice));
  }
  return chosen;
}
