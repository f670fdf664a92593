#include "core/value_sets.h"

#include <algorithm>

std::unique_ptr<ValueList> IntersectValues(const ValueList* a, const ValueList* b) {
  if (!a || !b) return nullptr;
  // An empty first list is unconstrained: it allows whatever b allows.
  if (a->empty()) return std::make_unique<ValueList>(*b);
  auto common = std::make_unique<ValueList>();
  for (SymbolId value : *b) {
    auto copies = std::count(a->begin(), a->end(), value);
    common->insert(common->end(), static_cast<size_t>(copies), value);
  }
  if (common->empty()) return nullptr;
  return common;
}

bool ValuesDisjoint(const ValueList* a, const ValueList* b) {
  if (a && b && a->empty() && b->empty()) return false;
  return IntersectValues(a, b) == nullptr;
}

bool IsValueSubset(const ValueList* a, const ValueList* b) {
  if (!a || !b) return false;
  return std::all_of(a->begin(), a->end(),
                     [b](SymbolId value) { return std::find(b->begin(), b->end(), value) != b->end(); });
}
