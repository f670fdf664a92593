#include "analysis/lfg/value_set_ops.h"

#include <algorithm>

bool SameValueList(const ValueList* a, const ValueList* b) {
  if (a == nullptr || b == nullptr || a->size() != b->size()) return false;
  return std::all_of(a->begin(), a->end(),
                     [b](SymbolId value) { return std::find(b->begin(), b->end(), value) != b->end(); });
}
