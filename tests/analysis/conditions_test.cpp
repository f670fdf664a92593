#include <string>
#include <vector>

#include "analysis/lfg_parser.h"
#include "analysis_test_support.h"

namespace {

using namespace lfg_test;

class ConditionTest : public LfgTest {
 protected:
  CLFGParser parser_{""};
};

TEST_F(ConditionTest, ComparisonsOperatorsAndNesting) {
  CFSNode* up = BuildFS("[NUM {sg} PERS {3} CASE {nom acc} SUBJ [NUM {pl}] BLANK {}]");
  CFSNode* down = BuildFS("[NUM {sg} GEND {m} BLANK {}]");
  struct Case {
    const char* text;
    bool expected;
  };
  const Case cases[] = {
      {"[^NUM=sg]", true},
      {"[^NUM=pl]", false},
      {"[^NUM=c sg]", true},
      {"[^NUM =c sg]", true},
      {"[^NUM=c pl]", false},
      {"[^SUBJ NUM=pl]", true},
      {"[^CASE={acc,dat}]", true},
      {"[^CASE={gen,dat}]", false},
      {"[^NUM=!NUM]", true},
      {"[^PERS=!NUM]", false},
      {"[^NUM=!MISSING]", false},
      {"[!GEND=m]", true},
      {"[!GEND=^NUM]", false},
      {"[!NUM=^NUM]", true},
      {"[^NUM=^NUM]", false},
      {"[^BLANK=!BLANK]", true},
      {"[^TENSE=past]", false},
      {"[^NUM=sg]&[^PERS=3]", true},
      {"[^NUM=sg]&[^PERS=1]", false},
      {"[^NUM=sg]&&[^PERS=3]", true},
      {"[^NUM=pl]|[^PERS=3]", true},
      {"[^NUM=pl]||[^PERS=1]", false},
      {"~[^NUM=pl]", true},
      {"~[^NUM=sg]", false},
      {"[[^NUM=sg]|[^NUM=pl]]&[^PERS=3]", true},
      {"[[^NUM=pl]|[^PERS=1]]&[^PERS=3]", false},
      {"[~[^NUM=pl]]&[!GEND=m]", true},
      {"", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(parser_.EvaluateCondition(Widen(c.text), up, down), c.expected) << c.text;
  }
  EXPECT_FALSE(parser_.EvaluateCondition(u"[!GEND=m]", nullptr, down));
  EXPECT_TRUE(parser_.EvaluateCondition(u"[^NUM=sg]", up, nullptr));
}

TEST_F(ConditionTest, PartialEvaluationDefersComparisonsWithMissingMotherPaths) {
  CFSNode* up = BuildFS("[NUM {sg}]");
  CFSNode* down = BuildFS("[GEND {m}]");
  struct Case {
    const char* text;
    int expected;
  };
  const Case cases[] = {
      {"[^NUM=sg]", 1},
      {"[^NUM=pl]", 0},
      {"[^TENSE=past]", -1},
      {"[^TENSE=past]&[^NUM=sg]", -1},
      {"[^TENSE=past]&[^NUM=pl]", 0},
      {"[^TENSE=past]|[^NUM=pl]", -1},
      {"[!TENSE=past]", 0},
      {"[!GEND=^TENSE]", 0},
      {"[^TENSE=!GEND]", -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(parser_.EvaluateConditionPartial(Widen(c.text), up, down), c.expected) << c.text;
  }
  EXPECT_EQ(parser_.EvaluateConditionPartial(u"[^NUM=sg]", nullptr, down), 0);
}

TEST_F(ConditionTest, OperandComparisonsNeedBothOperands) {
  CFSNode* up = BuildFS("[NUM {sg}]");
  EXPECT_EQ(parser_.CompareConditionOperands(up, up, u"^NUM", u"sg"), 1);
  EXPECT_EQ(parser_.CompareConditionOperands(up, up, u"^NUM", u"  "), 0);
  EXPECT_EQ(parser_.CompareConditionOperands(up, up, u"", u"sg"), 0);
  EXPECT_EQ(parser_.CompareConditionOperands(up, up, u"NUM", u"sg"), 0);
  EXPECT_EQ(parser_.CompareConditionOperandsPartial(up, up, u"^PERS", u"3"), -1);
}

TEST_F(ConditionTest, PendingConstraintsOfChildrenAreCheckedAgainstTheirParent) {
  CFSNode* root = BuildFS("[NUM {sg} SUBJ [PERS {3} OBJ [CASE {acc}]]]");
  CFSNode* subj = root->ChildList[1];
  CFSNode* obj = subj->ChildList[1];
  subj->Constraints = {u"[^NUM=sg]"};
  EXPECT_TRUE(parser_.CheckPendingConstraints(root));
  obj->Constraints = {u"[^PERS=3]"};
  EXPECT_TRUE(parser_.CheckPendingConstraints(root));
  obj->Constraints = {u"[^PERS=3]", u"[^CASE=acc]"};
  EXPECT_FALSE(parser_.CheckPendingConstraints(root));
  subj->Constraints = {u"[^NUM=pl]"};
  obj->Constraints.clear();
  EXPECT_FALSE(parser_.CheckPendingConstraints(root));
  EXPECT_TRUE(parser_.CheckPendingConstraints(nullptr));
}

class CompletenessTest : public LfgTest {
 protected:
  void SetUp() override {
    LfgTest::SetUp();
    for (const char16_t* name : {u"SUBJ", u"OBJ", u"OBJ2", u"XCOMP"}) {
      parser_.governableFunctions.push_back(Sym(name));
    }
  }
  CLFGParser parser_{""};
};

TEST_F(CompletenessTest, GovernableFunctionsMustMatchThePredicateFrame) {
  struct Case {
    const char* name;
    const char* structure;
    bool ok;
  };
  const Case cases[] = {
      {"complete and coherent", "[PRED [GF {SUBJ OBJ}] SUBJ [NUM {sg}] OBJ [NUM {pl}] TENSE {past}]", true},
      {"order does not matter", "[OBJ [NUM {pl}] SUBJ [NUM {sg}] PRED [GF {SUBJ OBJ}]]", true},
      {"incomplete: OBJ missing", "[PRED [GF {SUBJ OBJ}] SUBJ [NUM {sg}]]", false},
      {"incoherent: OBJ2 not asked for", "[PRED [GF {SUBJ}] SUBJ [NUM {sg}] OBJ2 [NUM {sg}]]", false},
      {"incoherent: function without a predicate", "[OBJ [NUM {sg}] NUM {sg}]", false},
      {"no function and no predicate", "[NUM {sg} TENSE {past}]", true},
      {"frame but no function at all", "[PRED [GF {SUBJ}] NUM {sg}]", false},
      {"predicate without GF counts as none", "[PRED [VALUE {rain}] NUM {sg}]", true},
      {"nested incompleteness", "[PRED [GF {SUBJ XCOMP}] SUBJ [NUM {sg}] XCOMP [PRED [GF {SUBJ OBJ}] SUBJ {}]]",
       false},
      {"nested completeness", "[PRED [GF {SUBJ XCOMP}] SUBJ [NUM {sg}] XCOMP [PRED [GF {SUBJ}] SUBJ [N {x}]]]",
       true},
      {"set elements are not visited", "[NUM {sg}]<[OBJ [NUM {sg}]]>", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(parser_.CheckCompletenessCoherence(BuildFS(c.structure)), c.ok) << c.name;
  }
  EXPECT_TRUE(parser_.CheckCompletenessCoherence(nullptr));
}

TEST_F(LfgTest, WithoutGovernableFunctionsNothingIsGoverned) {
  CLFGParser parser("");
  EXPECT_TRUE(parser.governableFunctions.empty());
  EXPECT_TRUE(parser.CheckCompletenessCoherence(BuildFS("[NUM {sg} SUBJ [NUM {sg}]]")));
}

}  // namespace
