// C-structures: the phrase-structure tree of one analysis. Unlike
// F-structure nodes, which a program-wide registry frees after each sentence,
// the nodes of a C-structure tree are owned by the tree: deleting the handle
// deletes every node. The F-structure links of a node are never owned.
#pragma once

#include <cstdint>
#include <vector>

#include "core/wide_string.h"

class CFSNode;

class CCSNode {
 public:
  // The parent's children are left alone: the creator appends the node.
  CCSNode(const WString& category, const WString& word, CCSNode* parent, CFSNode* fStructure, uint32_t number);
  // Deletes the children, and with them the whole subtree below this node.
  ~CCSNode();
  CCSNode(const CCSNode&) = delete;
  CCSNode& operator=(const CCSNode&) = delete;

  // Makes this node the child's parent and appends it; false for null.
  bool AddChild(CCSNode* child);

  WString Category;
  WString Word;  // empty for inner nodes
  CCSNode* Parent = nullptr;
  CFSNode* FStructure = nullptr;        // not owned
  CFSNode* LinkedFStructure = nullptr;  // not owned
  std::vector<CCSNode*> Children;       // owned, in order
  uint32_t Number = 0;
  uint8_t Flag = 0;

  static int liveInstances;
};

class CCSHandle {
 public:
  explicit CCSHandle(CCSNode* root);
  ~CCSHandle();
  CCSHandle(const CCSHandle&) = delete;
  CCSHandle& operator=(const CCSHandle&) = delete;

  CCSNode* Root = nullptr;  // owned

  static int liveInstances;
};
