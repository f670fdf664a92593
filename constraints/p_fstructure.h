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

  // --- Solver passes (nogood resolution, pre-solve, solving, restriction);
  // defined with the solver.
  void ResolveNogoods();
  void CollectItemNogoods();
  void CollectRootItemNogoods();
  void CollectRootPairNogoods();
  void CheckConstrainingItems();
  std::list<CFeatureSet> UnifyItemNogoods(P_FSItem* item);
  void Solve();
  void CollectFStructuresWithGF(std::list<P_FStructure*>& found, std::list<std::list<CFeatureSet>>& contexts,
                                CFeatureSet context);
  void ScanGovernableFunctions(std::vector<std::list<P_ConVal*>>& present);
  void ResolveNogoodsRecursive(P_FStructure* top, CFeatureSet context);
  std::list<CFeatureSet> ApplyPathItem(P_FSItem* item, std::vector<bool>& used);
  std::list<P_ConVal*> CollectPathValues(std::string path);
  bool WasVisitedFrom(const P_FStructure* top) const;
  P_FStructure* RestrictToContextResolved(ContextList& context);
  P_FStructure* RestrictToContext(ContextList& context);
  void NarrowValueContexts(ContextList& context);
  std::list<CFeatureSet> GetNogoods() const;
  std::list<CFeatureSet> CollectNogoodsDeep();

  std::list<P_FSItem*> items;
  std::list<P_FSItem*> constrainingItems;
  P_FSItemComplex* root;
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
};

// The nogoods of A unified with B (defined with the solver).
std::list<CFeatureSet> UnifyItemLists(P_FStructure* a, P_FStructure* b);

// FeatureSetConsistent of the set.
bool IsConsistentFeatureSet(CFeatureSet set);
// Per set: [0] for the empty context, else its literals by ascending choice.
std::list<ContextList> FeatureSetsToContextLists(std::list<CFeatureSet> sets);

// The text before the first blank, erased from the input with the blank; a
// text without a blank is returned whole and left as it was.
std::string SplitFirstWord(std::string& text);
