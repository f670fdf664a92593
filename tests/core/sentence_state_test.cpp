// The one reset of a sentence's state: parts freed in their fixed order, the
// constraint system's part only after the whole sentence.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/fs_handle.h"
#include "core/fs_node.h"
#include "core/production.h"
#include "core/sentence_state.h"

namespace {

class SentenceStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (SentencePart part : kParts) {
      SetSentenceRelease(part, [this, part] { freed_.push_back(static_cast<int>(part)); });
    }
  }
  void TearDown() override {
    SetSentenceRelease(SentencePart::kGeneration, {});
    SetSentenceRelease(SentencePart::kCharts, {});
    SetSentenceRelease(SentencePart::kProductions, DeleteGlobalObjectList);
    SetSentenceRelease(SentencePart::kHandles, CFSHandle::DeleteAll);
    SetSentenceRelease(SentencePart::kNodes, CFSNode::DeleteAll);
    SetSentenceRelease(SentencePart::kConstraints, {});
  }
  static constexpr SentencePart kParts[] = {SentencePart::kConstraints, SentencePart::kNodes,
                                            SentencePart::kHandles,     SentencePart::kProductions,
                                            SentencePart::kCharts,      SentencePart::kGeneration};
  std::vector<int> freed_;
};

TEST_F(SentenceStateTest, PartsAreFreedUsersFirstAndTheConstraintSystemOnlyAfterTheSentence) {
  ResetSentenceSegment();
  EXPECT_EQ(freed_, (std::vector<int>{0, 1, 2, 3, 4}));
  freed_.clear();
  ResetSentenceState();
  EXPECT_EQ(freed_, (std::vector<int>{0, 1, 2, 3, 4, 5}));
  freed_.clear();
  SetSentenceRelease(SentencePart::kCharts, {});
  ResetSentenceState();
  EXPECT_EQ(freed_, (std::vector<int>{0, 2, 3, 4, 5})) << "a part without a release is skipped";
}

TEST(SentenceState, CoreFreesItsOwnStructuresByDefault) {
  new CFSNode(1, nullptr);
  new CFSHandle(new CFSNode(2, nullptr), 1.0);
  ResetSentenceSegment();
  EXPECT_EQ(CFSNode::RegisteredCount(), 0u);
  EXPECT_EQ(CFSHandle::RegisteredCount(), 0u);
}

}  // namespace
