#include "analysis/lfg/set_expansion.h"

#include <vector>

#include "core/fs_handle.h"
#include "core/fs_node.h"
#include "core/symbol_table.h"

bool ExpandPredValues(CFSNode* node) {
  if (node == nullptr) return false;
  if (!node->Value.empty()) {
    auto* value = new CFSNode(static_cast<int16_t>(ValueId), node);
    value->Value.push_back(node->Value.front());
    node->AddChild(value);
  }
  if (node->Value.size() > 1) {
    auto* functions = new CFSNode(static_cast<int16_t>(GfId), node);
    functions->Value.assign(node->Value.begin() + 1, node->Value.end());
    node->AddChild(functions);
  }
  node->Value.clear();
  return true;
}

bool ExpandNodeSetsAndValues(CFSNode* node) {
  if (node == nullptr) return false;
  if (node->Attribute == static_cast<int16_t>(PredId)) return ExpandPredValues(node);
  if (!node->SetElements.empty()) {
    auto* set = new CFSNode(static_cast<int16_t>(SetId), node);
    for (CFSNode* element : node->SetElements) {
      if (element != nullptr) set->AddChild(element);
    }
    node->SetElements.clear();
    node->AddChild(set);
  }
  // A PRED child expands only its own children, so the list is stable; the
  // snapshot keeps the walk safe all the same.
  const std::vector<CFSNode*> children = node->ChildList;
  for (CFSNode* child : children) ExpandNodeSetsAndValues(child);
  return true;
}

bool ExpandSetsAndValues(CFSHandle* handle) {
  if (handle == nullptr || handle->root == nullptr) return false;
  return ExpandNodeSetsAndValues(handle->root);
}
