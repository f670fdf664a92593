#include "constraints/context_search.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "constraints/free_assignment_search.h"
#include "core/string_helpers.h"
#include "platform/message_box.h"

namespace {

// ExtendNogoodFreeContext skips candidates of this many choices (their
// choices are compared as bits of one word).
constexpr int kMaxCandidateVariables = 31;
// The highest choice a context can name: the last bit of a feature set.
constexpr int kHighestChoice = kMaxFeatureId;

int ChoiceOf(ChoiceLiteral literal) { return literal < 0 ? -static_cast<int>(literal) : literal; }

uint32_t VariableBit(int variable) { return uint32_t{1} << (variable - 1); }

ContextList Undecided() { return ContextList{0}; }

// Choices renumbered as variables 1, 2, ... in order of first numbering.
class VariableTable {
 public:
  // The choice's variable, a new one when the choice has none yet.
  int Number(int choice) {
    const int known = Find(choice);
    if (known != 0) return known;
    choices_.push_back(choice);
    variables_[choice] = Count();
    return Count();
  }
  // The choice's variable, 0 when it has none.
  int Find(int choice) const {
    const auto it = variables_.find(choice);
    return it == variables_.end() ? 0 : it->second;
  }
  int Count() const { return static_cast<int>(choices_.size()); }
  int ChoiceOfVariable(int variable) const { return choices_[variable - 1]; }

 private:
  std::vector<int> choices_;
  std::map<int, int> variables_;
};

bool HasNoLiteral(const ContextList& context) {
  return std::all_of(context.begin(), context.end(), [](ChoiceLiteral l) { return l == 0; });
}

bool MentionsUnwritableChoice(const std::list<ContextList>& contexts) {
  for (const ContextList& context : contexts) {
    for (ChoiceLiteral literal : context) {
      if (ChoiceOf(literal) > kHighestChoice) return true;
    }
  }
  return false;
}

void ReportUnwritableChoice() {
  ShowMessage(u"A context holds choice " + IntToWString(kHighestChoice + 1) + u", beyond the " +
                  IntToWString(kHighestChoice) + u" choices a context can carry; no nogood-free context is searched.",
              u"Context Search", MessageStyle::Ok);
}

void AddLiteral(ChoiceMaskPair& pair, ChoiceLiteral literal, int variable) {
  (literal > 0 ? pair.positive : pair.negative) |= VariableBit(variable);
}

// +choice(v) for every variable true in the assignment, -choice(v) otherwise.
void AppendAssignment(const VariableTable& variables, const std::vector<bool>& values, ContextList& out) {
  for (int v = 1; v <= variables.Count(); ++v) {
    const int choice = variables.ChoiceOfVariable(v);
    out.push_back(static_cast<ChoiceLiteral>(values[v] ? choice : -choice));
  }
}

// --- FindNogoodFreeContext steps ---

// Sorts each nogood and numbers its choices; one variable nogood per nogood.
// False when a choice is past the last one a context can carry.
bool NumberNogoods(NogoodList& nogoods, VariableTable& variables, std::vector<VariableNogood>& numbered) {
  for (ContextList& nogood : nogoods) {
    nogood.sort();
    VariableNogood& literals = numbered.emplace_back();
    for (ChoiceLiteral literal : nogood) {
      if (literal == 0) continue;
      if (ChoiceOf(literal) > kHighestChoice) return false;
      literals.push_back({variables.Number(ChoiceOf(literal)), literal > 0});
    }
  }
  return true;
}

// --- ExtendNogoodFreeContext steps ---

// A run of candidates: the first one's choices numbered as variables, and one
// mask pair per candidate of the run, each using only those choices.
struct CandidateGroup {
  VariableTable variables;
  std::vector<ChoiceMaskPair> masks;
};

// Numbers the candidate's choices; false when it has too many.
bool NumberCandidate(ContextList& candidate, VariableTable& variables) {
  candidate.sort();
  for (ChoiceLiteral literal : candidate) {
    if (literal == 0) continue;
    if (variables.Number(ChoiceOf(literal)) >= kMaxCandidateVariables) return false;
  }
  return true;
}

// The candidate's mask pair over the group's variables; nothing when it uses
// a choice the group has not numbered. 0 literals are always true.
std::optional<ChoiceMaskPair> CandidateMask(const ContextList& candidate, const VariableTable& variables) {
  ChoiceMaskPair pair;
  for (ChoiceLiteral literal : candidate) {
    if (literal == 0) continue;
    const int variable = variables.Find(ChoiceOf(literal));
    if (variable == 0) return std::nullopt;
    AddLiteral(pair, literal, variable);
  }
  return pair;
}

// Takes the next group from the cursor on: the first candidate with fewer
// than kMaxCandidateVariables choices, followed by the candidates after it
// that use only its choices. Candidates with too many choices are passed over.
// Nothing when the candidates run out.
std::optional<CandidateGroup> TakeGroup(std::list<ContextList>::iterator& cursor,
                                        std::list<ContextList>::iterator end) {
  for (; cursor != end; ++cursor) {
    CandidateGroup group;
    if (!NumberCandidate(*cursor, group.variables)) continue;
    group.masks.push_back(*CandidateMask(*cursor, group.variables));
    for (++cursor; cursor != end; ++cursor) {
      const auto mask = CandidateMask(*cursor, group.variables);
      if (!mask) break;
      group.masks.push_back(*mask);
    }
    return group;
  }
  return std::nullopt;
}

// The choices of a candidate's mask pair: fixed by the candidate.
struct FixedChoices {
  const VariableTable& variables;
  const ChoiceMaskPair& mask;

  // +1 when the literal agrees with the candidate, -1 when it contradicts it,
  // 0 when the candidate leaves its choice open.
  int Compare(ChoiceLiteral literal) const {
    const int variable = variables.Find(ChoiceOf(literal));
    if (variable == 0) return 0;
    const uint32_t bit = VariableBit(variable);
    const uint32_t same = literal > 0 ? mask.positive : mask.negative;
    const uint32_t opposite = literal > 0 ? mask.negative : mask.positive;
    if (same & bit) return 1;
    if (opposite & bit) return -1;
    return 0;
  }
};

// Numbers every choice of the nogoods that the candidate leaves open, by first
// occurrence.
void NumberOpenChoices(const NogoodList& nogoods, const FixedChoices& fixed, VariableTable& open) {
  for (const ContextList& nogood : nogoods) {
    for (ChoiceLiteral literal : nogood) {
      if (literal != 0 && fixed.Compare(literal) == 0) open.Number(ChoiceOf(literal));
    }
  }
}

// The nogoods that the candidate does not contradict, over its open choices;
// false when some nogood holds under the candidate whatever the open choices
// are.
bool OpenNogoods(const NogoodList& nogoods, const FixedChoices& fixed, const VariableTable& open,
                 std::vector<VariableNogood>& numbered) {
  for (const ContextList& nogood : nogoods) {
    VariableNogood literals;
    bool contradicted = false;
    for (ChoiceLiteral literal : nogood) {
      if (literal == 0) continue;
      const int comparison = fixed.Compare(literal);
      if (comparison < 0) contradicted = true;
      if (comparison == 0) literals.push_back({open.Find(ChoiceOf(literal)), literal > 0});
    }
    if (contradicted) continue;
    if (literals.empty()) return false;
    numbered.push_back(std::move(literals));
  }
  return true;
}

// The candidate's literals, in the group's variable order.
void AppendCandidate(const VariableTable& variables, const ChoiceMaskPair& mask, ContextList& out) {
  for (int v = 1; v <= variables.Count(); ++v) {
    const int choice = variables.ChoiceOfVariable(v);
    if (mask.positive & VariableBit(v)) out.push_back(static_cast<ChoiceLiteral>(choice));
    if (mask.negative & VariableBit(v)) out.push_back(static_cast<ChoiceLiteral>(-choice));
  }
}

// The candidate extended by the lowest-numbered assignment of the open choices
// under which no nogood holds; nothing when there is none, or when the search
// gives up. The nogoods are sorted.
std::optional<ContextList> ExtendCandidate(const NogoodList& nogoods, const VariableTable& variables,
                                           const ChoiceMaskPair& mask) {
  if ((mask.positive & mask.negative) != 0) return std::nullopt;  // describes no reading
  const FixedChoices fixed{variables, mask};
  VariableTable open;
  NumberOpenChoices(nogoods, fixed, open);
  std::vector<VariableNogood> numbered;
  if (!OpenNogoods(nogoods, fixed, open, numbered)) return std::nullopt;
  const FreeAssignment assignment = FindLowestFreeAssignment(numbered, open.Count());
  if (assignment.outcome != FreeAssignmentOutcome::kFound) return std::nullopt;
  ContextList result;
  AppendAssignment(open, assignment.values, result);
  AppendCandidate(variables, mask, result);
  return result;
}

}  // namespace

ContextList FindNogoodFreeContext(NogoodList nogoods) {
  // A nogood that always holds rules out everything, however many choices
  // the others mention.
  if (std::any_of(nogoods.begin(), nogoods.end(), HasNoLiteral)) return {};
  if (nogoods.empty()) return Undecided();
  VariableTable variables;
  std::vector<VariableNogood> numbered;
  if (!NumberNogoods(nogoods, variables, numbered)) {
    ReportUnwritableChoice();
    return Undecided();
  }
  const FreeAssignment assignment = FindLowestFreeAssignment(numbered, variables.Count());
  switch (assignment.outcome) {
    case FreeAssignmentOutcome::kNone: return {};
    case FreeAssignmentOutcome::kGaveUp:
      // Only a search that went through every assignment may say that none
      // is free.
      return Undecided();
    case FreeAssignmentOutcome::kFound: break;
  }
  ContextList result;
  AppendAssignment(variables, assignment.values, result);
  return result;
}

ContextList ExtendNogoodFreeContext(NogoodList nogoods, std::list<ContextList> candidates) {
  if (candidates.empty()) return FindNogoodFreeContext(std::move(nogoods));
  if (MentionsUnwritableChoice(nogoods) || MentionsUnwritableChoice(candidates)) {
    ReportUnwritableChoice();
    return {};
  }
  for (ContextList& nogood : nogoods) nogood.sort();
  auto cursor = candidates.begin();
  while (auto group = TakeGroup(cursor, candidates.end())) {
    for (const ChoiceMaskPair& mask : group->masks) {
      auto result = ExtendCandidate(nogoods, group->variables, mask);
      if (!result) continue;
      return result->empty() ? Undecided() : *result;
    }
  }
  return {};
}

ContextList CommonContextLiterals(std::list<ContextList> contexts) {
  if (contexts.empty()) return {};
  // For each choice, how many contexts hold it positive and how many negative;
  // a context counts once however often it repeats a literal.
  std::map<int, std::pair<size_t, size_t>> counts;
  for (const ContextList& context : contexts) {
    const std::set<ChoiceLiteral> distinct(context.begin(), context.end());
    for (ChoiceLiteral literal : distinct) {
      if (literal == 0) continue;
      auto& count = counts[ChoiceOf(literal)];
      ++(literal > 0 ? count.first : count.second);
    }
  }
  ContextList common;
  for (const auto& [choice, count] : counts) {
    if (count.first == contexts.size()) common.push_back(static_cast<ChoiceLiteral>(choice));
    if (count.second == contexts.size()) common.push_back(static_cast<ChoiceLiteral>(-choice));
  }
  return common;
}

ContextList OrderContextByChoice(ContextList context) {
  context.remove(0);
  // A stable order by choice, the positive literal of a choice first.
  context.sort([](ChoiceLiteral a, ChoiceLiteral b) {
    if (ChoiceOf(a) != ChoiceOf(b)) return ChoiceOf(a) < ChoiceOf(b);
    return a > b;
  });
  return context;
}

ContextList UnionContextLists(const ContextList& a, const ContextList& b) {
  ContextList united = a;
  for (ChoiceLiteral literal : b) {
    if (std::find(united.begin(), united.end(), literal) == united.end()) united.push_back(literal);
  }
  united.sort();
  return united;
}

bool IsContextSubset(const ContextList& a, const ContextList& b) {
  return std::all_of(a.begin(), a.end(),
                     [&](ChoiceLiteral literal) { return std::find(b.begin(), b.end(), literal) != b.end(); });
}

ContextList UnmentionedLiterals(const ContextList& a, const ContextList& b) {
  ContextList unmentioned;
  for (ChoiceLiteral literal : a) {
    const bool mentioned =
        std::any_of(b.begin(), b.end(), [&](ChoiceLiteral other) { return ChoiceOf(other) == ChoiceOf(literal); });
    if (!mentioned) unmentioned.push_back(literal);
  }
  return unmentioned;
}
