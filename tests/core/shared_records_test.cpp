#include <gtest/gtest.h>

#include "core/cs_node.h"
#include "core/fs_handle.h"
#include "core/fs_node.h"
#include "core/parse_result.h"
#include "core/raw_production.h"
#include "core/target_group.h"
#include "core/transfer_flags.h"
#include "support/test_support.h"

namespace {

// Builds S -> NP VP, VP -> V, each constituent linked to its own F-structure
// node (fs[0] the root's).
CCSNode* BuildTree(std::vector<CFSNode*>& fs) {
  for (int i = 0; i < 4; ++i) fs.push_back(new CFSNode());
  auto* s = new CCSNode(u"S", u"", nullptr, fs[0], 1);
  auto* np = new CCSNode(u"NP", u"he", s, fs[1], 2);
  auto* vp = new CCSNode(u"VP", u"", s, fs[0], 3);
  auto* v = new CCSNode(u"V", u"sleeps", vp, fs[2], 4);
  v->LinkedFStructure = fs[3];
  s->AddChild(np);
  s->AddChild(vp);
  vp->AddChild(v);
  return s;
}

class SharedRecordsTest : public ::testing::Test {
 protected:
  void TearDown() override {
    CFSHandle::DeleteAll();
    CFSNode::DeleteAll();
  }
};

}  // namespace

TEST_F(SharedRecordsTest, DeletingACStructureHandleDeletesTheTreeButNoFStructureNode) {
  const int nodesBefore = CCSNode::liveInstances;
  std::vector<CFSNode*> fs;
  auto* handle = new CCSHandle(BuildTree(fs));
  EXPECT_EQ(CCSNode::liveInstances, nodesBefore + 4);
  EXPECT_EQ(handle->Root->Children[1]->Children[0]->Parent, handle->Root->Children[1]);

  const int fsNodesBefore = CFSNode::liveInstances;
  const size_t registeredBefore = CFSNode::RegisteredCount();
  delete handle;
  EXPECT_EQ(CCSNode::liveInstances, nodesBefore);
  EXPECT_EQ(CFSNode::liveInstances, fsNodesBefore);
  EXPECT_EQ(CFSNode::RegisteredCount(), registeredBefore);
}

TEST_F(SharedRecordsTest, AddChildRejectsNullAndLeavesTheNodeAlone) {
  CCSNode node(u"NP", u"", nullptr, nullptr, 7);
  EXPECT_FALSE(node.AddChild(nullptr));
  EXPECT_TRUE(node.Children.empty());
  // A node is not appended to the parent it is made with.
  auto* child = new CCSNode(u"N", u"dog", &node, nullptr, 8);
  EXPECT_TRUE(node.Children.empty());
  EXPECT_TRUE(node.AddChild(child));
  EXPECT_EQ(node.Children.size(), 1u);
}

TEST_F(SharedRecordsTest, ParseResultOwnsTheTreeNotTheFStructure) {
  const int csNodesBefore = CCSNode::liveInstances;
  const int csHandlesBefore = CCSHandle::liveInstances;
  const int namesBefore = CNamedId::liveInstances;
  std::vector<CFSNode*> fs;
  auto* fsHandle = new CFSHandle(new CFSNode(), 1.0);
  auto* result = new CParseResult(fsHandle, new CCSHandle(BuildTree(fs)));
  result->Names.Items.push_back(new CNamedId(u"he", 12));
  result->Names.Items.push_back(new CNamedId(u"sleeps", 13));

  const size_t fsHandles = CFSHandle::RegisteredCount();
  const size_t fsNodes = CFSNode::RegisteredCount();
  delete result;
  EXPECT_EQ(CCSNode::liveInstances, csNodesBefore);
  EXPECT_EQ(CCSHandle::liveInstances, csHandlesBefore);
  EXPECT_EQ(CNamedId::liveInstances, namesBefore);
  EXPECT_EQ(CFSHandle::RegisteredCount(), fsHandles);
  EXPECT_EQ(CFSNode::RegisteredCount(), fsNodes);

  delete new CParseResult(nullptr, nullptr);  // no tree is fine too
}

TEST_F(SharedRecordsTest, NamedIdListsCopyTheirElements) {
  const int namesBefore = CNamedId::liveInstances;
  {
    CNamedIdList source;
    source.Items.push_back(new CNamedId(u"a", 1));
    source.Items.push_back(new CNamedId(u"b", -1));
    CNamedIdList copy(source);
    CNamedIdList assigned;
    assigned.Items.push_back(new CNamedId(u"old", 9));
    assigned = source;
    assigned = assigned;
    ASSERT_EQ(copy.Items.size(), 2u);
    ASSERT_EQ(assigned.Items.size(), 2u);
    EXPECT_NE(copy.Items[0], source.Items[0]);
    EXPECT_EQ(assigned.Items[1]->Name, u"b");
    EXPECT_EQ(assigned.Items[1]->Id, -1);
    EXPECT_EQ(CNamedId::liveInstances, namesBefore + 6);
  }
  EXPECT_EQ(CNamedId::liveInstances, namesBefore);
}

TEST_F(SharedRecordsTest, TargetGroupLeavesItsHandlesAlive) {
  auto* source = new CFSHandle();
  auto* group = new CTargetGroup();
  group->Source = source;
  group->Targets = {new CFSHandle(), new CFSHandle()};
  const size_t handles = CFSHandle::RegisteredCount();
  delete group;
  EXPECT_EQ(CFSHandle::RegisteredCount(), handles);
}

TEST_F(SharedRecordsTest, RawProductionDeletesItsSymbolsButNotClones) {
  const int symbolsBefore = CRawSymbol::liveInstances;
  auto* production = new CRawProduction();
  production->Lhs = new CRawSymbol(u"S", u"", 0);
  production->Rhs = {new CRawSymbol(u"NP", u"^ SUBJ=!", 1), new CRawSymbol(u"VP", u"^=!", 0)};
  CRawSymbol* clone = production->Rhs[0]->Clone();
  delete production;
  EXPECT_EQ(CRawSymbol::liveInstances, symbolsBefore + 1);
  EXPECT_EQ(clone->Text, u"NP");
  EXPECT_EQ(clone->Annotation, u"^ SUBJ=!");
  EXPECT_EQ(clone->Flag, 1);
  delete clone;
  EXPECT_EQ(CRawSymbol::liveInstances, symbolsBefore);
}

TEST_F(SharedRecordsTest, RawProductionPrintsAndShowsItsRule) {
  CRawProduction production;
  production.Lhs = new CRawSymbol(u"S", u"", 0);
  production.Rhs = {new CRawSymbol(u"NP", u"^ SUBJ=!", 0), new CRawSymbol(u"VP", u"^=!", 0)};

  testing::internal::CaptureStdout();
  production.Print();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "S ==> NP VP \n");

  MessageRecorder recorder;
  production.Show();
  ASSERT_EQ(recorder.messages().size(), 1u);
  EXPECT_EQ(recorder.messages()[0].text, u"S ==> \nNP @ ^ SUBJ=!\nVP @ ^=!");
  EXPECT_EQ(recorder.messages()[0].caption, u"Raw Production");
  EXPECT_EQ(recorder.messages()[0].style, MessageStyle::IconInformation);

  // A production still without its mother prints without crashing.
  CRawProduction headless;
  testing::internal::CaptureStdout();
  headless.Print();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), " ==> \n");
}

TEST(TransferFlags, ResetClearsEveryField) {
  CTransferFlags flags;
  flags.SetNullFlag(1);
  flags.SetBreakFlag(1);
  flags.RepositionRequested = 1;
  flags.ValueIsNumber = 1;
  flags.Value = 0xFFFF;
  EXPECT_TRUE(flags.Reset());
  EXPECT_EQ(flags.GetNullFlag(), 0);
  EXPECT_EQ(flags.GetBreakFlag(), 0);
  EXPECT_EQ(flags.RepositionRequested, 0);
  EXPECT_EQ(flags.ValueIsNumber, 0);
  EXPECT_EQ(flags.Value, 0);
}
