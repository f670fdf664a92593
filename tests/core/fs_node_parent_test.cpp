// The owner of an F-structure node, with and without passing over the
// levels that only hold a set.
#include <gtest/gtest.h>

#include "core/fs_node.h"
#include "core/symbol_table.h"

namespace {

class FSNodeParent : public ::testing::Test {
 protected:
  void SetUp() override { RegisterReservedSymbols(); }
  void TearDown() override { CFSNode::DeleteAll(); }
  static CFSNode* Add(CFSNode* parent, const char16_t* attribute) {
    auto* node = new CFSNode(static_cast<int16_t>(GetSymbolId(attribute, true)), nullptr);
    if (parent != nullptr) parent->AddChild(node);
    return node;
  }
};

TEST_F(FSNodeParent, SkipsSetLevelsOnlyWhenAsked) {
  // clause -> ADJUNCT -> ELEMENT3 -> PRED, and clause -> COORD -> SET -> member
  CFSNode* clause = Add(nullptr, u"ROOT");
  CFSNode* adjunct = Add(clause, u"ADJUNCT");
  CFSNode* element = Add(adjunct, u"ELEMENT3");
  CFSNode* memberPred = Add(element, u"PRED");
  CFSNode* plainElement = Add(adjunct, u"ELEMENT");
  CFSNode* plainMemberPart = Add(plainElement, u"NUM");
  CFSNode* coord = Add(clause, u"COORD");
  CFSNode* set = Add(coord, u"SET");
  CFSNode* setMember = Add(set, u"NUM");
  CFSNode* subj = Add(clause, u"SUBJ");
  CFSNode* num = Add(subj, u"NUM");
  struct Case {
    CFSNode* node;
    CFSNode* plain;
    CFSNode* skipping;
  };
  const Case cases[] = {
      {memberPred, element, clause},  // under a member level: the set's owner
      {plainMemberPart, plainElement, clause},
      {setMember, set, coord},  // under SET: the node holding it
      {num, subj, subj},        // ordinary levels are not skipped
      {subj, clause, clause},
      {clause, nullptr, nullptr},  // no parent
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.node->GetParent(false), c.plain);
    EXPECT_EQ(c.node->GetParent(true), c.skipping);
  }
}

TEST_F(FSNodeParent, AMissingLinkOnTheWayGivesNone) {
  CFSNode* element = Add(nullptr, u"ELEMENT");
  CFSNode* part = Add(element, u"PRED");
  EXPECT_EQ(part->GetParent(true), nullptr);
  CFSNode* adjunct = Add(nullptr, u"ADJUNCT");
  adjunct->AddChild(element);
  EXPECT_EQ(part->GetParent(true), nullptr);
  EXPECT_EQ(part->GetParent(false), element);
}

}  // namespace
