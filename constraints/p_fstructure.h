// One F-structure while the CFG parser builds and solves it: the defining
// items of one analysis, the constraining items still to be tested, the root
// item whose links identify it with other F-structures, and the nogoods (the
// choice contexts under which it cannot exist).
//
// Ownership. Every P_FStructure registers itself when it is made and belongs
// to that per-sentence registry, not to the links that point to it: copies of
// a link may share an F-structure freely, and an F-structure linked at a root
// may also hang at a chart item. P_FSCompiler::ResetForSentence frees all of
// them at once (P_FStructure::DeleteAll). Deleting one earlier is allowed (it
// leaves the registry); no pointer to one may be used after the reset.
// An F-structure owns its items (items, constrainingItems, root), and the
// items own their values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <string>
#include <vector>

#include "constraints/p_con_val.h"
#include "constraints/p_fs_item.h"
#include "core/feature_set.h"

// The empty context, true under every choice: 5 zero words per half.
extern const CFeatureSet EmptyFeatureSet;

class P_FStructure {
 public:
  P_FStructure();
  // Deletes items, then constrainingItems, then root; leaves the registry.
  ~P_FStructure();
  P_FStructure(const P_FStructure&) = delete;
  P_FStructure& operator=(const P_FStructure&) = delete;

  // Frees every registered F-structure (the per-sentence reset).
  static void DeleteAll();
  // The number of F-structures alive.
  static size_t RegisteredCount();

  // --- Adding; the F-structure takes the item's values over, and the item
  // itself when it stores it (an item not stored is deleted, emptied first).

  // A defining item: one item per attribute. The values of a further item of
  // an attribute join the item there (a simple item there is widened into a
  // complex one to take them); an F-structure-valued item (0x80) is held
  // through a nested F-structure whose root takes its values.
  void AddItem(P_FSItem* item);
  // A constraining item: joins the first constraining item of its attribute
  // when their flags are equal, else is stored as a further item.
  void MergeIntoExistingItem(P_FSItem* item);
  // The item's values become links of the root (annotations on the whole
  // F-structure, such as "^=!").
  void AddValuesToRoot(P_FSItem* item);

  // --- Nogoods

  // Stores a consistent set that is not stored yet; others are dropped.
  void AddNogood(CFeatureSet set);
  // Some nogood lies inside the context.
  bool IsNogoodContext(CFeatureSet context) const;

  // --- Queries over this F-structure and those linked at its root

  // Items of the attribute here, then in the linked F-structures (recursively);
  // empty when failed.
  std::list<P_FSItem*> CollectItemsWithAttribute(uint16_t attribute);
  // Items of the attribute, each with the context under which it is reached;
  // an item holding an F-structure stands for through that F-structure's root.
  bool FindItemsWithAttribute(uint16_t attribute, std::list<P_FSItem*>& found, std::list<CFeatureSet>& contexts,
                              CFeatureSet context);
  // The first item of items (or constrainingItems) with the attribute, or null.
  P_FSItem* FindItem(uint16_t attribute) const;
  P_FSItem* FindSecondaryItem(uint16_t attribute) const;
  // items and, recursively, the items of the F-structures linked at the root.
  // The items stay owned by their F-structures.
  std::list<P_FSItem*> CollectAllItems();

  // Replaces every link value that names an attribute path inside another
  // F-structure by the values found at the end of that path (items of
  // "INDEX" excepted). A path that leads nowhere makes the link's context a
  // nogood and the link a plain link to a new empty F-structure.
  void ResolveIndexPaths();
  // Fresh clones, owned by the caller, of the values at the path, with the
  // contexts under which they are reached.
  std::list<P_ConVal*> FindPathValues(std::string path, CFeatureSet context);
  std::list<P_ConVal*> CollectAttributeValues(uint16_t attribute, CFeatureSet context);

  // --- Nogood resolution (p_fstructure_nogoods.cpp)

  // Once per F-structure, unless failed: collects the nogoods of its items,
  // of the F-structures linked at its root and of its '!' constraints, then
  // chooses a nogood-free context or sets failed.
  void ResolveNogoods();
  // The clashes between the values of each item; nested F-structures of
  // F-structure-valued items are resolved first.
  void CollectItemNogoods();
  // Every item must hold in every F-structure linked at the root.
  void CollectRootItemNogoods();
  // The F-structures linked at the root are identified with one another.
  void CollectRootPairNogoods();
  // Constraining items on '!', tested at their anchor.
  void CheckConstrainingItems();
  // The nogoods of this F-structure (and those linked at its root) unified
  // with one item. Only [EmptyFeatureSet] is a definite clash.
  std::list<CFeatureSet> UnifyItemNogoods(P_FSItem* item);
  std::list<CFeatureSet> UnifyItemNogoods(P_FSItem* item, P_UnificationWalk& walk);

  // --- Constraint resolution before solving (p_fstructure_presolve.cpp)

  // Checks the '^' constraints of this F-structure and of everything below
  // it, reached from top under the context; sets presolved, chosenContext
  // and failed.
  void ResolveNogoodsRecursive(P_FStructure* top, CFeatureSet context);
  // The nogoods of one application of a constraining item here and in the
  // F-structures linked at the root; sets the flag of each value that met a
  // counterpart with a compatible context.
  std::list<CFeatureSet> ApplyPathItem(P_FSItem* item, std::vector<bool>& used);
  // Fresh clones, owned by the caller, of the values at the path, each with
  // the context under which its item is reached.
  std::list<P_ConVal*> CollectPathValues(std::string path);
  bool WasVisitedFrom(const P_FStructure* top) const;

  // --- Solving (p_fstructure_solve.cpp)

  // Completeness and coherence against the subcategorisation frames: adds
  // nogoods, fills solutionContexts, sets solved; then solves the nested
  // F-structures, one function at a time over every value that holds it,
  // and adds their nogoods to this one. Does nothing once out of time,
  // solved or failed.
  void Solve();
  // The F-structures holding a "GF" item, each with the contexts under which
  // it is reached.
  void CollectFStructuresWithGF(std::list<P_FStructure*>& found, std::list<std::list<CFeatureSet>>& contexts,
                                CFeatureSet context);
  // Per governable function (GovernableFunctionIds order), new copies of the
  // values that fill it, with their contexts; the caller frees them.
  void ScanGovernableFunctions(std::vector<std::list<P_ConVal*>>& present);

  // --- Restriction to one reading (p_fstructure_restrict.cpp)

  // A new F-structure holding what holds under a chosen context inside the
  // given one, or null when there is no reading; the context becomes the
  // chosen one. May add nogoods of failed linked F-structures to this one.
  P_FStructure* RestrictToContextResolved(ContextList& context);
  P_FStructure* RestrictToContextResolved(ContextList& context, P_RestrictionWalk& walk);
  // A new F-structure holding what holds under the context; null when failed.
  P_FStructure* RestrictToContext(ContextList& context);
  P_FStructure* RestrictToContext(ContextList& context, P_RestrictionWalk& walk);
  // Greedily fixes one reading in place: values that clash with the
  // (growing) context are removed, and items left without values.
  void NarrowValueContexts(ContextList& context);
  std::list<CFeatureSet> GetNogoods() const;
  // The nogoods here and below (through root links and values, clauses
  // excepted), each conjoined with the context of the way down.
  std::list<CFeatureSet> CollectNogoodsDeep();
  std::list<CFeatureSet> CollectNogoodsDeep(FStructurePath& onTheWay);

  std::list<P_FSItem*> items;
  std::list<P_FSItem*> constrainingItems;
  P_FSItemComplex* root;
  // The F-structures whose root an equation's path linked to this one (the
  // subject of an infinitive identified with the subject or object of the
  // verb that controls it), each with the context of its link. A root link
  // makes the linking F-structure see this one, not the other way round;
  // unification walks these links back, so that whatever is unified with
  // this F-structure later (the clause's own subject, met only when the
  // clause is built) also meets what the linking F-structure says.
  struct IdentifiedFrom {
    P_FStructure* fs;
    CFeatureSet context;
  };
  std::vector<IdentifiedFrom> identifiedFrom;
  std::list<CFeatureSet> nogoods;
  ContextList chosenContext;
  std::list<P_FSItem*> passItems;
  std::list<std::list<CFeatureSet>> passContexts;
  std::list<P_FStructure*> passFStructures;
  bool presolved = false;
  bool solved = false;
  bool failed = false;
  bool nogoodsResolved = false;
  std::list<CFeatureSet> solutionContexts;
  // For an F-structure made by the restriction: the F-structure of the
  // solved analysis it was restricted from (through any number of
  // restrictions); null otherwise. Copies of one F-structure are one
  // functional structure of the reading.
  const P_FStructure* restrictedFrom = nullptr;

 private:
  // Steps of ResolveNogoodsRecursive.
  void RevisitFromTop(P_FStructure* top, const CFeatureSet& context);
  void DeferToTop(P_FSItem* item, P_FStructure* top, const CFeatureSet& context);
  void ApplyConstrainingItems(P_FStructure* top, const CFeatureSet& context);
  void ResolveRootLinks(P_FStructure* top, const CFeatureSet& context);
  void ResolveFStructureValues();
  void ApplyDeferredItems();
  // Steps of Solve.
  void CheckFrame(const std::vector<uint16_t>& functions, const std::list<CFeatureSet>& required,
                  const std::vector<uint16_t>& presentIds, const std::vector<std::list<CFeatureSet>>& presentContexts);
  void SolveWithin(FStructurePath& onTheWay);
  void SolveNestedFStructures(FStructurePath& onTheWay);
  void CollectOwnFunctions(std::vector<std::list<P_ConVal*>>& present);
  // Steps of the restriction.
  std::list<ContextList> CollectLinkedNogoods();
  ContextList ChooseWithChoiceTree(const std::list<ContextList>& nogoodLists,
                                   const std::list<CFeatureSet>& deepNogoods) const;
  P_FStructure* BuildRestricted(const ContextList& context, P_RestrictionWalk& walk);
  P_FStructure* BuildRestrictedOnce(const ContextList& context, P_RestrictionWalk& walk);
};

// The nogoods of A unified with B (defined with the solver).
std::list<CFeatureSet> UnifyItemLists(P_FStructure* a, P_FStructure* b);
std::list<CFeatureSet> UnifyItemLists(P_FStructure* a, P_FStructure* b, P_UnificationWalk& walk);

// The sets, in order, that do not conflict with the set.
std::list<CFeatureSet> FilterCompatibleSets(std::list<CFeatureSet> sets, CFeatureSet set);

// FeatureSetConsistent of the set.
bool IsConsistentFeatureSet(CFeatureSet set);
// Per set: [0] for the empty context, else its literals by ascending choice.
std::list<ContextList> FeatureSetsToContextLists(std::list<CFeatureSet> sets);

// The text before the first blank, erased from the input with the blank; a
// text without a blank is returned whole and left as it was.
std::string SplitFirstWord(std::string& text);
