// Context restriction of P_FStructure: after solving, an F-structure still
// holds every reading of its analysis. RestrictToContextResolved chooses one
// context under which no nogood of it or below it holds, preferably inside a
// context under which Solve found it complete and coherent, and builds a new
// F-structure holding what holds there. NarrowValueContexts then narrows the
// value contexts of that F-structure in place.
#include <algorithm>
#include <map>
#include <utility>
#include <vector>

#include "constraints/choice_tree.h"
#include "constraints/context_search.h"
#include "constraints/escaping_assignment.h"
#include "constraints/p_fstructure.h"
#include "constraints/p_symbol_table.h"

namespace {

// Empty, or holding only the literal 0: describes no choice.
bool IsTrivial(const ContextList& context) {
  return std::all_of(context.begin(), context.end(), [](ChoiceLiteral literal) { return literal == 0; });
}

// Two ascending lists merged in order, duplicates kept.
ContextList MergeOrdered(ContextList a, ContextList b) {
  a.sort();
  b.sort();
  a.merge(b);
  return a;
}

// A path as the choice tree takes it: repeated adjacent literals dropped,
// ordered by choice number.
ContextList TreePath(ContextList path) {
  path.unique();
  return OrderContextByChoice(std::move(path));
}

void AppendAll(std::list<ContextList>& to, std::list<ContextList> from) { to.splice(to.end(), from); }

// The nogoods that no other one contains, fewest literals first: a nogood
// that holds inside a smaller one excludes nothing more, and the short ones
// cut the choice tree near its root, where it stays small.
std::list<CFeatureSet> WeakestNogoods(std::list<CFeatureSet> sets) {
  std::vector<std::pair<size_t, CFeatureSet>> sized;
  for (CFeatureSet& set : sets) sized.emplace_back(ListFeatureLiterals(set).size(), std::move(set));
  std::stable_sort(sized.begin(), sized.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::list<CFeatureSet> kept;
  for (auto& entry : sized) {
    CFeatureSet& set = entry.second;
    const bool contained = std::any_of(kept.begin(), kept.end(), [&set](const CFeatureSet& smaller) {
      return FeatureSetAnd(smaller, set) == smaller;
    });
    if (!contained) kept.push_back(std::move(set));
  }
  return kept;
}

void DeleteItem(P_FSItem* item) { delete item; }

}  // namespace

std::list<CFeatureSet> FilterCompatibleSets(std::list<CFeatureSet> sets, CFeatureSet set) {
  sets.remove_if([&](const CFeatureSet& other) { return FeatureSetsConflict(other, set); });
  return sets;
}

std::list<CFeatureSet> P_FStructure::GetNogoods() const { return nogoods; }

std::list<CFeatureSet> P_FStructure::CollectNogoodsDeep() {
  FStructurePath onTheWay;
  return CollectNogoodsDeep(onTheWay);
}

std::list<CFeatureSet> P_FStructure::CollectNogoodsDeep(FStructurePath& onTheWay) {
  // Clauses below (an infinitival complement, a that-clause, a relative
  // clause) are part of the one reading chosen here, and their choices are
  // numbered with the sentence's: their nogoods count like any others. A
  // relative clause can reach
  // the F-structure that holds it again, so an F-structure already on the
  // way down is not entered a second time.
  if (failed) return {};
  if (std::find(onTheWay.begin(), onTheWay.end(), this) != onTheWay.end()) return {};
  onTheWay.push_back(this);
  std::list<CFeatureSet> deep = nogoods;
  auto appendBelow = [&](const P_ConVal* value) {
    P_FStructure* bound = ValueFStructure(value);
    if (!bound) return;
    for (const CFeatureSet& nogood : bound->CollectNogoodsDeep(onTheWay))
      deep.push_back(FeatureSetOr(nogood, value->contextBits));
  };
  for (const P_ConVal* link : root->values) appendBelow(link);
  for (const P_FSItem* item : items) {
    const ItemValues values(item);
    for (const P_ConVal* value : values) appendBelow(value);
  }
  onTheWay.pop_back();
  return deep;
}

std::list<ContextList> P_FStructure::CollectLinkedNogoods() {
  std::list<ContextList> linked;
  for (const P_FSItem* item : items) {
    const ItemValues values(item);
    for (const P_ConVal* value : values) {
      P_FStructure* bound = value->GetBoundFStructure();
      if (!bound || !value->IsNullValue()) continue;
      // The F-structure's nogoods hold only where the link does: a failed
      // F-structure under a choice costs that choice, not every reading.
      std::list<CFeatureSet> below = bound->GetNogoods();
      for (CFeatureSet& nogood : below) nogood = FeatureSetOr(nogood, value->contextBits);
      AppendAll(linked, FeatureSetsToContextLists(below));
      if (bound->failed) AddNogood(value->contextBits);
    }
  }
  return linked;
}

ContextList P_FStructure::ChooseWithChoiceTree(const std::list<ContextList>& nogoodLists,
                                               const std::list<CFeatureSet>& deepNogoods) const {
  if (solutionContexts.empty()) {
    std::list<ContextList> paths;
    for (const ContextList& path : nogoodLists) paths.push_back(TreePath(path));
    return LowestEscapingAssignment(paths);
  }
  ContextList chosen;
  for (const CFeatureSet& solution : solutionContexts) {
    // Everything outside the solution context is cut away, then the nogoods
    // that can hold inside it.
    std::list<ContextList> paths;
    const FeatureLiteralList literals = ListFeatureLiterals(solution);
    for (const ContextList& path : ComplementPaths(ContextList(literals.begin(), literals.end()))) {
      paths.push_back(TreePath(path));
    }
    for (const ContextList& path :
         FeatureSetsToContextLists(WeakestNogoods(FilterCompatibleSets(deepNogoods, solution)))) {
      paths.push_back(TreePath(path));
    }
    chosen = LowestEscapingAssignment(paths);
    if (!IsTrivial(chosen)) break;
  }
  return chosen;
}

P_FStructure* P_FStructure::RestrictToContextResolved(ContextList& context) {
  P_RestrictionWalk walk;
  return RestrictToContextResolved(context, walk);
}

P_FStructure* P_FStructure::RestrictToContextResolved(ContextList& context, P_RestrictionWalk& walk) {
  if (failed) return nullptr;
  std::list<ContextList> nogoodLists = CollectLinkedNogoods();
  const std::list<CFeatureSet> deep = CollectNogoodsDeep();
  AppendAll(nogoodLists, FeatureSetsToContextLists(deep));
  ContextList chosen;
  if (nogoodLists.empty() && !solutionContexts.empty()) {
    // Without nogoods every context is free, but the reading must still lie
    // inside a context under which Solve found a frame complete and
    // coherent: an alternative that leaves the frame incomplete is no
    // reading even when nothing clashes in it.
    chosen = ExtendNogoodFreeContext({}, FeatureSetsToContextLists(solutionContexts));
    if (IsTrivial(chosen)) chosen.clear();  // a solution that holds everywhere
    if (!chosen.empty() && !context.empty()) {
      context = MergeOrdered(context, UnmentionedLiterals(chosen, context));
      chosen = context;
    }
  } else if (!nogoodLists.empty()) {
    chosen = ExtendNogoodFreeContext(nogoodLists, FeatureSetsToContextLists(solutionContexts));
    if (chosen.empty()) {
      chosen = ChooseWithChoiceTree(nogoodLists, deep);
      if (IsTrivial(chosen)) return nullptr;  // no reading
      if (!context.empty()) chosen = MergeOrdered(chosen, context);
    } else {
      if (!context.empty()) {
        // The caller's context stands; the choices it leaves open are taken
        // from the chosen context.
        context = MergeOrdered(context, UnmentionedLiterals(chosen, context));
        chosen = context;
      }
      if (IsTrivial(chosen)) return nullptr;
    }
  }
  if (chosen.empty()) chosen = context;
  P_FStructure* restricted = BuildRestricted(chosen, walk);
  context = chosen;
  return restricted;
}

P_FStructure* P_FStructure::RestrictToContext(ContextList& context) {
  P_RestrictionWalk walk;
  return RestrictToContext(context, walk);
}

P_FStructure* P_FStructure::RestrictToContext(ContextList& context, P_RestrictionWalk& walk) {
  if (failed) return nullptr;
  return BuildRestricted(context, walk);
}

P_FStructure* P_FStructure::BuildRestricted(const ContextList& context, P_RestrictionWalk& walk) {
  // The walk keeps what each F-structure restricted to, so an F-structure
  // reached twice under the same context becomes one shared F-structure.
  std::pair<const P_FStructure*, ContextList> key{this, context};
  key.second.sort();
  if (const auto found = walk.built.find(key); found != walk.built.end()) return found->second;
  P_FStructure* restricted = BuildRestrictedOnce(context, walk);
  walk.built.emplace(std::move(key), restricted);
  return restricted;
}

P_FStructure* P_FStructure::BuildRestrictedOnce(const ContextList& context, P_RestrictionWalk& walk) {
  auto* restricted = new P_FStructure();
  restricted->restrictedFrom = restrictedFrom != nullptr ? restrictedFrom : this;
  for (P_FSItem* item : items) {
    P_FSItem* kept = item->RestrictToContextIn(context, walk);
    if (kept) restricted->AddItem(kept);
  }
  P_FSItem* keptRoot = root->RestrictToContextIn(context, walk);
  if (auto* complexRoot = dynamic_cast<P_FSItemComplex*>(keptRoot)) {
    delete restricted->root;
    restricted->root = complexRoot;
  } else {
    delete keptRoot;
  }
  return restricted;
}

void P_FStructure::NarrowValueContexts(ContextList& context) {
  if (failed) return;
  for (auto it = items.begin(); it != items.end();) {
    (*it)->NarrowValueContexts(context);
    if ((*it)->GetValueCount() != 0) {
      ++it;
      continue;
    }
    DeleteItem(*it);  // the F-structure owns its items
    it = items.erase(it);
  }
  root->NarrowValueContexts(context);
}
