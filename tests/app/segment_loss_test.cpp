// Naming what a segment's translation leaves out, and keeping grammar
// symbols out of the Urdu.
#include <gtest/gtest.h>

#include <map>

#include "app/pipeline/segment_loss.h"
#include "core/fs_node.h"
#include "core/symbol_table.h"
#include "platform/utf8.h"

namespace {

TEST(SegmentLoss, WordsWithLatinLettersAreTakenOutOfTheUrduButCodesStay) {
  struct Case {
    const char* name;
    std::u16string text;
    std::u16string kept;
    std::vector<std::u16string> removed;
  };
  const std::vector<Case> cases = {
      {"Urdu only", u"میں نے اسے ایک کتاب دی", u"میں نے اسے ایک کتاب دی", {}},
      {"digits stay", u"کسان نے 25 گائیں خریدیں", u"کسان نے 25 گائیں خریدیں", {}},
      {"a placeholder at the start", u"pro دیوار نہیں چھوتے", u"دیوار نہیں چھوتے", {u"pro"}},
      {"symbols anywhere", u"وہ EMPTY آیا x_y", u"وہ آیا", {u"EMPTY", u"x_y"}},
      {"a word mixing scripts", u"وہ aکتاب", u"وہ", {u"aکتاب"}},
      {"nothing left", u"pro", u"", {u"pro"}},
      {"a code of letters and digits stays", u"میں نے PK303 دیکھا", u"میں نے PK303 دیکھا", {}},
      {"a symbol with a digit but another mark goes", u"وہ ELEMENT5_x آیا", u"وہ آیا", {u"ELEMENT5_x"}},
  };
  for (const Case& c : cases) {
    std::u16string text = c.text;
    EXPECT_EQ(RemoveLatinWords(text), c.removed) << c.name;
    EXPECT_EQ(ToUtf8(text), ToUtf8(c.kept)) << c.name;
  }
}

CFSNode* WithPred(CFSNode* parent, const std::u16string& attribute, const std::u16string& word) {
  auto* node = new CFSNode(static_cast<int16_t>(GetSymbolId(attribute, true)), parent);
  parent->AddChild(node);
  auto* pred = new CFSNode(static_cast<int16_t>(GetSymbolId(u"PRED", true)), node);
  node->AddChild(pred);
  auto* value = new CFSNode(static_cast<int16_t>(GetSymbolId(u"VALUE", true)), pred);
  pred->AddChild(value);
  value->Value.push_back(GetSymbolId(word, true));
  return node;
}

class SegmentLossNames : public ::testing::Test {
 protected:
  void SetUp() override { RegisterReservedSymbols(); }
  void TearDown() override { CFSNode::DeleteAll(); }
};

TEST_F(SegmentLossNames, LeftOutNodesAreNamedByTheEnglishMappedIntoThem) {
  CFSNode& root = *new CFSNode(static_cast<int16_t>(GetSymbolId(u"ROOT", true)), nullptr);
  CFSNode* obj = WithPred(&root, u"OBJ", u"'اعلان'");
  CFSNode* possessor = WithPred(obj, u"POSS", u"'آج'");
  CFSNode* adjunct = WithPred(obj, u"ADJUNCT", u"'نیا'");
  CFSNode* unknown = WithPred(&root, u"OBJ2", u"'ہار'");
  std::map<uint32_t, std::u16string> english = {
      {root.NodeId, u"announce"}, {possessor->NodeId, u"today"}, {adjunct->NodeId, u"new"}};
  const auto englishOf = [&english](uint32_t id) -> const std::u16string* {
    const auto found = english.find(id);
    return found != english.end() ? &found->second : nullptr;
  };
  struct Case {
    const char* name;
    std::vector<const CFSNode*> leftOut;
    std::vector<std::u16string> words;
  };
  const std::vector<Case> cases = {
      {"each its own English", {possessor, adjunct}, {u"today", u"new"}},
      {"a node without its own takes the word mapped above it", {obj}, {u"announce"}},
      {"a node right under the root takes the root's word", {unknown}, {u"announce"}},
      {"each word once", {obj, root.ChildList.front(), possessor}, {u"announce", u"today"}},
  };
  for (const Case& c : cases) EXPECT_EQ(LeftOutWords(c.leftOut, englishOf), c.words) << c.name;
  english.erase(root.NodeId);
  EXPECT_EQ(LeftOutWords({unknown, obj}, englishOf), (std::vector<std::u16string>{u"ہار", u"اعلان"}));
  EXPECT_EQ(LeftOutWords({possessor}, nullptr), std::vector<std::u16string>{u"آج"});
}

TEST(SegmentLoss, TheMessageNamesTheWordsInOrder) {
  EXPECT_EQ(ToUtf8(NotTranslatedMessage({u"rice", u"yesterday"})), "Not translated: rice, yesterday");
  EXPECT_EQ(ToUtf8(NotTranslatedMessage({u"\u2605"})), "Not translated: \u2605");
}

TEST(SegmentLoss, AWordIsDroppedOnlyWhenEveryUrduStructureDroppedIt) {
  using Words = std::vector<std::u16string>;
  const Words rice = {u"rice", u"not"};
  const Words riceAgain = {u"not", u"rice", u"rice"};
  const Words none;
  struct Case {
    const char* name;
    std::vector<const Words*> lists;
    Words common;
  };
  const std::vector<Case> cases = {
      {"one structure", {&rice}, {u"rice", u"not"}},
      {"two that agree, in the first one's order, each once", {&rice, &riceAgain}, {u"rice", u"not"}},
      {"another structure carried them", {&rice, &none}, {}},
      {"a structure without a list: nothing is claimed", {&rice, nullptr}, {}},
      {"no structure", {}, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(WordsDroppedByEvery(c.lists), c.common) << c.name;
}

}  // namespace
