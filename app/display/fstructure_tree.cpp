#include "app/display/fstructure_tree.h"

#include <unordered_set>

#include "core/fs_node.h"
#include "core/string_helpers.h"
#include "core/symbol_table.h"
#include "platform/utf8.h"

namespace {

WString IdMark(uint32_t id) { return u"(" + NarrowToWide(std::to_string(id)) + u")"; }

CTreeItem BuildItemOnPath(CFSNode* node, std::unordered_set<const CFSNode*>& path) {
  CTreeItem item;
  item.text = FStructureItemText(node);
  if (!path.insert(node).second) return item;  // already above: shown once
  for (CFSNode* child : node->ChildList) {
    if (child == nullptr) continue;
    item.children.push_back(BuildItemOnPath(child, path));
  }
  item.expanded = !item.children.empty();
  path.erase(node);
  return item;
}

// The node with the id in the whole structure of the node (searched from its
// root, children before set elements), as CFSNode::FindNodeById finds it, but
// safe on a structure that contains itself.
const CFSNode* FindNodeInStructure(const CFSNode* node, uint32_t id) {
  std::unordered_set<const CFSNode*> seen;
  const CFSNode* root = node;
  while (root->Parent != nullptr && seen.insert(root).second) root = root->Parent;
  seen.clear();
  std::vector<const CFSNode*> pending{root};
  while (!pending.empty()) {
    const CFSNode* current = pending.back();
    pending.pop_back();
    if (current == nullptr || !seen.insert(current).second) continue;
    if (current->NodeId == id) return current;
    // Pushed in reverse, so children are searched first and in order.
    for (auto it = current->SetElements.rbegin(); it != current->SetElements.rend(); ++it) pending.push_back(*it);
    for (auto it = current->ChildList.rbegin(); it != current->ChildList.rend(); ++it) pending.push_back(*it);
  }
  return nullptr;
}

void RenderItem(const CTreeItem& item, size_t depth, std::string& out) {
  out.append(2 * depth, ' ');
  out += ToUtf8(item.text);
  out += '\n';
  for (const CTreeItem& child : item.children) RenderItem(child, depth + 1, out);
}

}  // namespace

CTreeItem& CTreeView::InsertRoot(const WString& text) {
  roots.push_back(CTreeItem{text, {}, false});
  return roots.back();
}

WString FStructureItemText(CFSNode* node) {
  WString text = GetSymbolName(static_cast<SymbolId>(node->Attribute));
  if (node->IsLinkTarget) text += IdMark(node->NodeId);
  if (node->LinkedId != 0) {
    if (const CFSNode* linked = FindNodeInStructure(node, node->LinkedId)) text += IdMark(linked->NodeId);
  }
  if (node->ChildList.empty() && !node->Value.empty()) {
    text += u" ----- ";
    for (SymbolId value : node->Value) text += GetSymbolName(value) + u" ";
  }
  return text;
}

CTreeItem BuildFStructureItem(CFSNode* node) {
  std::unordered_set<const CFSNode*> path;
  return BuildItemOnPath(node, path);
}

std::string RenderTreeText(const CTreeView& tree) {
  std::string out;
  for (const CTreeItem& root : tree.roots) RenderItem(root, 0, out);
  return out;
}
