// Small functions of the CFG parser's F-structure construction: choice
// contexts for packed alternatives, look-ups in value vectors, and the order
// of F-structure items.
#pragma once

#include <cstdint>
#include <optional>
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

// The context under which a child shared by two alternatives stands: the
// one conjunction that holds exactly when a or b holds. That is a itself when
// every literal of a is in b (b is then the narrower one), b when every
// literal of b is in a, and the common literals when a and b differ only in
// the sign of one choice. Nothing for any other pair: "a or b" is then no
// conjunction, and the child must be linked under each context apart (a
// narrower merged context would leave it out of some readings).
std::optional<ContextList> MergeAlternativeContexts(const ContextList& a, const ContextList& b);

// Index of the first element equal to the value; 0xFFFFFFFF when absent.
uint32_t IndexOfValue(const std::vector<uint32_t>& values, uint32_t value);

// The sort order of F-structure item lists: attribute ids compared as signed
// 16-bit numbers (a strict weak ordering).
bool CompareByAttribute(const P_FSItem* a, const P_FSItem* b);

// Whether the id is in the vector.
bool VectorContainsId(const std::vector<uint16_t>& ids, uint16_t id);
// The elements of a, in a's order and with a's repetitions, that occur in b.
std::vector<uint16_t> IntersectIdVectors(const std::vector<uint16_t>& a, const std::vector<uint16_t>& b);
