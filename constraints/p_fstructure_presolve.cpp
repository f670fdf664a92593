// Constraint resolution of P_FStructure before solving: every constraining
// item whose left side starts with '^' is checked against the F-structure it
// is anchored at and, where that cannot settle it, against the top
// F-structure of the analysis under every context by which the anchoring
// F-structure was reached. Contexts under which a constraint fails become
// nogoods; each F-structure reached then gets its nogood-free context.
#include <algorithm>

#include "constraints/context_search.h"
#include "constraints/p_fstructure.h"
#include "constraints/p_symbol_table.h"
#include "constraints/solver_hooks.h"

namespace {

// The attribute an application of a constraint scans for, and the rest of
// its path (empty for a plain attribute).
struct ConstraintKey {
  uint16_t attribute = 0;
  bool isPath = false;
  std::string rest;
};

ConstraintKey KeyOf(const P_FSItem* item) {
  ConstraintKey key;
  if ((item->GetFlags() & kItemPath) == 0) {
    key.attribute = item->attribute;
    return key;
  }
  key.isPath = true;
  key.rest = P_SymbolTable::GetString(static_cast<int16_t>(item->attribute));
  key.attribute = P_SymbolTable::Intern(SplitFirstWord(key.rest));
  return key;
}

// Compares the constraint's values with one item's candidate values: a
// pair whose contexts conflict is never compared. A positive constraint
// fails where a compatible candidate does not match, a negative one where it
// does.
void CompareWithCandidates(const std::list<P_ConVal*>& constraint, std::vector<bool>& used, bool positive,
                           const std::list<P_ConVal*>& candidates, std::list<CFeatureSet>& out) {
  size_t k = 0;
  for (const P_ConVal* wanted : constraint) {
    for (const P_ConVal* candidate : candidates) {
      if (FeatureSetsConflict(wanted->contextBits, candidate->contextBits)) continue;
      used[k] = true;
      if (wanted->Matches(candidate) != positive)
        out.push_back(FeatureSetOr(wanted->contextBits, candidate->contextBits));
    }
    ++k;
  }
}

void DeleteValues(std::list<P_ConVal*>& values) {
  for (P_ConVal* value : values) delete value;
  values.clear();
}

}  // namespace

bool P_FStructure::WasVisitedFrom(const P_FStructure* top) const {
  return std::find(passFStructures.begin(), passFStructures.end(), top) != passFStructures.end();
}

void P_FStructure::ResolveNogoodsRecursive(P_FStructure* top, CFeatureSet context) {
  if (failed) return;
  if (presolved) {
    RevisitFromTop(top, context);
    return;
  }
  passFStructures.push_back(top);
  ApplyConstrainingItems(top, context);
  ResolveRootLinks(top, context);
  ResolveFStructureValues();
  if (this == top) ApplyDeferredItems();
  presolved = true;
  if (nogoods.empty()) {
    failed = false;
    return;
  }
  chosenContext = FindNogoodFreeContext(FeatureSetsToContextLists(nogoods));
  failed = chosenContext.empty();
}

void P_FStructure::RevisitFromTop(P_FStructure* top, const CFeatureSet& context) {
  if (!WasVisitedFrom(top)) {
    // Another top reaches this F-structure: it takes over the deferred items
    // under the new reaching context.
    for (P_FSItem* item : passItems) {
      top->passItems.push_back(item);
      top->passContexts.push_back({context});
    }
    return;
  }
  // The same top again: the deferred items are checked under this reaching
  // context too. They stand next to each other in the top's lists.
  if (!passItems.empty()) {
    auto topItem = std::find(top->passItems.begin(), top->passItems.end(), passItems.front());
    auto topContexts = top->passContexts.begin();
    std::advance(topContexts, std::distance(top->passItems.begin(), topItem));
    for (auto own = passItems.begin(); own != passItems.end() && topContexts != top->passContexts.end();
         ++own, ++topContexts) {
      topContexts->push_back(context);
    }
  }
  for (const P_ConVal* link : root->values) {
    P_FStructure* linked = link->GetBoundFStructure();
    if (linked) linked->ResolveNogoodsRecursive(top, FeatureSetOr(link->contextBits, context));
  }
}

void P_FStructure::DeferToTop(P_FSItem* item, P_FStructure* top, const CFeatureSet& context) {
  top->passItems.push_back(item);
  passItems.push_back(item);
  top->passContexts.push_back({context});
}

void P_FStructure::ApplyConstrainingItems(P_FStructure* top, const CFeatureSet& context) {
  for (P_FSItem* item : constrainingItems) {
    if ((item->GetFlags() & kItemOnDaughter) != 0) continue;
    P_FStructure* anchor = item->GetAnchor();
    if (!anchor) continue;
    const ItemValues values(item);
    std::vector<bool> used(values.size(), false);
    for (const CFeatureSet& nogood : anchor->ApplyPathItem(item, used)) AddNogood(nogood);
    // A positive constraint needs a counterpart for every value, a negative
    // one is satisfied without; what the anchor cannot settle goes to the top.
    const bool positive = IsPositiveConstraint(item);
    size_t k = 0;
    for (const P_ConVal* value : values) {
      if (used[k++]) continue;
      if (!positive || anchor != top) {
        DeferToTop(item, top, context);
        break;
      }
      top->AddNogood(FeatureSetOr(value->contextBits, context));
    }
  }
}

void P_FStructure::ResolveRootLinks(P_FStructure* top, const CFeatureSet& context) {
  for (const P_ConVal* link : root->values) {
    P_FStructure* linked = link->GetBoundFStructure();
    if (!linked) continue;
    linked->ResolveNogoodsRecursive(top, FeatureSetOr(link->contextBits, context));
    if (linked->failed) AddNogood(link->contextBits);
  }
}

void P_FStructure::ResolveFStructureValues() {
  for (P_FSItem* item : items) {
    const ItemValues values(item);
    if (values.empty()) continue;
    P_FStructure* nested = ValueFStructure(values.front());
    if (!nested) continue;
    // A nested F-structure is a top of its own.
    nested->ResolveNogoodsRecursive(nested, EmptyFeatureSet);
    if (nested->failed) AddNogood(values.front()->contextBits);
  }
}

void P_FStructure::ApplyDeferredItems() {
  auto contexts = passContexts.begin();
  for (auto item = passItems.begin(); item != passItems.end() && contexts != passContexts.end(); ++item, ++contexts) {
    const ItemValues values(*item);
    std::vector<bool> used(values.size(), false);
    const std::list<CFeatureSet> failures = ApplyPathItem(*item, used);
    for (const CFeatureSet& failure : failures) {
      for (const CFeatureSet& reaching : *contexts) AddNogood(FeatureSetOr(failure, reaching));
    }
    if (!IsPositiveConstraint(*item)) continue;
    size_t k = 0;
    for (const P_ConVal* value : values) {
      if (used[k++]) continue;
      for (const CFeatureSet& reaching : *contexts) AddNogood(FeatureSetOr(value->contextBits, reaching));
    }
  }
}

std::list<CFeatureSet> P_FStructure::ApplyPathItem(P_FSItem* item, std::vector<bool>& used) {
  if (SolverTimeExceeded()) return {EmptyFeatureSet};
  const ItemValues constraint(item);
  if (used.size() < constraint.size()) used.resize(constraint.size(), false);
  const bool positive = IsPositiveConstraint(item);
  const ConstraintKey key = KeyOf(item);
  std::list<CFeatureSet> result;
  for (P_FSItem* own : items) {
    if (static_cast<int16_t>(own->attribute) > static_cast<int16_t>(key.attribute)) break;
    if (own->attribute != key.attribute) continue;
    if (!key.isPath) {
      const ItemValues candidates(own);
      CompareWithCandidates(constraint.list(), used, positive, candidates.list(), result);
      continue;
    }
    P_FStructure* nested = FirstValueFStructure(own);
    if (!nested) continue;  // the path cannot be followed through atomic values
    std::list<P_ConVal*> candidates = nested->CollectPathValues(key.rest);
    CompareWithCandidates(constraint.list(), used, positive, candidates, result);
    DeleteValues(candidates);
  }
  for (const P_ConVal* link : root->values) {
    P_FStructure* linked = link->GetBoundFStructure();
    if (!linked) continue;
    for (const CFeatureSet& nogood : linked->ApplyPathItem(item, used)) {
      result.push_back(FeatureSetOr(nogood, link->contextBits));
    }
  }
  return result;
}

std::list<P_ConVal*> P_FStructure::CollectPathValues(std::string path) {
  const bool last = path.find(' ') == std::string::npos;
  const uint16_t attribute = P_SymbolTable::Intern(last ? path : SplitFirstWord(path));
  std::list<P_FSItem*> found;
  std::list<CFeatureSet> reached;
  FindItemsWithAttribute(attribute, found, reached, CFeatureSet(kFeatureSetWords));
  std::list<P_ConVal*> collected;
  auto context = reached.begin();
  for (const P_FSItem* item : found) {
    const ItemValues values(item);
    for (const P_ConVal* value : values) {
      if (last) {
        P_ConVal* clone = value->Clone();
        clone->ConjoinContextBits(*context);
        collected.push_back(clone);
        continue;
      }
      P_FStructure* inner = value->GetFStructure();
      if (!inner) continue;
      // What lies behind a link holds only under the link's own context too
      // (a root link of one alternative of the daughter, say).
      const CFeatureSet way = FeatureSetOr(*context, value->contextBits);
      for (P_ConVal* deeper : inner->CollectPathValues(path)) {
        deeper->ConjoinContextBits(way);
        collected.push_back(deeper);
      }
    }
    ++context;
  }
  return collected;
}
