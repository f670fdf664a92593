#include "analysis/cfg/cfg_utilities.h"

#include <algorithm>
#include <cstdlib>

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

ContextList MergeAlternativeContexts(const ContextList& a, const ContextList& b) {
  auto in_b = [&b](ChoiceLiteral literal) { return std::find(b.begin(), b.end(), literal) != b.end(); };
  auto excluded = std::find_if(a.begin(), a.end(), [&](ChoiceLiteral x) { return x != 0 && in_b(static_cast<ChoiceLiteral>(-x)); });
  const int k = excluded == a.end() ? -1 : std::abs(*excluded);
  ContextList result;
  for (auto it = a.begin(); it != a.end(); ++it) {
    if (it != excluded) result.push_back(*it);
  }
  for (ChoiceLiteral literal : b) {
    if (std::abs(literal) == k) continue;
    if (std::find(result.begin(), result.end(), literal) != result.end()) continue;
    result.push_back(literal);
  }
  return result;
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
