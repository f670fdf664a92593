// The handle copy that translates a whole stack of nodes into the copy, and
// FindOrCreateAttribute.
#include <gtest/gtest.h>

#include "core/fs_handle.h"
#include "core/fs_node.h"
#include "core/symbol_table.h"

namespace {

SymbolId Sym(const char16_t* name) { return GetSymbolId(name, true); }
using Nodes = std::vector<CFSNode*>;

class StackCopyTest : public ::testing::Test {
 protected:
  void SetUp() override { RegisterReservedSymbols(); }
  void TearDown() override {
    CFSHandle::DeleteAll();
    CFSNode::DeleteAll();
  }
  static CFSNode* Add(CFSNode* parent, const char16_t* attribute) {
    auto* node = new CFSNode(static_cast<int16_t>(Sym(attribute)), nullptr);
    if (parent != nullptr) parent->AddChild(node);
    return node;
  }
};

TEST_F(StackCopyTest, EveryEntryOfTheStackIsTranslatedInOrder) {
  auto* root = new CFSNode();
  CFSNode* subj = Add(root, u"SUBJ");
  CFSNode* spec = Add(subj, u"SPEC");
  CFSNode* obj = Add(root, u"OBJ");
  CFSNode* element = new CFSNode();
  obj->AddSetElement(element);
  auto* stranger = new CFSNode();
  CFSHandle source(root, 0.5);
  Nodes out;
  // Entries in any order, twice, outside the structure, and set elements.
  CFSHandle* copy = source.CloneTranslatingStack(spec, {root, subj, subj, obj, stranger, spec, element}, out);
  ASSERT_NE(copy->root, root);
  EXPECT_EQ(copy->root->Parent, nullptr);
  CFSNode* copiedSubj = copy->root->ChildList.at(0);
  CFSNode* copiedObj = copy->root->ChildList.at(1);
  EXPECT_EQ(copy->focus, copiedSubj->ChildList.at(0));
  EXPECT_EQ(out,
            (Nodes{copy->root, copiedSubj, copiedSubj, copiedObj, nullptr, copy->focus, copiedObj->SetElements.at(0)}));
  // The original is untouched; an empty stack gives an empty out stack.
  EXPECT_EQ(root->ChildList.at(0), subj);
  Nodes none;
  EXPECT_EQ(source.CloneTranslatingStack(stranger, {}, none)->focus, nullptr);
  EXPECT_TRUE(none.empty());
  CFSHandle empty;
  EXPECT_EQ(empty.CloneTranslatingStack(nullptr, {root}, none)->root, nullptr);
  EXPECT_EQ(none, Nodes{nullptr});
}

TEST_F(StackCopyTest, FindOrCreateAttributeFindsOrMakesOneChild) {
  auto* root = new CFSNode();
  CFSNode* num = Add(root, u"NUM");
  bool created = true;
  EXPECT_EQ(root->FindOrCreateAttribute(Sym(u"NUM"), created), num);
  EXPECT_FALSE(created);
  CFSNode* made = root->FindOrCreateAttribute(Sym(u"CASE"), created);
  EXPECT_TRUE(created);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->Parent, root);
  EXPECT_EQ(root->ChildList.size(), 2u);
  EXPECT_EQ(root->FindOrCreateAttribute(Sym(u"CASE"), created), made);
  EXPECT_FALSE(created);
}

}  // namespace
