// Nogood-free context search. Solving an F-structure yields nogoods, contexts
// under which it is inconsistent; to read one consistent analysis off it the
// solver needs one assignment of the two-way choices under which no nogood
// holds. The search renumbers the choices that occur as local variables
// 1, 2, ... (by first occurrence, each list sorted first) and finds the
// lowest-numbered free assignment of them, variable v being bit v - 1 (see
// free_assignment_search.h: an exact search over independent parts).
//
// Also here: the context list itself and the small context-list utilities of
// the solver, the item operations and the context restriction.
#pragma once

#include <cstdint>
#include <list>

#include "core/feature_set.h"

// A conjunction of choice literals: +k choice k taken, -k not taken, 0 always
// true. [0] holds everywhere.
using ContextList = std::list<ChoiceLiteral>;
// A list of nogoods, each a context that no reading may satisfy.
using NogoodList = std::list<ContextList>;

// The local variables that occur in one context as positive literals and as
// negative literals (bit v - 1 stands for variable v).
struct ChoiceMaskPair {
  uint32_t positive = 0;
  uint32_t negative = 0;
};

// One assignment of every choice of the nogoods under which no nogood holds:
// the assignment with the lowest number, its literals ordered by variable.
// Empty when there is none; a nogood without any non-zero literal (a definite
// clash or a time-out) gives empty before anything else is looked at.
// [0] when the search cannot decide: no nogoods at all (everything holds),
// a search past its step budget, or a choice number above kMaxFeatureId
// (reported).
ContextList FindNogoodFreeContext(NogoodList nogoods);

// The first candidate, in order, that can be extended by an assignment of the
// nogoods' other choices under which no nogood holds: the extension (lowest
// assignment number first, by variable) followed by the candidate's literals.
// Inconsistent candidates, candidates of 31 or more choices and candidates
// whose extension search passes its step budget are skipped. Empty when no
// candidate can be extended that way, or when a choice number above
// kMaxFeatureId occurs (reported); [0] when the extension holds nothing.
// Without candidates this is FindNogoodFreeContext.
ContextList ExtendNogoodFreeContext(NogoodList nogoods, std::list<ContextList> candidates);

// The literals present in every context, by choice number, +c before -c.
// 0 is never common; no contexts give the empty list.
ContextList CommonContextLiterals(std::list<ContextList> contexts);

// The context without its 0 literals, ordered by choice number; a choice with
// both signs lists its positive literal first; repeated literals stay.
ContextList OrderContextByChoice(ContextList context);

// --- Context lists as the item operations and the restriction combine them

// A copy of a with the literals of b that it lacks, sorted ascending.
ContextList UnionContextLists(const ContextList& a, const ContextList& b);
// Every literal of a is in b (true for an empty a).
bool IsContextSubset(const ContextList& a, const ContextList& b);
// The literals of a, in a's order, whose choice b does not mention with
// either sign.
ContextList UnmentionedLiterals(const ContextList& a, const ContextList& b);
