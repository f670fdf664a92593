// The item operations of the solver: the nogoods between the values of one
// item or of two items of the same attribute, and the restriction of an item
// to one chosen context.
#include <algorithm>

#include "constraints/context_search.h"
#include "constraints/p_fs_item.h"
#include "constraints/p_fstructure.h"
#include "constraints/solver_hooks.h"

namespace {

// A parse that has run out of time reports one definite clash, which leaves
// the F-structure recording it without a reading.
std::list<CFeatureSet> OutOfTimeNogoods() { return {EmptyFeatureSet}; }

// The nogoods of two values that would both hold. Atomic values clash when
// they do not match, an atomic value always clashes with an F-structure, and
// two F-structures clash where their item lists do. With checkFailed, a
// failed F-structure of a makes a's own context a nogood.
void AppendPairNogoods(const P_ConVal& a, const P_ConVal& b, bool checkFailed, std::list<CFeatureSet>& out,
                       P_UnificationWalk& walk) {
  const CFeatureSet both = FeatureSetOr(a.contextBits, b.contextBits);
  P_FStructure* fa = a.GetFStructure();
  P_FStructure* fb = b.GetFStructure();
  if (!a.IsNullValue()) {
    if (!b.IsNullValue()) {
      if (!a.Matches(&b)) out.push_back(both);
    } else if (fb) {
      out.push_back(both);
    }
    return;
  }
  if (!fa) return;
  if (!b.IsNullValue()) {
    out.push_back(both);
    return;
  }
  if (checkFailed && fa->failed) {
    out.push_back(a.contextBits);
    return;
  }
  if (!fb) return;
  for (const CFeatureSet& nogood : UnifyItemLists(fa, fb, walk)) out.push_back(FeatureSetOr(nogood, both));
}

// A value survives a context when none of its literals is contradicted
// there; literals on choices the context leaves open, and 0, never remove it.
bool SurvivesContext(const ContextList& valueContext, const ContextList& context) {
  if (IsContextSubset(valueContext, context)) return true;
  const ContextList open = UnmentionedLiterals(valueContext, context);
  if (open.empty()) return false;
  return IsContextSubset(valueContext, UnionContextLists(context, open));
}

// The value's F-structure restricted to the context; F-structures that were
// solved under a governing frame choose their own reading inside it.
P_FStructure* RestrictBoundFStructure(P_FStructure* bound, uint16_t attribute, const ContextList& context,
                                      P_RestrictionWalk& walk) {
  ContextList working = context;
  if (attribute != 0 && !bound->solutionContexts.empty()) return bound->RestrictToContextResolved(working, walk);
  return bound->RestrictToContext(working, walk);
}

CFeatureSet ContextBits(const ContextList& context) {
  return BuildFeatureSet(FeatureLiteralList(context.begin(), context.end()));
}

ContextList LiteralsOf(const CFeatureSet& bits) {
  const FeatureLiteralList literals = ListFeatureLiterals(bits);
  return ContextList(literals.begin(), literals.end());
}

}  // namespace

std::list<CFeatureSet> P_FSItemComplex::CollectNogoods() {
  if (SolverTimeExceeded()) return OutOfTimeNogoods();
  std::list<CFeatureSet> nogoods;
  P_UnificationWalk walk;
  for (auto a = values.begin(); a != values.end(); ++a) {
    for (auto b = std::next(a); b != values.end(); ++b) {
      if (FeatureSetsConflict((*a)->contextBits, (*b)->contextBits)) continue;
      AppendPairNogoods(**a, **b, true, nogoods, walk);
    }
  }
  return nogoods;
}

std::list<CFeatureSet> P_FSItemComplex::CollectNogoodsAgainst(P_FSItem* other, P_UnificationWalk& walk) {
  if (SolverTimeExceeded()) return OutOfTimeNogoods();
  std::list<CFeatureSet> nogoods;
  const ItemValues others(other);
  for (const P_ConVal* a : values) {
    for (const P_ConVal* b : others) AppendPairNogoods(*a, *b, false, nogoods, walk);
  }
  return nogoods;
}

P_FSItem* P_FSItemComplex::RestrictToContextIn(const ContextList& context, P_RestrictionWalk& walk) {
  auto* restricted = new P_FSItemComplex(attribute, flags);
  for (const P_ConVal* value : values) {
    if (!SurvivesContext(value->context, context)) continue;
    P_FStructure* bound = ValueFStructure(value);
    if (!bound) {
      // A copy: the restricted F-structure may be freed at another time.
      restricted->AddValue(value->Clone());
      continue;
    }
    P_FStructure* narrowed = RestrictBoundFStructure(bound, attribute, context, walk);
    if (!narrowed) continue;  // the F-structure has no reading there
    auto* link = new P_ConValFSLink(narrowed, 0);
    link->context = value->context;
    link->contextBits = value->contextBits;
    restricted->AddValue(link);
  }
  if (restricted->values.empty()) {
    delete restricted;
    return nullptr;
  }
  return restricted;
}

void P_FSItemComplex::NarrowValueContexts(ContextList& context) {
  for (auto it = values.begin(); it != values.end();) {
    P_ConVal* value = *it;
    const ContextList open = UnmentionedLiterals(LiteralsOf(value->contextBits), context);
    if (!FeatureSetsConflict(ContextBits(context), value->contextBits)) {
      // The value agrees with the reading: the choices it depends on are
      // fixed its way.
      context.insert(context.end(), open.begin(), open.end());
      if (P_FStructure* bound = ValueFStructure(value)) bound->NarrowValueContexts(context);
      ++it;
      continue;
    }
    // The value clashes: the other choices it depends on are fixed the
    // other way, so that values depending on them go too.
    for (ChoiceLiteral literal : open) context.push_back(static_cast<ChoiceLiteral>(-literal));
    it = values.erase(it);
    if (std::find(values.begin(), values.end(), value) == values.end()) delete value;
  }
}
