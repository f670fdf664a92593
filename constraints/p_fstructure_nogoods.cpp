// Nogood resolution of P_FStructure: an F-structure collects the contexts
// under which it cannot hold from its own items, from the F-structures
// identified with it through its root links and from its constraining
// items, then picks a context that avoids them all or is marked failed.
// Two things are never merged: unifying them only yields nogoods.
#include "constraints/context_search.h"
#include "constraints/p_fstructure.h"
#include "constraints/solver_hooks.h"

namespace {

bool IsDefiniteClash(const std::list<CFeatureSet>& nogoods) {
  return nogoods.size() == 1 && nogoods.front() == EmptyFeatureSet;
}

// Appends every nogood conjoined with the context.
void AppendConjoined(const std::list<CFeatureSet>& nogoods, const CFeatureSet& context, std::list<CFeatureSet>& out) {
  for (const CFeatureSet& nogood : nogoods) out.push_back(FeatureSetOr(nogood, context));
}

bool SameAttribute(const P_FSItem* a, const P_FSItem* b) {
  return static_cast<int16_t>(a->attribute) == static_cast<int16_t>(b->attribute);
}

// A linked F-structure that takes part in unification: bound and not failed.
P_FStructure* LiveLink(const P_ConVal* link) {
  P_FStructure* fs = link->GetFStructure();
  return fs && !fs->failed ? fs : nullptr;
}

// Calls visit(F-structure, context of the link) for every F-structure that
// unification treats as one with fs: those linked at its root and those
// whose root was linked to it by an equation's path. The walk guards of
// P_UnificationWalk end the way round such a pair.
template <typename Visit>
void ForEachIdentified(const P_FStructure& fs, Visit visit) {
  for (const P_ConVal* link : fs.root->values) {
    if (P_FStructure* linked = link->GetFStructure()) visit(linked, link->contextBits);
  }
  for (const P_FStructure::IdentifiedFrom& from : fs.identifiedFrom) visit(from.fs, from.context);
}

}  // namespace

void P_FStructure::ResolveNogoods() {
  if (nogoodsResolved || failed) return;
  // Set first: an F-structure that reaches itself through its root links
  // ends here.
  nogoodsResolved = true;
  // What is linked at the root was not always finished on its own: the
  // F-structure that an equation with a path made for its first step (the
  // complement's subject of "^XCOMP SUBJ=^OBJ") is reached only from here,
  // and the clashes inside it are its nogoods.
  for (const P_ConVal* link : root->values) {
    if (P_FStructure* linked = link->GetFStructure()) linked->ResolveNogoods();
  }
  CollectItemNogoods();
  CollectRootItemNogoods();
  CollectRootPairNogoods();
  for (const P_ConVal* link : root->values) {
    P_FStructure* linked = link->GetFStructure();
    if (linked && linked->failed) AddNogood(link->contextBits);
  }
  CheckConstrainingItems();
  if (!nogoods.empty()) {
    chosenContext = FindNogoodFreeContext(FeatureSetsToContextLists(nogoods));
    failed = chosenContext.empty();
  }
}

void P_FStructure::CollectItemNogoods() {
  for (P_FSItem* item : items) {
    for (const CFeatureSet& nogood : item->CollectNogoods()) AddNogood(nogood);
    if ((item->GetFlags() & kItemFStructureValued) == 0) continue;
    const ItemValues values(item);
    if (values.empty()) continue;
    P_FStructure* nested = values.front()->GetFStructure();
    if (!nested) continue;  // an atomic value where an F-structure belongs
    nested->ResolveNogoods();
    if (nested->failed) AddNogood(values.front()->contextBits);
  }
}

void P_FStructure::CollectRootItemNogoods() {
  if (root->values.empty()) return;
  for (P_FSItem* item : items) {
    const ItemValues values(item);
    for (P_ConVal* value : values) {
      // An item of several values is unified one value at a time, each under
      // its own context, through a temporary item that borrows the value.
      P_FSItemComplex single(item->attribute, item->GetFlags());
      single.values.push_back(value);
      P_FSItem* unified = values.size() == 1 ? item : &single;
      for (const P_ConVal* link : root->values) {
        P_FStructure* linked = LiveLink(link);
        if (!linked || FeatureSetsConflict(value->contextBits, link->contextBits)) continue;
        const CFeatureSet both = FeatureSetOr(value->contextBits, link->contextBits);
        P_UnificationWalk walk;
        walk.itemSteps.emplace_back(this, unified);
        for (const CFeatureSet& nogood : linked->UnifyItemNogoods(unified, walk)) AddNogood(FeatureSetOr(nogood, both));
      }
      single.ClearValues();
    }
  }
}

void P_FStructure::CollectRootPairNogoods() {
  for (auto i = root->values.begin(); i != root->values.end(); ++i) {
    P_FStructure* left = LiveLink(*i);
    if (!left) continue;
    for (auto j = std::next(i); j != root->values.end(); ++j) {
      P_FStructure* right = LiveLink(*j);
      if (!right || FeatureSetsConflict((*i)->contextBits, (*j)->contextBits)) continue;
      const CFeatureSet both = FeatureSetOr((*i)->contextBits, (*j)->contextBits);
      for (const CFeatureSet& nogood : UnifyItemLists(left, right)) AddNogood(FeatureSetOr(nogood, both));
    }
  }
}

void P_FStructure::CheckConstrainingItems() {
  for (P_FSItem* item : constrainingItems) {
    if ((item->GetFlags() & kItemOnDaughter) == 0) continue;
    P_FStructure* anchor = item->GetAnchor();
    if (!anchor) continue;
    const ItemValues values(item);
    std::vector<bool> used(values.size(), false);
    for (const CFeatureSet& nogood : anchor->ApplyPathItem(item, used)) AddNogood(nogood);
    if (!IsPositiveConstraint(item)) continue;
    // A value that "=c" requires and that is not there makes its own
    // context impossible.
    size_t k = 0;
    for (const P_ConVal* value : values) {
      if (!used[k++]) AddNogood(value->contextBits);
    }
  }
}

std::list<CFeatureSet> P_FStructure::UnifyItemNogoods(P_FSItem* item) {
  P_UnificationWalk walk;
  return UnifyItemNogoods(item, walk);
}

std::list<CFeatureSet> P_FStructure::UnifyItemNogoods(P_FSItem* item, P_UnificationWalk& walk) {
  if (SolverTimeExceeded()) return {EmptyFeatureSet};
  const P_WalkStep step(walk.itemSteps, std::pair<const P_FStructure*, const P_FSItem*>(this, item));
  if (!step.entered()) return {};
  std::list<CFeatureSet> result;
  for (P_FSItem* own : items) {
    if (!SameAttribute(own, item)) continue;
    std::list<CFeatureSet> found = own->CollectNogoodsAgainst(item, walk);
    if (IsDefiniteClash(found)) return found;
    result.splice(result.end(), found);
  }
  ForEachIdentified(*this, [&](P_FStructure* linked, const CFeatureSet& context) {
    AppendConjoined(linked->UnifyItemNogoods(item, walk), context, result);
  });
  return result;
}

std::list<CFeatureSet> UnifyItemLists(P_FStructure* a, P_FStructure* b) {
  P_UnificationWalk walk;
  return UnifyItemLists(a, b, walk);
}

namespace {

std::list<CFeatureSet> UnifyItemListsOnce(P_FStructure* a, P_FStructure* b, P_UnificationWalk& walk) {
  std::list<CFeatureSet> result;
  for (P_FSItem* own : a->items) {
    for (P_FSItem* other : b->items) {
      if (!SameAttribute(own, other)) continue;
      std::list<CFeatureSet> found = own->CollectNogoodsAgainst(other, walk);
      if (IsDefiniteClash(found)) return found;
      result.splice(result.end(), found);
    }
    ForEachIdentified(*b, [&](P_FStructure* linked, const CFeatureSet& context) {
      AppendConjoined(linked->UnifyItemNogoods(own, walk), context, result);
    });
  }
  ForEachIdentified(*a, [&](P_FStructure* linked, const CFeatureSet& ownContext) {
    for (P_FSItem* other : b->items) AppendConjoined(linked->UnifyItemNogoods(other, walk), ownContext, result);
    ForEachIdentified(*b, [&](P_FStructure* other, const CFeatureSet& context) {
      AppendConjoined(UnifyItemLists(linked, other, walk), FeatureSetOr(ownContext, context), result);
    });
  });
  return result;
}

}  // namespace

// A pair already being unified further up adds nothing new here.
std::list<CFeatureSet> UnifyItemLists(P_FStructure* a, P_FStructure* b, P_UnificationWalk& walk) {
  const P_WalkStep step(walk.pairSteps, std::pair<const P_FStructure*, const P_FStructure*>(a, b));
  if (!step.entered()) return {};
  return UnifyItemListsOnce(a, b, walk);
}
