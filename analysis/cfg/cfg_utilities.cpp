#include "analysis/cfg/cfg_utilities.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <set>

#include "constraints/p_fs_item.h"

std::vector<ContextList> MakeChoiceContexts(int n) {
  std::vector<ContextList> contexts;
  if (n < 1 || n > kMaxChoiceNumber + 1) return contexts;
  for (int i = 0; i < n; ++i) {
    ContextList context;
    if (i > 0) context.push_back(static_cast<ChoiceLiteral>(i));
    for (int k = std::max(i + 1, 1); k < n; ++k) context.push_back(static_cast<ChoiceLiteral>(-k));
    contexts.push_back(std::move(context));
  }
  return contexts;
}

int ShiftChoiceContexts(std::vector<ContextList>& contexts, int offset) {
  int largest = 0;
  for (const ContextList& context : contexts) {
    for (ChoiceLiteral literal : context) {
      const int shifted = std::abs(literal) + offset;
      if (literal != 0 && shifted > kMaxChoiceNumber) return -1;
      if (literal > 0) largest = std::max(largest, shifted);
    }
  }
  for (ContextList& context : contexts) {
    for (ChoiceLiteral& literal : context) {
      if (literal > 0) literal = static_cast<ChoiceLiteral>(literal + offset);
      if (literal < 0) literal = static_cast<ChoiceLiteral>(literal - offset);
    }
  }
  return largest;
}

std::optional<ContextList> MergeAlternativeContexts(const ContextList& a, const ContextList& b) {
  std::set<ChoiceLiteral> first, second;
  for (ChoiceLiteral literal : a) {
    if (literal != 0) first.insert(literal);
  }
  for (ChoiceLiteral literal : b) {
    if (literal != 0) second.insert(literal);
  }
  const auto within = [](const std::set<ChoiceLiteral>& x, const std::set<ChoiceLiteral>& y) {
    return std::includes(y.begin(), y.end(), x.begin(), x.end());
  };
  const auto asList = [](const std::set<ChoiceLiteral>& literals) {
    return literals.empty() ? ContextList{0} : ContextList(literals.begin(), literals.end());
  };
  if (within(first, second)) return asList(first);
  if (within(second, first)) return asList(second);
  if (first.size() != second.size()) return std::nullopt;
  // The same literals but one, whose sign differs: that choice drops out.
  std::vector<ChoiceLiteral> onlyFirst;
  std::set_difference(first.begin(), first.end(), second.begin(), second.end(), std::back_inserter(onlyFirst));
  if (onlyFirst.size() != 1 || second.count(static_cast<ChoiceLiteral>(-onlyFirst.front())) == 0) return std::nullopt;
  first.erase(onlyFirst.front());
  return asList(first);
}

uint32_t IndexOfValue(const std::vector<uint32_t>& values, uint32_t value) {
  auto found = std::find(values.begin(), values.end(), value);
  if (found == values.end()) return 0xFFFFFFFFu;
  return static_cast<uint32_t>(found - values.begin());
}

bool CompareByAttribute(const P_FSItem* a, const P_FSItem* b) {
  return static_cast<int16_t>(a->attribute) < static_cast<int16_t>(b->attribute);
}

bool VectorContainsId(const std::vector<uint16_t>& ids, uint16_t id) {
  return std::find(ids.begin(), ids.end(), id) != ids.end();
}

std::vector<uint16_t> IntersectIdVectors(const std::vector<uint16_t>& a, const std::vector<uint16_t>& b) {
  std::vector<uint16_t> result;
  for (uint16_t id : a) {
    if (VectorContainsId(b, id)) result.push_back(id);
  }
  return result;
}
