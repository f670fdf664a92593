#include "core/tree_item.h"

#include <iterator>

TreeItem& TreeItem::AddChild(const WString& text) {
  TreeItem& child = Children.emplace_back();
  child.Text = text;
  return child;
}

const TreeItem* TreeItem::ChildAt(size_t index) const {
  if (index >= Children.size()) {
    return nullptr;
  }
  return &*std::next(Children.begin(), static_cast<std::ptrdiff_t>(index));
}

TreeItem* TreeItem::ChildAt(size_t index) {
  return const_cast<TreeItem*>(static_cast<const TreeItem*>(this)->ChildAt(index));
}

void TreeItem::Clear() { Children.clear(); }

namespace {

void AppendOutline(const TreeItem& item, size_t depth, WString& out) {
  for (const TreeItem& child : item.Children) {
    out.append(depth * 2, u' ');
    out += child.Text;
    out += u'\n';
    AppendOutline(child, depth + 1, out);
  }
}

}  // namespace

WString FormatTreeOutline(const TreeItem& root) {
  WString out;
  AppendOutline(root, 0, out);
  return out;
}
