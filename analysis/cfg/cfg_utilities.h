// Small functions of the CFG parser's F-structure construction: choice
// contexts for packed alternatives, look-ups in value vectors, and the order
// of F-structure items.
#pragma once

#include <cstdint>
#include <vector>

#include "constraints/context_search.h"

class P_FSItem;

// The highest choice number a context can carry: the last bit of a feature
// set.
inline constexpr int kMaxChoiceNumber = kMaxFeatureId;

// n contexts for n mutually exclusive alternatives: context 0 is
// [-1, -2, ..., -(n-1)], context i (1 <= i < n) is [+i, -(i+1), ..., -(n-1)].
// Empty for n < 1; n above kMaxChoiceNumber + 1 gives nothing either.
std::vector<ContextList> MakeChoiceContexts(int n);

// Adds the offset to every positive literal and subtracts it from every
// negative one; returns the largest positive literal after the shift (0 when
// there is none). When a literal would pass kMaxChoiceNumber nothing is
// changed and the answer is -1.
int ShiftChoiceContexts(std::vector<ContextList>& contexts, int offset);

// The context of a child that two alternatives share: a without its first
// literal x whose negation is in b, then the literals of b whose choice is
// not x's and that are not there yet.
ContextList MergeAlternativeContexts(const ContextList& a, const ContextList& b);

// Index of the first element equal to the value; 0xFFFFFFFF when absent.
uint32_t IndexOfValue(const std::vector<uint32_t>& values, uint32_t value);

// The sort order of F-structure item lists: attribute ids compared as signed
// 16-bit numbers (a strict weak ordering).
bool CompareByAttribute(const P_FSItem* a, const P_FSItem* b);

// Whether the id is in the vector.
bool VectorContainsId(const std::vector<uint16_t>& ids, uint16_t id);
// The elements of a, in a's order and with a's repetitions, that occur in b.
std::vector<uint16_t> IntersectIdVectors(const std::vector<uint16_t>& a, const std::vector<uint16_t>& b);
