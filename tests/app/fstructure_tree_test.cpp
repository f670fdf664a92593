// F-structure trees as item values.
#include <gtest/gtest.h>

#include "app/display/fstructure_tree.h"
#include "core/fs_handle.h"
#include "core/fs_node.h"
#include "core/symbol_table.h"
#include "platform/utf8.h"

namespace {

SymbolId Sym(const std::u16string& name) { return GetSymbolId(name, true); }

class FStructureTree : public ::testing::Test {
 protected:
  void TearDown() override { CFSNode::DeleteAll(); }

  CFSNode* Node(const std::u16string& attribute, CFSNode* parent, std::vector<std::u16string> values = {}) {
    CFSNode* node = new CFSNode(static_cast<int16_t>(Sym(attribute)), nullptr);
    for (const auto& value : values) node->Value.push_back(Sym(value));
    if (parent != nullptr) parent->AddChild(node);
    return node;
  }
};

TEST_F(FStructureTree, ItemTextsShowNamesMarksAndValues) {
  CFSNode* root = Node(u"ROOT", nullptr);
  CFSNode* pred = Node(u"PRED", root, {u"give"});
  CFSNode* gf = Node(u"GF", root, {u"SUBJ", u"OBJ"});
  CFSNode* withChildren = Node(u"OBJ", root, {u"ignored"});
  Node(u"NUM", withChildren, {u"sg"});
  CFSNode* subject = Node(u"SUBJ", root);
  subject->IsLinkTarget = 1;
  subject->NodeId = 7;
  CFSNode* linked = Node(u"XSUBJ", root);
  linked->NodeId = 12;
  subject->LinkedId = 12;
  CFSNode* dangling = Node(u"TOPIC", root);
  dangling->LinkedId = 99;
  CFSNode* unnamed = new CFSNode(static_cast<int16_t>(kNoSymbol - 1), nullptr);
  root->AddChild(unnamed);

  const std::vector<std::pair<CFSNode*, std::string>> cases = {
      {pred, "PRED ----- give "}, {gf, "GF ----- SUBJ OBJ "}, {withChildren, "OBJ"},
      {subject, "SUBJ(7)(12)"},   {dangling, "TOPIC"},        {unnamed, "EMPTY"},
  };
  for (const auto& [node, text] : cases) EXPECT_EQ(ToUtf8(FStructureItemText(node)), text);
}

TEST_F(FStructureTree, ItemsFollowTheStructureAndExpandWhereThereAreChildren) {
  CFSNode* root = Node(u"ROOT", nullptr);
  CFSNode* subject = Node(u"SUBJ", root);
  Node(u"NUM", subject, {u"sg"});
  Node(u"TENSE", root, {u"past"});
  CTreeView tree;
  CTreeItem& heading = tree.InsertRoot(u"Source F-Structure # 1");
  heading.children.push_back(BuildFStructureItem(root));
  heading.expanded = true;
  EXPECT_EQ(RenderTreeText(tree),
            "Source F-Structure # 1\n"
            "  ROOT\n"
            "    SUBJ\n"
            "      NUM ----- sg \n"
            "    TENSE ----- past \n");
  const CTreeItem& rootItem = tree.roots[0].children[0];
  EXPECT_TRUE(rootItem.expanded);
  EXPECT_FALSE(rootItem.children[1].expanded);
}

TEST_F(FStructureTree, AStructureContainingItselfIsShownOnce) {
  CFSNode* root = Node(u"ROOT", nullptr);
  CFSNode* subject = Node(u"SUBJ", root);
  subject->ChildList.push_back(root);  // SUBJ contains the whole structure again
  subject->LinkedId = 4242;            // a link search over the cycle finds nothing
  CTreeView tree;
  tree.roots.push_back(BuildFStructureItem(root));
  EXPECT_EQ(RenderTreeText(tree), "ROOT\n  SUBJ\n    ROOT\n");
  subject->ChildList.clear();
}

}  // namespace
