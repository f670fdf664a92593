// Conditions of mapping entries on a hand-made source and target.
#include "transfer/walk/toy_mapper_fixture.h"

namespace walk_test {
namespace {

class MapperConditions : public ToyMapper {
 protected:
  void SetUp() override {
    ToyMapper::SetUp();
    // The source: a clause whose SUBJ is the node being mapped.
    subj_ = Node(u"SUBJ", {}, {Pred(u"boy"), Node(u"NUM", {u"sg"})});
    element_ = Node(u"ELEMENT3", {}, {Pred(u"off"), Node(u"PARTICLE", {u"+"})});
    source_ = Node(u"ROOT", {},
                   {Pred(u"give", {u"SUBJ", u"OBJ"}), subj_, Node(u"OBJ", {}, {Node(u"CASE", {u"acc"})}),
                    Node(u"TENSE", {u"past"}), Node(u"ADJUNCT", {}, {Node(u"SET", {}, {element_})})});
    // The target: the clause built so far, focused on its SUBJ.
    targetSubj_ = Node(u"SUBJ", {}, {Node(u"NUM", {u"sg"})});
    target_ = Node(u"ROOT", {}, {Node(u"ASPECT", {u"perf"}), targetSubj_, Node(u"OBJ")});
  }

  CFSNode* subj_ = nullptr;
  CFSNode* element_ = nullptr;
  CFSNode* source_ = nullptr;
  CFSNode* targetSubj_ = nullptr;
  CFSNode* target_ = nullptr;
};

TEST_F(MapperConditions, ComparisonsOperatorsAndStartingPoints) {
  struct Case {
    std::u16string condition;
    bool expected;
  };
  const std::vector<Case> cases = {
      {u"", true},
      // A path read beside the node being mapped; its negation.
      {u"(OBJ)", true},
      {u"(OBJ2)", false},
      {u"~(OBJ)", false},
      {u"~(OBJ2)", true},
      {u"(~(OBJ2))", true},
      // Values: "==" and "=c" alike; a PRED stands for its word; a GF list
      // compares as a whole.
      {u"(OBJ.CASE == {acc})", true},
      {u"(OBJ.CASE =c {acc})", true},
      {u"(OBJ.CASE == {nom,acc})", true},
      {u"(OBJ.CASE == {nom})", false},
      {u"(PRED == {give})", true},
      {u"(PRED.GF == {SUBJ,OBJ})", true},
      {u"(PRED.GF == {SUBJ})", false},
      {u"(PRED.GF == {OBJ,SUBJ,OBJ2})", false},
      // '&' and '|', with a negation that binds only its own parentheses.
      {u"(OBJ) & (TENSE == {past})", true},
      {u"(OBJ) & ~(TENSE == {past})", false},
      {u"~(OBJ2) & (OBJ)", true},
      {u"~(OBJ) | (OBJ)", true},
      {u"(OBJ2) | (TENSE == {pres})", false},
      {u"((OBJ2) | (OBJ)) & (SUBJ.NUM == {sg})", true},
      {u"(OBJ)&&(SUBJ)", true},
      // ROOT from any depth; target paths; paths compared with each other.
      {u"(ROOT.TENSE == {past})", true},
      {u"(t::ASPECT == {perf})", false},
      {u"(t::NUM == {sg})", true},
      {u"(t::PARENT.ASPECT == {perf})", true},
      {u"(SUBJ.NUM == t::NUM)", true},
      {u"(SUBJ.NUM == s::OBJ.CASE)", false},
      // A comparison that nothing closes leaves the condition unfinished:
      // false.
      {u"(OBJ) & (OBJ2", false},
      {u"(OBJ) & OBJ", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(engine_->MatchCondition(c.condition, subj_, targetSubj_), c.expected) << ToUtf8(c.condition);
  }
}

TEST_F(MapperConditions, SetMembersReadTheirOwnAttributes) {
  EXPECT_TRUE(engine_->MatchCondition(u"(PARTICLE)", element_, target_));
  EXPECT_TRUE(engine_->MatchCondition(u"(PRED == {off})", element_, target_));
  EXPECT_FALSE(engine_->MatchCondition(u"(OBJ)", element_, target_));
}

TEST_F(MapperConditions, MissingNodesAndEmptyPaths) {
  EXPECT_FALSE(engine_->MatchCondition(u"(OBJ)", nullptr, nullptr));
  EXPECT_TRUE(engine_->MatchCondition(u"", nullptr, nullptr));
  // Without a target, a comparison asks whether the path exists beside the
  // node; a node without a parent has nothing beside it.
  EXPECT_EQ(engine_->EvaluateComparison(subj_, nullptr, u"OBJ", u""), 1);
  EXPECT_EQ(engine_->EvaluateComparison(source_, nullptr, u"OBJ", u""), 0);
  // An empty path tests the start's own attribute.
  EXPECT_EQ(engine_->EvaluateComparison(subj_, targetSubj_, u"PARENT", u"{ROOT}"), 1);
  EXPECT_EQ(engine_->EvaluateComparison(subj_, targetSubj_, u"", u"{SUBJ}"), 0);
}

}  // namespace
}  // namespace walk_test
