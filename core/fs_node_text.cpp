#include "core/fs_node_text.h"

#include "core/fs_node.h"
#include "core/symbol_table.h"

WString DescribeStructure(const CFSNode* node) {
  if (node == nullptr) return u"(none)";
  WString text = GetSymbolName(static_cast<SymbolId>(node->Attribute));
  if (!node->Value.empty()) {
    text += u" {";
    for (size_t i = 0; i < node->Value.size(); ++i) text += (i > 0 ? u" " : u"") + GetSymbolName(node->Value[i]);
    text += u"}";
  }
  if (!node->ChildList.empty()) {
    text += u" [";
    for (size_t i = 0; i < node->ChildList.size(); ++i) {
      text += (i > 0 ? u" " : u"") + DescribeStructure(node->ChildList[i]);
    }
    text += u"]";
  }
  return text;
}
