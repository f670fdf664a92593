#include "constraints/free_assignment_search.h"

#include <algorithm>
#include <numeric>
#include <utility>
#include <vector>

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

// One independent part: its variables from the highest down and its nogoods.
struct Part {
  std::vector<int> variables;
  std::vector<const VariableNogood*> nogoods;
};

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
  for (const VariableNogood& nogood : nogoods)
    result[partOfRoot[parts.Find(nogood.front().variable)]].nogoods.push_back(&nogood);
  return result;
}

// The search over one part: depth first over its variables from the highest
// down, false before true, with every value that a nogood forces set at once
// (when all its literals but one hold, the last one's variable must take the
// other value). Forcing only cuts branches without a free assignment, so the
// first full assignment reached is still the part's lowest.
struct Occurrence {
  int nogood;  // index among the part's nogoods
  bool positive;
};

// What the searches of one assignment's parts share, indexed by variable:
// the parts have no variable in common, so each part uses and leaves behind
// only its own entries, and nothing is made again per part.
struct SearchTables {
  explicit SearchTables(int variableCount)
      : assigned(static_cast<size_t>(variableCount) + 1, 0), occurrences(static_cast<size_t>(variableCount) + 1) {}
  std::vector<char> assigned;
  std::vector<std::vector<Occurrence>> occurrences;  // [v] = the part's nogoods that name v
};

class PartSearch {
 public:
  PartSearch(const Part& part, std::vector<bool>& values, int64_t& steps, SearchTables& tables)
      : part_(part), values_(values), steps_(steps), assigned_(tables.assigned), occurrences_(tables.occurrences) {
    for (const VariableNogood* nogood : part.nogoods) {
      const int index = static_cast<int>(state_.size());
      state_.push_back({nogood, 0, 0});
      for (const VariableLiteral& literal : *nogood)
        occurrences_[literal.variable].push_back({index, literal.positive});
    }
  }

  FreeAssignmentOutcome Run() {
    struct Decision {
      size_t position;
      size_t trailMark;
      bool value;
    };
    std::vector<Decision> decisions;
    size_t position = 0;
    while (true) {
      while (position < part_.variables.size() && Assigned(part_.variables[position])) ++position;
      if (position == part_.variables.size()) return FreeAssignmentOutcome::kFound;
      decisions.push_back({position, trail_.size(), false});
      bool consistent = Assign(part_.variables[position], false);
      while (!consistent) {
        // Undo to the latest decision still open and take its other value.
        while (!decisions.empty() && decisions.back().value) {
          Undo(decisions.back().trailMark);
          decisions.pop_back();
        }
        if (decisions.empty()) return FreeAssignmentOutcome::kNone;
        if (steps_ < 0) return FreeAssignmentOutcome::kGaveUp;
        Decision& latest = decisions.back();
        Undo(latest.trailMark);
        latest.value = true;
        position = latest.position;
        consistent = Assign(part_.variables[position], true);
      }
      if (steps_ < 0) return FreeAssignmentOutcome::kGaveUp;
    }
  }

 private:
  struct NogoodState {
    const VariableNogood* nogood;
    int held;    // literals that hold
    int broken;  // literals that fail (the nogood can then never hold)
  };
  bool Assigned(int variable) const { return assigned_[variable] != 0; }

  // Sets the variable and everything it forces; false at a nogood that holds.
  bool Assign(int variable, bool value) {
    std::vector<std::pair<int, bool>>& pending = pending_;
    pending.assign(1, {variable, value});
    while (!pending.empty()) {
      const auto [v, x] = pending.back();
      pending.pop_back();
      if (Assigned(v)) {
        if (values_[v] != x) return false;
        continue;
      }
      --steps_;
      assigned_[v] = 1;
      values_[v] = x;
      trail_.push_back(v);
      // Every count is brought up to date before a clash is answered, so
      // that Undo finds them as it expects.
      bool holds = false;
      for (const Occurrence& occurrence : occurrences_[v]) {
        NogoodState& state = state_[occurrence.nogood];
        (occurrence.positive == x ? state.held : state.broken)++;
        if (state.broken > 0) continue;
        const int size = static_cast<int>(state.nogood->size());
        if (state.held == size) holds = true;
        if (state.held == size - 1) {
          for (const VariableLiteral& literal : *state.nogood) {
            if (!Assigned(literal.variable)) pending.push_back({literal.variable, !literal.positive});
          }
        }
      }
      if (holds) return false;
    }
    return true;
  }

  void Undo(size_t mark) {
    while (trail_.size() > mark) {
      const int v = trail_.back();
      trail_.pop_back();
      for (const Occurrence& occurrence : occurrences_[v]) {
        NogoodState& state = state_[occurrence.nogood];
        (occurrence.positive == values_[v] ? state.held : state.broken)--;
      }
      assigned_[v] = 0;
      values_[v] = false;
    }
  }

  const Part& part_;
  std::vector<bool>& values_;
  int64_t& steps_;
  std::vector<NogoodState> state_;
  std::vector<char>& assigned_;
  std::vector<std::vector<Occurrence>>& occurrences_;
  std::vector<int> trail_;
  std::vector<std::pair<int, bool>> pending_;  // kept between calls for its memory
};

}  // namespace

FreeAssignment FindLowestFreeAssignment(const std::vector<VariableNogood>& nogoods, int variableCount,
                                        int64_t stepBudget) {
  FreeAssignment result;
  for (const VariableNogood& nogood : nogoods) {
    if (nogood.empty()) return result;  // holds under every assignment
  }
  result.values.assign(static_cast<size_t>(variableCount) + 1, false);
  int64_t steps = stepBudget;
  SearchTables tables(variableCount);
  for (const Part& part : SplitIntoParts(nogoods, variableCount)) {
    const FreeAssignmentOutcome outcome = PartSearch(part, result.values, steps, tables).Run();
    if (outcome != FreeAssignmentOutcome::kFound) {
      result.outcome = outcome;
      result.values.clear();
      return result;
    }
  }
  result.outcome = FreeAssignmentOutcome::kFound;
  return result;
}
