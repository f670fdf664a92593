#include "core/cs_node.h"

int CCSNode::liveInstances = 0;
int CCSHandle::liveInstances = 0;

CCSNode::CCSNode(const WString& category, const WString& word, CCSNode* parent, CFSNode* fStructure, uint32_t number)
    : Category(category), Word(word), Parent(parent), FStructure(fStructure), Number(number) {
  ++liveInstances;
}

CCSNode::~CCSNode() {
  // The F-structure nodes belong to their registry; only forget them.
  FStructure = nullptr;
  LinkedFStructure = nullptr;
  for (CCSNode* child : Children) delete child;
  Children.clear();
  --liveInstances;
}

bool CCSNode::AddChild(CCSNode* child) {
  if (!child) return false;
  child->Parent = this;
  Children.push_back(child);
  return true;
}

CCSHandle::CCSHandle(CCSNode* root) : Root(root) { ++liveInstances; }

CCSHandle::~CCSHandle() {
  delete Root;
  Root = nullptr;
  --liveInstances;
}
