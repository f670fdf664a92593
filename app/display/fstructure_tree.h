// The F-structure trees of the translator's view as plain values: one item
// per F-structure node, holding the node's attribute name, the ids that mark
// shared structure and, for a node without sub-structures, its atomic values.
// The command line prints these trees; the page shows the same items.
#pragma once

#include <string>
#include <vector>

#include "core/wide_string.h"

class CFSNode;

// One item of a tree: its text, its children in order, and whether it is
// shown expanded (an item with children always is).
struct CTreeItem {
  WString text;
  std::vector<CTreeItem> children;
  bool expanded = false;
};

// A tree: its root items in order (the numbered headings of the pipeline).
struct CTreeView {
  std::vector<CTreeItem> roots;

  // Appends a root item with the text and returns it; valid until the next
  // root is appended.
  CTreeItem& InsertRoot(const WString& text);
  void Clear() { roots.clear(); }
};

// The item text of one node: the attribute name; "(" + the node's id + ")"
// when other nodes link to it; "(" + the linked node's id + ")" when it links
// to a node of its structure; for a node without sub-structures that has
// values, " ----- " and each value's name followed by one blank.
WString FStructureItemText(CFSNode* node);

// The item of the node with the items of its sub-structures below it. A node
// met again on the way down (a structure that contains itself) gets its item
// once, without children.
CTreeItem BuildFStructureItem(CFSNode* node);

// The tree as indented text: one line per item, two blanks per level.
std::string RenderTreeText(const CTreeView& tree);
