#include "constraints/free_assignment_search.h"

#include <algorithm>
#include <numeric>

namespace {

// Variables joined when they occur in one nogood.
class VariableParts {
 public:
  explicit VariableParts(int variableCount) : parent_(static_cast<size_t>(variableCount) + 1) {
    std::iota(parent_.begin(), parent_.end(), 0);
  }
  int Find(int v) {
    while (parent_[v] != v) v = parent_[v] = parent_[parent_[v]];
    return v;
  }
  void Join(int a, int b) { parent_[Find(a)] = Find(b); }

 private:
  std::vector<int> parent_;
};

// One independent part: its variables from the highest down, and for each of
// them the nogoods whose lowest variable it is.
struct Part {
  std::vector<int> variables;
  std::vector<std::vector<const VariableNogood*>> testedAt;
};

int LowestVariable(const VariableNogood& nogood) {
  int lowest = nogood.front().variable;
  for (const VariableLiteral& literal : nogood) lowest = std::min(lowest, literal.variable);
  return lowest;
}

std::vector<Part> SplitIntoParts(const std::vector<VariableNogood>& nogoods, int variableCount) {
  VariableParts parts(variableCount);
  for (const VariableNogood& nogood : nogoods) {
    for (const VariableLiteral& literal : nogood) parts.Join(nogood.front().variable, literal.variable);
  }
  std::vector<int> partOfRoot(static_cast<size_t>(variableCount) + 1, -1);
  std::vector<Part> result;
  for (int v = variableCount; v >= 1; --v) {
    int& index = partOfRoot[parts.Find(v)];
    if (index < 0) {
      index = static_cast<int>(result.size());
      result.emplace_back();
    }
    result[index].variables.push_back(v);
  }
  // Position of each variable within its part, to bucket the nogoods.
  std::vector<size_t> position(static_cast<size_t>(variableCount) + 1, 0);
  for (Part& part : result) {
    part.testedAt.resize(part.variables.size());
    for (size_t i = 0; i < part.variables.size(); ++i) position[part.variables[i]] = i;
  }
  for (const VariableNogood& nogood : nogoods) {
    const int lowest = LowestVariable(nogood);
    result[partOfRoot[parts.Find(lowest)]].testedAt[position[lowest]].push_back(&nogood);
  }
  return result;
}

bool Holds(const VariableNogood& nogood, const std::vector<bool>& values) {
  return std::all_of(nogood.begin(), nogood.end(),
                     [&](const VariableLiteral& l) { return values[l.variable] == l.positive; });
}

// Depth-first over the part's variables, false before true; the first full
// assignment reached is the part's lowest.
FreeAssignmentOutcome SearchPart(const Part& part, std::vector<bool>& values, int64_t& steps) {
  const size_t n = part.variables.size();
  std::vector<bool> triedTrue(n, false);
  size_t i = 0;
  values[part.variables[0]] = false;
  while (true) {
    if (--steps < 0) return FreeAssignmentOutcome::kGaveUp;
    const bool rejected = std::any_of(part.testedAt[i].begin(), part.testedAt[i].end(),
                                      [&](const VariableNogood* nogood) { return Holds(*nogood, values); });
    if (!rejected) {
      if (++i == n) return FreeAssignmentOutcome::kFound;
      triedTrue[i] = false;
      values[part.variables[i]] = false;
      continue;
    }
    // Next value of this variable, or back to the latest one still open.
    while (triedTrue[i]) {
      if (i == 0) return FreeAssignmentOutcome::kNone;
      --i;
    }
    triedTrue[i] = true;
    values[part.variables[i]] = true;
  }
}

}  // namespace

FreeAssignment FindLowestFreeAssignment(const std::vector<VariableNogood>& nogoods, int variableCount,
                                        int64_t stepBudget) {
  FreeAssignment result;
  for (const VariableNogood& nogood : nogoods) {
    if (nogood.empty()) return result;  // holds under every assignment
  }
  result.values.assign(static_cast<size_t>(variableCount) + 1, false);
  int64_t steps = stepBudget;
  for (const Part& part : SplitIntoParts(nogoods, variableCount)) {
    const FreeAssignmentOutcome outcome = SearchPart(part, result.values, steps);
    if (outcome != FreeAssignmentOutcome::kFound) {
      result.outcome = outcome;
      result.values.clear();
      return result;
    }
  }
  result.outcome = FreeAssignmentOutcome::kFound;
  return result;
}
