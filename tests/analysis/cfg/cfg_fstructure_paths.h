// Reading an analysis's F-structure tree in tests: a node's text, the node
// at a path of attribute names, its values.
#pragma once

#include <string>
#include <vector>

#include "core/fs_node.h"
#include "core/fs_node_text.h"
#include "core/symbol_table.h"
#include "platform/utf8.h"

namespace cfg_test {

inline std::string Name(SymbolId id) { return ToUtf8(GetSymbolName(id)); }

// "ATTR {v1 v2} [child ...]" with children in stored order; PRED shows its
// VALUE, GF and INDEX children like any others.
inline std::string Show(const CFSNode* node) { return ToUtf8(DescribeStructure(node)); }

// The step that names the first member a set lists in the tree, whatever
// number the solver gave its ELEMENT name (the members of a coordination
// are listed last conjunct first).
inline constexpr char16_t kFirstMember[] = u"FIRST";

// The node at a path of attribute names below the root.
inline const CFSNode* At(const CFSNode* node, const std::vector<std::u16string>& path) {
  for (const std::u16string& step : path) {
    if (node == nullptr) return nullptr;
    if (step == kFirstMember) {
      node = node->ChildList.empty() ? nullptr : node->ChildList.front();
      continue;
    }
    node = node->FindAttribute(GetSymbolId(step, true));
  }
  return node;
}

inline std::vector<std::string> Values(const CFSNode* node) {
  std::vector<std::string> names;
  if (node != nullptr) {
    for (SymbolId id : node->Value) names.push_back(Name(id));
  }
  return names;
}

using Strings = std::vector<std::string>;

// A fact of an analysis: the values at a path.
struct Expected {
  std::vector<std::u16string> path;
  Strings values;
};

}  // namespace cfg_test
