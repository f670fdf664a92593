#include "analysis/cfg/cfg_completeness.h"

#include <unordered_set>
#include <vector>

#include "core/fs_node.h"
#include "core/symbol_table.h"

namespace {

bool HoldsFunction(const CFSNode& node, SymbolId function) {
  for (const CFSNode* child : node.ChildList) {
    if (child == nullptr || static_cast<SymbolId>(child->Attribute) != function) continue;
    if (!child->Value.empty() || !child->ChildList.empty() || !child->SetElements.empty()) return true;
  }
  return false;
}

bool IsComplete(const CFSNode& node) {
  const CFSNode* pred = node.FindAttribute(PredId);
  const CFSNode* functions = pred != nullptr ? pred->FindAttribute(GfId) : nullptr;
  if (functions == nullptr) return true;
  for (SymbolId function : functions->Value) {
    if (!HoldsFunction(node, function)) return false;
  }
  return true;
}

}  // namespace

const CFSNode* FindIncompleteNode(const CFSNode* root) {
  std::vector<const CFSNode*> pending{root};
  std::unordered_set<const CFSNode*> seen;
  while (!pending.empty()) {
    const CFSNode* node = pending.back();
    pending.pop_back();
    if (node == nullptr) continue;
    // A tree; the guard only keeps a node reached twice from being checked twice.
    if (!seen.insert(node).second) continue;
    if (!IsComplete(*node)) return node;
    for (auto child = node->ChildList.rbegin(); child != node->ChildList.rend(); ++child) pending.push_back(*child);
    for (auto element = node->SetElements.rbegin(); element != node->SetElements.rend(); ++element) {
      pending.push_back(*element);
    }
  }
  return nullptr;
}
