// Solving an F-structure: completeness and coherence of its governable
// functions against the subcategorisation frames of its predicates, under
// choice contexts. Solve does not choose a reading: it adds the contexts of
// violations as nogoods and collects the contexts under which some frame is
// satisfied (solutionContexts).
#include <algorithm>
#include <map>
#include <vector>

#include "constraints/context_search.h"
#include "constraints/p_fstructure.h"
#include "constraints/p_symbol_table.h"
#include "constraints/solver_hooks.h"
#include "core/string_helpers.h"
#include "core/trace_log.h"

namespace {

// The "GF" items that govern the F-structure, each with the context under
// which it does; one governing F-structure needs no context of its own.
struct GoverningItems {
  std::vector<P_FSItem*> items;
  std::vector<CFeatureSet> contexts;
  bool conditional = false;
};

// One frame that some governing item asks for: its functions and the
// distinct contexts under which it is asked for.
struct RequiredFrame {
  int number = 0;
  std::vector<uint16_t> functions;
  std::list<CFeatureSet> required;
};

// The governable functions present, each with the distinct contexts of its
// presence.
struct PresentFunctions {
  std::vector<uint16_t> ids;
  std::vector<std::list<CFeatureSet>> contexts;
};

void AppendDistinct(std::list<CFeatureSet>& sets, const CFeatureSet& set) {
  if (std::find(sets.begin(), sets.end(), set) == sets.end()) sets.push_back(set);
}

GoverningItems FindGoverningItems(const std::list<P_FStructure*>& found,
                                  const std::list<std::list<CFeatureSet>>& contexts) {
  GoverningItems governing;
  // One F-structure reached only under the always-true context governs
  // without a context of its own. One reached through a link under a choice
  // (an alternative of a packed daughter, solved with the others of its
  // function) governs only under that choice: its frame's violations are
  // nogoods of that alternative, not of every reading.
  const bool unconditional =
      found.size() == 1 && std::all_of(contexts.front().begin(), contexts.front().end(),
                                       [](const CFeatureSet& context) { return context == EmptyFeatureSet; });
  if (unconditional) {
    governing.items.push_back(found.front()->FindItem(SymbolTableGfId));
    return governing;
  }
  governing.conditional = true;
  auto reached = contexts.begin();
  for (P_FStructure* fs : found) {
    P_FSItem* gf = fs->FindItem(SymbolTableGfId);
    const ContextList common = CommonContextLiterals(FeatureSetsToContextLists(*reached));
    if (common.empty()) {
      // Reached under contexts with nothing in common: governs once per context.
      for (const CFeatureSet& context : *reached) {
        governing.items.push_back(gf);
        governing.contexts.push_back(context);
      }
    } else {
      governing.items.push_back(gf);
      governing.contexts.push_back(BuildFeatureSet(FeatureLiteralList(common.begin(), common.end())));
    }
    ++reached;
  }
  return governing;
}

// The frames asked for, ordered by frame number. A frame number is read from
// the digits of the "GF" value; of two values with the same number the later
// one's contexts count. Numbers that name no frame are logged and skipped.
std::vector<RequiredFrame> CollectRequiredFrames(const GoverningItems& governing) {
  std::vector<uint16_t> frameIds;
  std::vector<std::list<CFeatureSet>> required;
  for (size_t i = 0; i < governing.items.size(); ++i) {
    if (!governing.items[i]) continue;
    const ItemValues values(governing.items[i]);
    for (const P_ConVal* value : values) {
      const CFeatureSet context =
          governing.conditional ? FeatureSetOr(governing.contexts[i], value->contextBits) : value->contextBits;
      const uint16_t id = value->GetPlainValue();
      const auto known = std::find(frameIds.begin(), frameIds.end(), id);
      if (known != frameIds.end()) {
        AppendDistinct(required[known - frameIds.begin()], context);
        continue;
      }
      frameIds.push_back(id);
      required.push_back({context});
    }
  }
  std::map<int, std::list<CFeatureSet>> byNumber;
  for (size_t i = 0; i < frameIds.size(); ++i) {
    byNumber[ParseDigits(P_SymbolTable::GetString(static_cast<int16_t>(frameIds[i])))] = required[i];
  }
  std::vector<RequiredFrame> frames;
  for (auto& [number, contexts] : byNumber) {
    const std::optional<std::vector<uint16_t>> functions = LookUpSubcatFrame(number);
    if (!functions) {
      WriteTraceLog(u"Subcategorisation frame " + IntToWString(number) +
                    u" is not in the frame table; its predicate is not checked against it.");
      continue;
    }
    frames.push_back({number, *functions, std::move(contexts)});
  }
  return frames;
}

// The distinct presence contexts of each governable function; values bound
// to a failed F-structure do not make a function present.
PresentFunctions CollectPresentFunctions(P_FStructure& fs) {
  std::vector<std::list<P_ConVal*>> present(GovernableFunctionIds.size());
  fs.ScanGovernableFunctions(present);
  PresentFunctions result;
  auto id = GovernableFunctionIds.begin();
  for (std::list<P_ConVal*>& copies : present) {
    std::list<CFeatureSet> contexts;
    for (P_ConVal* copy : copies) {
      const P_FStructure* bound = copy->GetFStructure();
      if (!bound || !bound->failed) AppendDistinct(contexts, copy->contextBits);
      delete copy;
    }
    if (!contexts.empty()) {
      result.ids.push_back(*id);
      result.contexts.push_back(std::move(contexts));
    }
    ++id;
  }
  return result;
}

// Every consistent combination of one presence context per function so far
// with the presence contexts of the next function. When none survives, the
// next function starts afresh from its own contexts.
void CombinePresence(std::list<CFeatureSet>& combinations, const std::list<CFeatureSet>& presence) {
  std::list<CFeatureSet> previous;
  previous.swap(combinations);
  for (const CFeatureSet& p : presence) {
    if (previous.empty()) {
      combinations.push_back(p);
      continue;
    }
    for (const CFeatureSet& t : previous) {
      if (!FeatureSetsConflict(t, p)) combinations.push_back(FeatureSetOr(t, p));
    }
  }
}

// An F-structure held by a function, with the context under which it is
// held from the F-structure being solved.
struct HeldFStructure {
  uint16_t attribute = 0;
  P_FStructure* fs = nullptr;
  CFeatureSet context;
};

// The F-structures held by the values of the items of the F-structure and of
// those linked at its root, each with its function and the conjoined
// contexts of the way to it.
void CollectHeldFStructures(P_FStructure& fs, const CFeatureSet& context, std::vector<HeldFStructure>& held,
                            std::vector<const P_FStructure*>& visited) {
  if (fs.failed || std::find(visited.begin(), visited.end(), &fs) != visited.end()) return;
  visited.push_back(&fs);
  for (const P_FSItem* item : fs.items) {
    const ItemValues values(item);
    for (const P_ConVal* value : values) {
      P_FStructure* bound = ValueFStructure(value);
      if (!bound || bound->failed) continue;
      const CFeatureSet reached = FeatureSetOr(context, value->contextBits);
      if (IsConsistentFeatureSet(reached)) held.push_back({item->attribute, bound, reached});
    }
  }
  for (const P_ConVal* link : fs.root->values) {
    P_FStructure* linked = link->GetBoundFStructure();
    if (!linked) continue;
    const CFeatureSet reached = FeatureSetOr(context, link->contextBits);
    if (IsConsistentFeatureSet(reached)) CollectHeldFStructures(*linked, reached, held, visited);
  }
  visited.pop_back();
}

// An F-structure of coordination: it, or one identified with it through its
// root, holds the members of a set.
bool HoldsSetMembers(const P_FStructure& fs, std::vector<const P_FStructure*>& visited) {
  if (std::find(visited.begin(), visited.end(), &fs) != visited.end()) return false;
  visited.push_back(&fs);
  const bool own = std::any_of(fs.items.begin(), fs.items.end(), [](const P_FSItem* item) {
    return P_SymbolTable::GetString(static_cast<int16_t>(item->attribute)) == "SET";
  });
  return own || std::any_of(fs.root->values.begin(), fs.root->values.end(), [&visited](const P_ConVal* link) {
           const P_FStructure* linked = link->GetBoundFStructure();
           return linked && HoldsSetMembers(*linked, visited);
         });
}

bool HoldsSetMembers(const P_FStructure& fs) {
  std::vector<const P_FStructure*> visited;
  return HoldsSetMembers(fs, visited);
}

}  // namespace

void P_FStructure::Solve() {
  FStructurePath onTheWay;
  SolveWithin(onTheWay);
}

void P_FStructure::SolveWithin(FStructurePath& onTheWay) {
  if (SolverTimeExceeded() || solved || failed) return;
  std::list<P_FStructure*> found;
  std::list<std::list<CFeatureSet>> reached;
  CollectFStructuresWithGF(found, reached, CFeatureSet(kFeatureSetWords));
  const GoverningItems governing = found.empty() ? GoverningItems{} : FindGoverningItems(found, reached);
  const std::vector<RequiredFrame> frames = CollectRequiredFrames(governing);
  const PresentFunctions present = CollectPresentFunctions(*this);
  if (governing.items.empty() && !present.ids.empty() && !HoldsSetMembers(*this)) {
    // A governable function without a governing frame is incoherent
    // wherever it is present. A set's functions are its members' (a subject
    // shared by coordinated verb phrases): each member is checked against
    // its own frame.
    for (const auto& contexts : present.contexts) {
      for (const CFeatureSet& context : contexts) AddNogood(context);
    }
  }
  for (const RequiredFrame& frame : frames) CheckFrame(frame.functions, frame.required, present.ids, present.contexts);
  solved = true;
  SolveNestedFStructures(onTheWay);
}

void P_FStructure::CheckFrame(const std::vector<uint16_t>& functions, const std::list<CFeatureSet>& required,
                              const std::vector<uint16_t>& presentIds,
                              const std::vector<std::list<CFeatureSet>>& presentContexts) {
  std::vector<bool> marked(presentIds.size());
  size_t count = 0;
  for (size_t j = 0; j < presentIds.size(); ++j) {
    marked[j] = std::find(functions.begin(), functions.end(), presentIds[j]) != functions.end();
    if (marked[j]) ++count;
  }
  if (count != functions.size()) {
    // Incomplete: a function of the frame is missing wherever it is asked for.
    for (const CFeatureSet& context : required) AddNogood(context);
    return;
  }
  std::list<CFeatureSet> combinations;
  for (size_t j = 0; j < presentIds.size(); ++j) {
    if (marked[j]) {
      CombinePresence(combinations, presentContexts[j]);
      continue;
    }
    // Incoherent: a function the frame does not take.
    for (const CFeatureSet& p : presentContexts[j]) {
      for (const CFeatureSet& c : required) AddNogood(FeatureSetOr(p, c));
    }
  }
  if (combinations.empty()) {
    for (const CFeatureSet& context : required) AddNogood(context);
    return;
  }
  combinations.sort();  // a stable merge sort
  combinations.unique();
  for (const CFeatureSet& c : required) {
    for (const CFeatureSet& a : combinations) {
      const CFeatureSet solution = FeatureSetOr(c, a);
      if (IsConsistentFeatureSet(solution) && !IsNogoodContext(solution)) solutionContexts.push_back(solution);
    }
  }
}

// The nested F-structures are solved one function at a time, not one
// P_FStructure at a time: the content of one function is spread over every
// value that the F-structure and those identified with it (its root links)
// give it. A verb phrase's XCOMP holds the infinitive's PRED and frame while
// the clause's own XCOMP, made by an equation such as "^XCOMP OBJ=!", holds
// the fronted object. They are solved together as the one F-structure they
// stand for, and the nogoods found there are nogoods of this F-structure:
// an incomplete or incoherent complement rules out the readings that reach
// it.
void P_FStructure::SolveNestedFStructures(FStructurePath& onTheWay) {
  // onTheWay: the F-structures being solved on the way down; one reached
  // again is not entered a second time, so a structure that contains itself
  // ends.
  std::vector<HeldFStructure> held;
  std::vector<const P_FStructure*> visited;
  CollectHeldFStructures(*this, CFeatureSet(kFeatureSetWords), held, visited);
  std::vector<uint16_t> attributes;
  for (const HeldFStructure& h : held) {
    if (std::find(attributes.begin(), attributes.end(), h.attribute) == attributes.end())
      attributes.push_back(h.attribute);
  }
  for (uint16_t attribute : attributes) {
    if (SolverTimeExceeded()) return;
    P_FStructure joined;
    // One F-structure may be held under several contexts: each way counts.
    const auto before = static_cast<std::ptrdiff_t>(onTheWay.size());
    size_t entered = 0;
    for (const HeldFStructure& h : held) {
      if (h.attribute != attribute) continue;
      if (std::find(onTheWay.begin(), onTheWay.begin() + before, h.fs) != onTheWay.begin() + before) continue;
      auto* link = new P_ConValFSLink(h.fs, 0);
      link->contextBits = h.context;
      const FeatureLiteralList literals = ListFeatureLiterals(h.context);
      link->context.assign(literals.begin(), literals.end());
      joined.root->AddValue(link);
      onTheWay.push_back(h.fs);
      ++entered;
    }
    if (entered != 0) joined.SolveWithin(onTheWay);
    onTheWay.resize(onTheWay.size() - entered);
    for (const CFeatureSet& nogood : joined.nogoods) AddNogood(nogood);
  }
}

void P_FStructure::CollectFStructuresWithGF(std::list<P_FStructure*>& found,
                                            std::list<std::list<CFeatureSet>>& contexts, CFeatureSet context) {
  if (failed) return;
  for (const P_FSItem* item : items) {
    if (static_cast<int16_t>(item->attribute) > static_cast<int16_t>(SymbolTableGfId)) break;
    if (item->attribute != SymbolTableGfId) continue;
    const auto known = std::find(found.begin(), found.end(), this);
    if (known != found.end()) {
      std::next(contexts.begin(), std::distance(found.begin(), known))->push_back(context);
    } else {
      found.push_back(this);
      contexts.push_back({context});
    }
  }
  for (const P_ConVal* link : root->values) {
    P_FStructure* linked = link->GetBoundFStructure();
    if (!linked || linked->failed || IsNogoodContext(link->contextBits)) continue;
    linked->CollectFStructuresWithGF(found, contexts, FeatureSetOr(link->contextBits, context));
  }
}

void P_FStructure::ScanGovernableFunctions(std::vector<std::list<P_ConVal*>>& present) {
  if (failed) return;
  CollectOwnFunctions(present);
  for (const P_ConVal* link : root->values) {
    P_FStructure* linked = link->GetBoundFStructure();
    if (!linked || IsNogoodContext(link->contextBits)) continue;
    std::vector<std::list<P_ConVal*>> sub(present.size());
    linked->ScanGovernableFunctions(sub);
    for (size_t k = 0; k < sub.size(); ++k) {
      for (P_ConVal* copy : sub[k]) {
        copy->contextBits = FeatureSetOr(copy->contextBits, link->contextBits);
        if (IsNogoodContext(copy->contextBits)) {
          delete copy;
        } else {
          present[k].push_back(copy);
        }
      }
    }
  }
}

void P_FStructure::CollectOwnFunctions(std::vector<std::list<P_ConVal*>>& present) {
  // Both lists ascend, so each search starts where the last one found.
  auto from = items.begin();
  size_t k = 0;
  for (uint16_t function : GovernableFunctionIds) {
    const size_t slot = k++;
    if (slot >= present.size()) break;
    const auto found = std::find_if(from, items.end(), [&](const P_FSItem* item) {
      return static_cast<int16_t>(item->attribute) == static_cast<int16_t>(function);
    });
    if (found == items.end()) continue;
    from = found;
    // A function holding atomic values has no F-structure: its own values
    // make it present.
    P_FStructure* held = FirstValueFStructure(*found);
    if (held && held->failed) continue;
    const ItemValues own(*found);
    const std::list<P_ConVal*>& ways = held && !held->root->values.empty() ? held->root->values : own.list();
    for (const P_ConVal* way : ways) {
      if (!IsNogoodContext(way->contextBits)) present[slot].push_back(way->Clone());
    }
  }
}
