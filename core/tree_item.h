// A tree of display items: what a tree view shows, held as plain values.
// The program has no tree controls of its own; the structure printers and
// the front ends fill a TreeItem in their place and show or print it.
//
// The tree itself is a TreeItem whose text is empty: its children are the
// tree's root items. An item holds its text, its children in insertion
// order, and whether it is expanded (shows its children). Children live in a
// list, so a reference to an item stays valid while items are added anywhere
// in the tree.
#pragma once

#include <cstddef>
#include <list>

#include "core/wide_string.h"

struct TreeItem {
  WString Text;
  bool Expanded = false;
  std::list<TreeItem> Children;

  // Inserts an item with the text as the last child and returns it.
  TreeItem& AddChild(const WString& text);
  // The child at a position in insertion order; null past the end.
  const TreeItem* ChildAt(size_t index) const;
  TreeItem* ChildAt(size_t index);
  // Removes every child (the tree view's "delete all items").
  void Clear();

  bool operator==(const TreeItem& other) const = default;
};

// The items below the root as an outline: one line per item, its text
// indented by two blanks per level below the root items, each line ended by
// "\n". Children of collapsed items are listed too.
WString FormatTreeOutline(const TreeItem& root);
