// Operations on value sets: vectors of symbol ids that F-structure nodes,
// equations and lexical entries carry.
#pragma once

#include <memory>
#include <vector>

#include "core/symbol_table.h"

using ValueList = std::vector<SymbolId>;

// The intersection of a and b, or null. Null when either is null; a copy of b
// when a is empty ("anything"); otherwise each value of b, in b's order, once
// for every equal value in a, or null when that is empty.
std::unique_ptr<ValueList> IntersectValues(const ValueList* a, const ValueList* b);

// False when both are empty; otherwise true exactly when IntersectValues is
// null (a non-empty a with an empty b is disjoint; an empty a is not).
bool ValuesDisjoint(const ValueList* a, const ValueList* b);

// Every value of a occurs in b; false when either is null.
bool IsValueSubset(const ValueList* a, const ValueList* b);
