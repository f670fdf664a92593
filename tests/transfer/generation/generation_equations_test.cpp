// Binding daughters, applying equations and picking set members, on
// hand-made target structures.
#include <memory>

#include <gtest/gtest.h>

#include "core/trace_log.h"
#include "resources/lfg/lexicon.h"
#include "transfer/generation/generation_fixture.h"

using namespace generation_test;

namespace {

// "left op right" with both sides read as the grammar reads them.
std::unique_ptr<CEquation> Eq(const std::u16string& left, WChar op, const std::u16string& right) {
  auto equation = std::make_unique<CEquation>();
  equation->left = CLexicon::ParseOperand(left).release();
  equation->op = op;
  equation->right = CLexicon::ParseOperand(right).release();
  return equation;
}

constexpr const char* kClause =
    "[PRED='parh'/SUBJ,OBJ NUM=sg,pl CASE=pl SUBJ[PRED='larka' NUM=sg] ADJUNCT{[PRED='aaj'] [PRED='kal'] [NUM=sg]}]";

class GenerationEquations : public GenerationTest {
 protected:
  void SetUp() override {
    GenerationTest::SetUp();
    root = BuildStructure(kClause);
    edge = std::make_unique<CChartEdge>(root, nullptr, 0, 0, 0, 0);
  }
  void TearDown() override {
    edge.reset();
    GenerationTest::TearDown();
  }
  // Binds a fresh daughter with the equation; the node it is bound to.
  CFSNode* Bind(const std::u16string& left, WChar op, const std::u16string& right, bool peek, bool* result = nullptr) {
    daughter = std::make_unique<CProductionSymbol>();
    auto equation = Eq(left, op, right);
    const bool bound = Generator().UnifyEquation(equation.get(), edge.get(), daughter.get(), true, peek);
    if (result != nullptr) *result = bound;
    return daughter->generatorNode;
  }

  CFSNode* root = nullptr;
  std::unique_ptr<CChartEdge> edge;
  std::unique_ptr<CProductionSymbol> daughter;
};

}  // namespace

TEST_F(GenerationEquations, BindingEquationsFindTheDaughtersNode) {
  EXPECT_EQ(Bind(u"^SUBJ", u'=', u"!", true), At(root, "SUBJ"));
  EXPECT_EQ(Bind(u"^", u'=', u"!", true), root);
  bool result = true;
  EXPECT_EQ(Bind(u"^OBJ", u'=', u"!", true, &result), nullptr);  // no OBJ
  EXPECT_FALSE(result);
  EXPECT_EQ(Bind(u"^TENSE", u'$', u"^SUBJ", true, &result), nullptr);  // not a binding form
  EXPECT_FALSE(result);
  // (^ CASE) = (! CASE) binds a new node whose CASE shares the mother's.
  CFSNode* fresh = Bind(u"^CASE", u'=', u"!CASE", true, &result);
  EXPECT_TRUE(result);
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(At(fresh, "CASE")->FollowForward(), At(root, "CASE"));
}

TEST_F(GenerationEquations, SetMembersAreTakenInOrderAndPeekLeavesThemUnused) {
  CFSNode* first = At(root, "ADJUNCT.SET.ELEMENT1");
  CFSNode* second = At(root, "ADJUNCT.SET.ELEMENT2");
  EXPECT_EQ(Bind(u"!", u'$', u"^ADJUNCT", true), first);
  EXPECT_EQ(Bind(u"!", u'$', u"^ADJUNCT", true), first) << "a peek uses nothing";
  EXPECT_EQ(first->GenerationMark, 0);
  EXPECT_EQ(Bind(u"!", u'$', u"^ADJUNCT", false), first);
  EXPECT_EQ(first->GenerationMark, 1);
  EXPECT_EQ(At(root, "ADJUNCT")->GenerationMark, 1) << "the path to the set is used";
  // A member counts as used once its PRED is; one without PRED is passed over.
  At(first, "PRED")->GenerationMark = 1;
  EXPECT_EQ(Bind(u"!", u'$', u"^ADJUNCT", false), second);
  At(second, "PRED")->GenerationMark = 1;
  const uint64_t lines = TraceLogLineCount();
  bool result = true;
  EXPECT_EQ(Bind(u"!", u'$', u"^ADJUNCT", false, &result), nullptr);
  EXPECT_FALSE(result);
  EXPECT_EQ(TraceLogLineCount(), lines + 1) << "No unmarked ELEMENT left";
  EXPECT_EQ(Generator().NextUnmarkedSetElement(At(root, "SUBJ"), true), nullptr);  // I am not SET
  EXPECT_EQ(TraceLogLineCount(), lines + 2);
}

TEST_F(GenerationEquations, ValueBindingIntersectsOrCreatesTheFeature) {
  struct Case {
    const char16_t* left;
    const char16_t* values;
    bool holds;
    const char* after;  // values of the feature afterwards
  };
  const Case cases[] = {
      {u"^NUM", u"sg", true, "sg"},       // {sg, pl} narrowed
      {u"^CASE", u"sg", false, "pl"},     // no shared value
      {u"^GEND", u"f", true, "f"},        // made
      {u"^SUBJ NUM", u"sg", true, "sg"},  // along a path
  };
  for (const Case& c : cases) {
    bool result = false;
    EXPECT_EQ(Bind(c.left, u'=', c.values, true, &result), c.holds ? root : root) << ToUtf8(c.left);
    EXPECT_EQ(result, c.holds) << ToUtf8(c.left);
    std::string path = ToUtf8(c.left).substr(1);
    for (char& ch : path) ch = ch == ' ' ? '.' : ch;
    EXPECT_EQ(ValuesOf(At(root, path)), c.after) << ToUtf8(c.left);
  }
}

TEST_F(GenerationEquations, TestOnlyEquationsWithPathsChangeNothing) {
  CUrduSentenceGenerator& urdu = Generator();
  CFSNode* subj = At(root, "SUBJ");
  const size_t children = root->ChildList.size();
  EXPECT_TRUE(urdu.ApplyEquation(Eq(u"^TENSE", u'=', u"pres").get(), root, subj, true));
  EXPECT_TRUE(urdu.ApplyEquation(Eq(u"^OBJ", u'=', u"!").get(), root, subj, true));
  EXPECT_EQ(root->ChildList.size(), children);
  EXPECT_EQ(root->GenerationMark + subj->GenerationMark, 0);
  // Without test only the same equations build and use what they name.
  EXPECT_TRUE(urdu.ApplyEquation(Eq(u"^TENSE", u'=', u"pres").get(), root, subj, false));
  EXPECT_EQ(ValuesOf(At(root, "TENSE")), "pres");
  EXPECT_EQ(root->GenerationMark, 1);
  EXPECT_FALSE(urdu.ApplyEquation(Eq(u"^TENSE", u'=', u"past").get(), root, subj, false));
  EXPECT_FALSE(urdu.ApplyEquation(Eq(u"^SUBJ", u'=', u"sg").get(), root, subj, false)) << "a structure takes no values";
  EXPECT_FALSE(urdu.ApplyEquation(Eq(u"^TENSE", u'=', u"pres").get(), nullptr, subj, false));
}

TEST_F(GenerationEquations, AgreementSharesValuesOrForwardsTheNewSide) {
  CUrduSentenceGenerator& urdu = Generator();
  CFSNode* subj = At(root, "SUBJ");
  // (^ SUBJ NUM) = (! NUM): an existing pair must agree.
  auto agreement = Eq(u"^SUBJ NUM", u'=', u"!NUM");
  CFSNode* other = BuildStructure("[NUM=pl]");
  EXPECT_FALSE(urdu.ApplyEquation(agreement.get(), root, other, false));
  CFSNode* same = BuildStructure("[NUM=sg,pl]");
  EXPECT_TRUE(urdu.ApplyEquation(agreement.get(), root, same, false));
  EXPECT_EQ(ValuesOf(At(same, "NUM")), "sg");
  // A side made just now is forwarded to the other and shares its values.
  CFSNode* fresh = BuildStructure("[]");
  EXPECT_TRUE(urdu.ApplyEquation(agreement.get(), root, fresh, false));
  CFSNode* made = At(fresh, "NUM");
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->FollowForward(), At(subj, "NUM"));
  EXPECT_EQ(made->IsForwarded, 1);
}

TEST_F(GenerationEquations, StructuresMergeAndWhatEitherSideUsedCountsForBoth) {
  CUrduSentenceGenerator& urdu = Generator();
  CFSNode* mother = BuildStructure("[SUBJ[PRED='larka' NUM=sg] TENSE=pres]");
  CFSNode* daughterNode = BuildStructure("[SUBJ[PRED='larka' CASE=nom] ASPECT=impf]");
  At(daughterNode, "SUBJ")->GenerationMark = 1;
  CFSNode* target = daughterNode;
  ASSERT_TRUE(urdu.HandleSetValue(target, mother, nullptr, false));
  EXPECT_EQ(ValuesOf(At(daughterNode, "TENSE")), "pres") << "the mother's features join the daughter";
  EXPECT_EQ(ValuesOf(At(daughterNode, "SUBJ.NUM")), "sg");
  EXPECT_EQ(At(mother, "SUBJ")->GenerationMark, 1) << "the mother learns what the daughter used";
  CFSNode* clash = BuildStructure("[TENSE=past]");
  target = clash;
  EXPECT_FALSE(urdu.HandleSetValue(target, mother, nullptr, false));
}
