// The choice tree: a two-way decision tree over choice numbers that stands
// for the assignments of the choices mentioned in it that are still possible.
// Excluded regions (contexts given as literal paths) are cut from it, and one
// surviving assignment is read off it. The restriction of an F-structure to
// one reading uses it when no precomputed candidate context fits.
#pragma once

#include <cstdint>
#include <list>

#include "constraints/context_search.h"
#include "core/sentence_arena.h"

// One node. A decision node decides `variable`: its negative child is the
// branch where the choice is false, its positive child the branch where it is
// true; a cut branch is null. An open leaf (variable 0) leaves every
// assignment below it possible; a decision node without children is empty.
// Along every path from the root the variables increase. A node owns its
// children. A tree of a sentence with many attachments runs to millions of
// nodes, copied and cut again and again: the nodes live in the sentence arena,
// where taking and giving back one is a pointer move and the sentence's
// memory budget sees every node at once.
class CChoiceNode : public SentenceArenaObject {
 public:
  CChoiceNode() = default;
  ~CChoiceNode();
  CChoiceNode(const CChoiceNode&) = delete;
  CChoiceNode& operator=(const CChoiceNode&) = delete;

  // A deep copy whose own parent is null.
  CChoiceNode* Clone() const;

  bool IsOpenLeaf() const { return variable == 0 && !negative && !positive; }
  bool IsEmpty() const { return variable != 0 && !negative && !positive; }

  ChoiceLiteral variable = 0;
  CChoiceNode* negative = nullptr;
  CChoiceNode* positive = nullptr;
  CChoiceNode* parent = nullptr;
};

class CChoiceTree {
 public:
  // A tree whose root is an open leaf: every assignment survives.
  CChoiceTree();
  ~CChoiceTree();
  CChoiceTree(const CChoiceTree&) = delete;
  CChoiceTree& operator=(const CChoiceTree&) = delete;

  // Excludes every assignment under which all literals of the path hold. A
  // path without a non-zero literal excludes everything: the tree is deleted
  // and later insertions are ignored.
  void InsertPaths(ContextList path);
  // Applies one literal of a path at a node; the nodes where the next
  // literal applies are appended to reached. With cut (the last literal) the
  // literal's branch is cut. False when the node has become empty.
  bool InsertLiteral(ChoiceLiteral literal, CChoiceNode* node, std::list<CChoiceNode*>& reached, bool cut);
  // One surviving assignment, taking the false branch wherever it exists,
  // from the deepest decision up to the root; empty when nothing is decided
  // or nothing survives.
  ContextList CollectPaths() const;
  ContextList CollectPathsFrom(const CChoiceNode* node) const;

  const CChoiceNode* Root() const { return root_; }

 private:
  // Deletes a node that became empty and, going up, every ancestor left
  // without children; the root stays.
  void PruneEmpty(CChoiceNode* node);

  CChoiceNode* root_;
};

// The paths that together cover exactly the assignments under which the
// context fails: [-c1], [c1, -c2], ..., each such assignment once. 0
// literals are left out.
std::list<ContextList> ComplementPaths(ContextList context);
