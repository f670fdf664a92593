#include <memory>
#include <string>
#include <vector>

#include "analysis/lfg_parser.h"
#include "analysis/value_set_ops.h"
#include "analysis_test_support.h"

namespace {

using namespace lfg_test;

class UnificationTest : public LfgTest {
 protected:
  CLFGParser parser_{""};
};

std::vector<SymbolId> Values(const std::vector<std::u16string>& names) {
  std::vector<SymbolId> ids;
  for (const std::u16string& name : names) ids.push_back(Sym(name));
  return ids;
}

TEST_F(UnificationTest, ValueSetsNarrowEmptyValuesAndRespectHashAttributes) {
  struct Case {
    const char* name;
    const char* attribute;  // attribute of the left node; "" for none
    const char* left;
    std::vector<std::u16string> values;
    bool ok;
    const char* expected;
  };
  const Case cases[] = {
      {"empty takes all", "", "{}", {u"a", u"b"}, true, "{a b}"},
      {"intersection in order of the values", "", "{a b}", {u"c", u"b"}, true, "{b}"},
      {"disjoint fails", "", "{a}", {u"c"}, false, "{a}"},
      {"node with children fails", "", "[X {a}]", {u"a"}, false, "[X {a}]"},
      {"hash attribute with a value never narrows", "#CASE", "{nom}", {u"nom"}, false, "{nom}"},
      {"hash attribute without a value takes one", "#CASE", "{}", {u"nom"}, true, "{nom}"},
      {"an empty value set clashes with a filled node", "", "{a}", {}, false, "{a}"},
  };
  for (const Case& c : cases) {
    CFSNode* node = BuildFS(c.left);
    if (*c.attribute != 0) node->Attribute = static_cast<int16_t>(Sym(Widen(c.attribute)));
    std::vector<SymbolId> values = Values(c.values);
    CFSNode* target = node;
    EXPECT_EQ(parser_.UnifySpecial(&target, nullptr, &values, false), c.ok) << c.name;
    EXPECT_EQ(ShowFS(node), c.expected) << c.name;
    EXPECT_EQ(target, node) << c.name;
  }
}

TEST_F(UnificationTest, StructuresMergeChildrenValuesAndSetElements) {
  struct Case {
    const char* name;
    const char* left;
    const char* right;
    bool ok;
    const char* expected;
  };
  const Case cases[] = {
      {"atomic into empty", "{}", "{x}", true, "{x}"},
      {"atomic keeps order of the left", "{a b c}", "{c a}", true, "{a c}"},
      {"empty right changes nothing", "{a}", "{}", true, "{a}"},
      {"atomic clash", "{a}", "{c}", false, "{a}"},
      {"hash attributes narrow in the structure case", "[#CASE {nom acc}]", "[#CASE {acc}]", true,
       "[#CASE {acc}]"},
      {"missing child is copied", "[NUM {sg}]", "[PERS {3}]", true, "[NUM {sg} PERS {3}]"},
      {"child clash", "[NUM {sg}]", "[NUM {pl}]", false, "[NUM {sg}]"},
      {"nested merge", "[SUBJ [NUM {sg}]]", "[SUBJ [PERS {3}]]", true, "[SUBJ [NUM {sg} PERS {3}]]"},
      {"changes before a clash stay", "[A {x}]", "[B {y} A {z}]", false, "[A {x} B {y}]"},
      {"set elements are copied", "[A {x}]", "[B {y}]<[C {z}]>", true, "[A {x} B {y}]<[C {z}]>"},
      {"set of an atomic right side", "{}", "<[C {z}]>", true, "<[C {z}]>"},
      {"structure into a node with values", "{a}", "[B {y}]", true, "{a}[B {y}]"},
  };
  for (const Case& c : cases) {
    CFSNode* left = BuildFS(c.left);
    CFSNode* right = BuildFS(c.right);
    const std::string rightBefore = ShowFS(right);
    CFSNode* target = left;
    EXPECT_EQ(parser_.UnifySpecial(&target, right, nullptr, false), c.ok) << c.name;
    EXPECT_EQ(ShowFS(left), c.expected) << c.name;
    EXPECT_EQ(ShowFS(right), rightBefore) << c.name << ": the right side must not change";
  }
}

TEST_F(UnificationTest, CopiedChildrenAreDeepCopiesOwnedByTheLeftTree) {
  CFSNode* left = BuildFS("[NUM {sg}]");
  CFSNode* right = BuildFS("[SUBJ [PERS {3}]]");
  CFSNode* target = left;
  ASSERT_TRUE(parser_.UnifySpecial(&target, right, nullptr, false));
  CFSNode* copied = left->FindAttribute(Sym(u"SUBJ"));
  ASSERT_NE(copied, nullptr);
  EXPECT_NE(copied, right->ChildList[0]);
  EXPECT_EQ(copied->Parent, left);
  copied->ChildList[0]->Value = {Sym(u"1")};
  EXPECT_EQ(ShowFS(right), "[SUBJ [PERS {3}]]");
}

TEST_F(UnificationTest, ConstraintTextsFollowTheStructureAndUnifyingWithItselfChangesNothing) {
  CFSNode* left = BuildFS("[A {x}]<[B {y}]>");
  left->Constraints = {u"[^A=x]"};
  CFSNode* right = BuildFS("[C {z}]");
  right->Constraints = {u"[^C=z]", u"[^D=w]"};
  CFSNode* target = left;
  ASSERT_TRUE(parser_.UnifySpecial(&target, right, nullptr, false));
  EXPECT_EQ(left->Constraints, (std::vector<WString>{u"[^A=x]", u"[^C=z]", u"[^D=w]"}));

  ASSERT_TRUE(parser_.UnifySpecial(&target, left, nullptr, false));
  EXPECT_EQ(ShowFS(left), "[A {x} C {z}]<[B {y}]>");
  EXPECT_EQ(left->Constraints.size(), 3u);

  CFSNode* missing = nullptr;
  EXPECT_FALSE(parser_.UnifySpecial(&missing, right, nullptr, false));
  EXPECT_FALSE(parser_.UnifySpecial(nullptr, right, nullptr, false));
}

TEST_F(UnificationTest, DistributingOverASetUnifiesACopyWithEveryElement) {
  struct Case {
    const char* name;
    const char* left;
    const char* right;
    bool ok;
    const char* expected;
  };
  const Case cases[] = {
      {"each element gets the left structure", "[NUM {sg}]", "<[PERS {3}] [PERS {1}]>", true,
       "<[NUM {sg} PERS {3}] [NUM {sg} PERS {1}]>"},
      {"children of the right side join after distribution", "[A {x}]", "[B {y}]<[C {z}]>", true,
       "[B {y}]<[A {x} C {z}]>"},
      {"one clashing element fails", "[NUM {sg}]", "<[NUM {sg}] [NUM {pl}]>", false, "[NUM {sg}]"},
      {"without elements it is plain unification", "[A {x}]", "[B {y}]", true, "[A {x} B {y}]"},
  };
  for (const Case& c : cases) {
    CFSNode* parent = BuildFS("[SUBJ {}]");
    CFSNode* left = parent->ChildList[0];
    CFSNode* content = BuildFS(c.left);
    CFSNode* target = left;
    ASSERT_TRUE(parser_.UnifySpecial(&target, content, nullptr, false)) << c.name;
    CFSNode* right = BuildFS(c.right);
    if (!right->SetElements.empty()) right->SetElements[0]->Constraints.push_back(u"[^X=y]");
    EXPECT_EQ(parser_.UnifySpecial(&target, right, nullptr, true), c.ok) << c.name;
    EXPECT_EQ(ShowFS(left), c.expected) << c.name;
    EXPECT_EQ(target, left) << c.name;
    // The node keeps its place: its parent still finds it under its attribute.
    EXPECT_EQ(parent->FindAttribute(Sym(u"SUBJ")), left) << c.name;
    EXPECT_EQ(left->Parent, parent) << c.name;
    // Distributing copies no constraint texts onto the node itself.
    EXPECT_TRUE(left->Constraints.empty()) << c.name;
  }
}

TEST_F(UnificationTest, DistributionKeepsIdentityAndGivesTheElementsToTheNode) {
  CFSNode* root = BuildFS("[SUBJ [NUM {sg}]]");
  CFSNode* subj = root->ChildList[0];
  subj->IsLinkTarget = 1;
  const uint32_t id = subj->NodeId;
  CFSNode* right = BuildFS("<[PERS {3}] [PERS {1}]>");
  right->SetElements[1]->Constraints.push_back(u"[^PERS=1]");
  CFSNode* target = subj;
  ASSERT_TRUE(parser_.UnifySpecial(&target, right, nullptr, true));
  EXPECT_EQ(subj->NodeId, id);
  EXPECT_EQ(subj->Attribute, static_cast<int16_t>(Sym(u"SUBJ")));
  EXPECT_EQ(subj->IsLinkTarget, 1);
  EXPECT_EQ(root->FindNodeById(id), subj);
  ASSERT_EQ(subj->SetElements.size(), 2u);
  for (CFSNode* element : subj->SetElements) EXPECT_EQ(element->Parent, subj);
  // An element's constraint texts go with its copy.
  EXPECT_EQ(subj->SetElements[1]->Constraints, (std::vector<WString>{u"[^PERS=1]"}));
  EXPECT_EQ(ShowFS(right), "<[PERS {3}] [PERS {1}]>");
}

TEST_F(UnificationTest, CopyHelpersAppendDeepCopiesAndIgnoreNull) {
  CFSNode* to = BuildFS("[A {x}]<[B {y}]>");
  CFSNode* from = BuildFS("[C {z}]<[D {w}]>");
  from->Constraints = {u"[^C=z]"};
  parser_.CopyChildren(to, from);
  parser_.CopySetElements(to, from);
  parser_.CopyConstraints(to, from);
  parser_.CopyConstraints(to, to);
  parser_.CopyChildren(nullptr, from);
  parser_.CopySetElements(to, nullptr);
  EXPECT_EQ(ShowFS(to), "[A {x} C {z}]<[B {y}] [D {w}]>");
  EXPECT_NE(to->ChildList[1], from->ChildList[0]);
  EXPECT_NE(to->SetElements[1], from->SetElements[0]);
  EXPECT_EQ(to->Constraints, (std::vector<WString>{u"[^C=z]", u"[^C=z]"}));
}

TEST_F(UnificationTest, SetsUnifyElementByElement) {
  MessageRecorder recorder;
  CFSNode* root = BuildFS("[ADJ <[A {x}] [B {y}]>]");
  CFSNode* left = root->ChildList[0];
  CFSNode* target = left;
  ASSERT_TRUE(parser_.UnifySets(&target, BuildFS("<[C {z}] [B {y}]>")));
  EXPECT_EQ(ShowFS(left), "<[A {x} C {z}] [B {y}]>");
  EXPECT_EQ(root->FindAttribute(Sym(u"ADJ")), left);
  EXPECT_FALSE(parser_.UnifySets(&target, BuildFS("<[A {q}] [B {y}]>")));
  EXPECT_FALSE(parser_.UnifySets(&target, BuildFS("<[A {x}]>")));
  EXPECT_EQ(recorder.messages().size(), 2u);
}

TEST(ValueSetOps, SameValueListComparesSizeAndMembership) {
  const ValueList ab{1, 2}, ba{2, 1}, aa{1, 1}, a{1}, empty;
  struct Case {
    const ValueList* x;
    const ValueList* y;
    bool same;
  };
  const Case cases[] = {{&ab, &ba, true}, {&ab, &a, false}, {&aa, &ab, true}, {&ab, &aa, false},
                        {&empty, &empty, true}, {nullptr, &a, false}, {&a, nullptr, false}};
  for (const Case& c : cases) EXPECT_EQ(SameValueList(c.x, c.y), c.same);
}

TEST(ValueSetOps, EmptySetsNeverClashAndTwoEmptySetsAreNotDisjoint) {
  const ValueList empty, a{1}, b{2};
  EXPECT_FALSE(ValuesDisjoint(&empty, &empty));
  EXPECT_FALSE(ValuesDisjoint(&empty, &a));
  EXPECT_TRUE(ValuesDisjoint(&a, &b));
  std::unique_ptr<ValueList> copy = IntersectValues(&empty, &a);
  ASSERT_TRUE(copy);
  EXPECT_EQ(*copy, a);
}

}  // namespace
