// The value tree that stands in for tree views.
#include <gtest/gtest.h>

#include "core/tree_item.h"

TEST(TreeItem, ReferencesStayValidWhileSiblingsAreAddedAndTheOutlineIndentsByLevel) {
  TreeItem tree;
  TreeItem& first = tree.AddChild(u"F-Structure # 1");
  TreeItem& subj = first.AddChild(u"SUBJ");
  for (int i = 0; i < 50; ++i) {
    first.AddChild(u"filler");  // reallocation would move subj in a vector
  }
  subj.AddChild(u"PRED ----- I ");
  subj.Expanded = true;
  tree.AddChild(u"F-Structure # 2");

  ASSERT_NE(first.ChildAt(0), nullptr);
  EXPECT_EQ(first.ChildAt(0), &subj);
  EXPECT_TRUE(first.ChildAt(0)->Expanded);
  EXPECT_EQ(first.ChildAt(51), nullptr);
  EXPECT_EQ(tree.ChildAt(1)->Text, u"F-Structure # 2");

  WString outline = FormatTreeOutline(tree);
  EXPECT_EQ(outline.substr(0, 46), u"F-Structure # 1\n  SUBJ\n    PRED ----- I \n  fil");
  EXPECT_EQ(outline.substr(outline.size() - 16), u"F-Structure # 2\n");

  TreeItem copy = tree;
  EXPECT_EQ(copy, tree);
  copy.ChildAt(0)->Expanded = true;
  EXPECT_NE(copy, tree);
  tree.Clear();
  EXPECT_TRUE(tree.Children.empty());
  EXPECT_EQ(FormatTreeOutline(tree), u"");
}
