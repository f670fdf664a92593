// F-structure handles: the unit in which F-structures travel between the
// parsers, the mapper, the generator and the front end. A handle holds a root
// node, a focus node inside it and the analysis's weight.
//
// Handles live in the sentence arena, enter a program-wide registry and are
// freed in bulk after each sentence (DeleteAll); a handle deleted on its own
// leaves the registry. A handle never deletes its nodes: they belong to the
// node registry.
#pragma once

#include <cstddef>
#include <vector>

#include "core/fs_node.h"
#include "core/sentence_arena.h"
#include "core/symbol_table.h"

class CFSHandle : public SentenceArenaObject {
 public:
  CFSHandle();
  // Root and focus are the node.
  CFSHandle(CFSNode* node, double weight);
  ~CFSHandle();
  CFSHandle(const CFSHandle&) = delete;
  CFSHandle& operator=(const CFSHandle&) = delete;

  // Frees every registered handle (not their nodes) and empties the registry.
  static void DeleteAll();
  static size_t RegisteredCount();

  // A new handle of weight 1.0 over a deep copy of the root, without focus.
  CFSHandle* Clone() const;
  // A new handle over a deep copy of the root whose focus is the copy of
  // node; the nodes of stack (top at the back) are pushed, as their copies,
  // on outStack in the same order.
  CFSHandle* CloneAndLocate(const CFSNode* node, const std::vector<CFSNode*>& stack,
                            std::vector<CFSNode*>& outStack) const;
  // A new handle over a deep copy of the root whose focus is the copy of
  // node. outStack receives, for every entry of stack from bottom to top,
  // the copy of that node (an entry standing twice is translated twice), or
  // null for an entry that is not part of the structure.
  CFSHandle* CloneTranslatingStack(const CFSNode* node, const std::vector<CFSNode*>& stack,
                                   std::vector<CFSNode*>& outStack) const;
  // FindPath from the root with marked nodes allowed; null without a root.
  CFSNode* FindPath(const std::vector<SymbolId>* path) const;
  // Adds a copy of the node to the root's set elements, making an empty root
  // (attribute 65535) when there is none. False for a null node.
  bool AddSetElement(const CFSNode* node);
  // Sets every parent link below the root (set elements included) and sorts
  // every node's children and set elements by attribute.
  void Normalize();
  // Equal roots; two missing roots are equal, one missing root is not.
  bool Equals(const CFSHandle* other) const;
  // ApplyPredFrames on the root; false without a root.
  bool ApplyPredFrames(const PredFrameMap& frames);

  CFSNode* root = nullptr;
  CFSNode* focus = nullptr;
  double weight = 1.0;

  static int liveInstances;

 private:
  void Register() noexcept;

  size_t registryIndex_ = static_cast<size_t>(-1);  // no slot
};
