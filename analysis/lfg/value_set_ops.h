// The value-set operations of the LFG algebra in one place: the
// intersection, disjointness and subset tests of the core, and the
// comparison of two value lists that the mapper and the generator use.
#pragma once

#include "core/value_sets.h"

// True when both lists exist, have the same size and every value of a occurs
// in b.
bool SameValueList(const ValueList* a, const ValueList* b);
