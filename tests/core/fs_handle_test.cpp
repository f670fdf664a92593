#include <gtest/gtest.h>

#include "core/fs_handle.h"
#include "core/fs_node.h"
#include "core/symbol_table.h"

namespace {

SymbolId Sym(const char16_t* name) { return GetSymbolId(name, true); }

class FSHandleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CFSHandle::DeleteAll();
    CFSNode::DeleteAll();
    CFSNode::ResetIdCounter();
    RegisterReservedSymbols();
  }
  void TearDown() override {
    CFSHandle::DeleteAll();
    CFSNode::DeleteAll();
  }

  static CFSNode* Node(int16_t attribute) { return new CFSNode(attribute, nullptr); }
  static CFSNode* Add(CFSNode* parent, const char16_t* attribute) {
    CFSNode* node = Node(static_cast<int16_t>(Sym(attribute)));
    parent->AddChild(node);
    return node;
  }
};

TEST_F(FSHandleTest, EqualsTreatsMissingRootsAsEqualOnlyToEachOther) {
  auto* empty = new CFSHandle();
  auto* alsoEmpty = new CFSHandle();
  auto* rooted = new CFSHandle(Node(3), 1.0);
  auto* sameRoot = new CFSHandle(Node(3), 0.2);
  auto* otherRoot = new CFSHandle(Node(4), 1.0);
  EXPECT_TRUE(empty->Equals(alsoEmpty));
  EXPECT_FALSE(empty->Equals(rooted));
  EXPECT_FALSE(empty->Equals(nullptr));
  EXPECT_TRUE(rooted->Equals(sameRoot));
  EXPECT_FALSE(rooted->Equals(otherRoot));
}

TEST_F(FSHandleTest, CloneCopiesTheRootWithWeightOneAndNoFocus) {
  auto* root = Node(-1);
  Add(root, u"SUBJ");
  CFSHandle source(root, 0.5);
  CFSHandle* copy = source.Clone();
  EXPECT_EQ(copy->weight, 1.0);
  EXPECT_EQ(copy->focus, nullptr);
  ASSERT_NE(copy->root, nullptr);
  EXPECT_NE(copy->root, root);
  EXPECT_TRUE(copy->Equals(&source));

  CFSHandle empty;
  EXPECT_EQ(empty.Clone()->root, nullptr);
}

TEST_F(FSHandleTest, CloneAndLocateFocusesTheCopyAndTranslatesTheStack) {
  auto* root = Node(-1);
  CFSNode* subj = Add(root, u"SUBJ");
  CFSNode* spec = Add(subj, u"SPEC");
  CFSNode* obj = Add(root, u"OBJ");
  root->Parent = Node(-1);  // the copy's root must not keep it
  CFSHandle source(root, 0.7);

  // The mapper pushes the outermost node first.
  const std::vector<CFSNode*> stack{root, subj, spec};
  std::vector<CFSNode*> copies;
  CFSHandle* copy = source.CloneAndLocate(subj, stack, copies);
  ASSERT_NE(copy->root, nullptr);
  EXPECT_EQ(copy->root->Parent, nullptr);
  EXPECT_TRUE(copy->root->Equals(root));
  ASSERT_NE(copy->focus, nullptr);
  EXPECT_NE(copy->focus, subj);
  EXPECT_EQ(copy->focus, copy->root->ChildList[0]);
  const std::vector<CFSNode*> expected{copy->root, copy->focus, copy->focus->ChildList[0]};
  EXPECT_EQ(copies, expected);
  EXPECT_EQ(stack.size(), 3u);  // the caller's stack is left as it is

  std::vector<CFSNode*> none;
  auto* stranger = Node(-1);
  CFSHandle* lost = source.CloneAndLocate(stranger, {stranger, obj}, none);
  EXPECT_EQ(lost->focus, nullptr);
  EXPECT_TRUE(none.empty());  // the outermost node is never met, so nothing after it
  CFSHandle* partial = source.CloneAndLocate(obj, {obj, stranger}, none);
  EXPECT_EQ(none, std::vector<CFSNode*>{partial->focus});
}

TEST_F(FSHandleTest, NormalizeSortsByAttributeStablyWithNullsLastAndSetsParents) {
  auto* root = Node(-1);
  CFSNode* seven = Node(7);
  CFSNode* three = Node(3);
  CFSNode* fiveA = Node(5);
  CFSNode* fiveB = Node(5);
  root->ChildList = {seven, nullptr, three, fiveA, fiveB};
  CFSNode* inner = Node(2);
  CFSNode* innerChild = Node(9);
  inner->ChildList = {innerChild};
  CFSNode* elementB = Node(8);
  CFSNode* elementA = Node(1);
  root->SetElements = {elementB, inner, elementA};

  CFSHandle handle(root, 1.0);
  handle.Normalize();
  const std::vector<CFSNode*> children{three, fiveA, fiveB, seven, nullptr};
  EXPECT_EQ(root->ChildList, children);
  const std::vector<CFSNode*> elements{elementA, inner, elementB};
  EXPECT_EQ(root->SetElements, elements);
  for (CFSNode* node : {seven, three, fiveA, fiveB, elementA, elementB, inner}) {
    EXPECT_EQ(node->Parent, root);
  }
  EXPECT_EQ(innerChild->Parent, inner);

  CFSHandle empty;
  empty.Normalize();  // nothing to do, no crash
}

TEST_F(FSHandleTest, AddSetElementMakesAnEmptyRootAndAddsACopy) {
  CFSHandle handle;
  EXPECT_FALSE(handle.AddSetElement(nullptr));
  EXPECT_EQ(handle.root, nullptr);

  auto* member = Node(static_cast<int16_t>(Sym(u"SUBJ")));
  ASSERT_TRUE(handle.AddSetElement(member));
  ASSERT_NE(handle.root, nullptr);
  EXPECT_EQ(static_cast<SymbolId>(handle.root->Attribute), 65535);
  ASSERT_EQ(handle.root->SetElements.size(), 1u);
  EXPECT_NE(handle.root->SetElements[0], member);
  EXPECT_EQ(handle.root->SetElements[0]->NodeId, member->NodeId);
}

TEST_F(FSHandleTest, FindPathAndApplyPredFramesNeedARoot) {
  CFSHandle empty;
  const std::vector<SymbolId> path{Sym(u"SUBJ")};
  EXPECT_EQ(empty.FindPath(&path), nullptr);
  EXPECT_FALSE(empty.ApplyPredFrames(PredFrameMap()));

  auto* root = Node(-1);
  CFSNode* subj = Add(root, u"SUBJ");
  subj->Mark = 1;
  CFSHandle handle(root, 1.0);
  EXPECT_EQ(handle.FindPath(&path), subj);  // marked nodes are allowed
  EXPECT_EQ(handle.FindPath(nullptr), nullptr);
  EXPECT_TRUE(handle.ApplyPredFrames(PredFrameMap()));
}

TEST_F(FSHandleTest, RegistryFreesHandlesButNotTheirNodes) {
  auto* root = Node(-1);
  auto* kept = new CFSHandle(root, 1.0);
  auto* alone = new CFSHandle();
  auto* last = new CFSHandle();
  EXPECT_EQ(CFSHandle::RegisteredCount(), 3u);
  delete alone;
  EXPECT_EQ(CFSHandle::RegisteredCount(), 2u);
  (void)kept;
  (void)last;

  const size_t nodes = CFSNode::RegisteredCount();
  CFSHandle::DeleteAll();  // the sanitizer build catches a double free here
  EXPECT_EQ(CFSHandle::RegisteredCount(), 0u);
  EXPECT_EQ(CFSNode::RegisteredCount(), nodes);
  EXPECT_EQ(root->Attribute, -1);  // still alive
}

}  // namespace
