// The F-structure operations of the LFG parser on structures written in the
// notation of analysis_test_support.h: unification, conditions,
// completeness and coherence, and the annotations of completed daughters.
#include <string>
#include <vector>

#include "analysis/analysis_test_support.h"
#include "analysis/lfg/lfg_parser.h"

namespace {

using namespace lfg_test;

class ParserOps : public LfgTest {
 protected:
  // A completed daughter whose mother carries the structure.
  CProduction* Completed(const std::string& structure) {
    CProduction* daughter = MakeProduction("NP", {"x"});
    daughter->mother->fStructure = new CFSHandle(BuildFS(structure), 1.0);
    daughter->dot = 1;
    return daughter;
  }
  // A waiting production whose daughter at the dot carries the annotation.
  CProduction* Waiting(const std::string& daughter, const char* mother = nullptr) {
    CProduction* production = MakeProduction("S", {daughter, "VP"});
    if (mother != nullptr) production->mother->fStructure = new CFSHandle(BuildFS(mother), 1.0);
    return production;
  }
  static std::string Up(const CProduction* production) { return ShowFS(production->mother->fStructure->root); }

  CLFGParser parser_{""};
};

TEST_F(ParserOps, EquationsBuildTheMotherStructure) {
  // annotation, mother (null: no structure yet), daughter, success, mother after
  const std::tuple<const char*, const char*, const char*, bool, const char*> cases[] = {
      {"NP:^SUBJ=!,^SUBJ CASE=nom", nullptr, "[NUM {sg}]", true, "[SUBJ [NUM {sg} CASE {nom}]]"},
      {"VP:^=!", "[SUBJ [NUM {sg}]]", "[TENSE {past}]", true, "[SUBJ [NUM {sg}] TENSE {past}]"},
      {"NP:^NUM=!NUM", nullptr, "[NUM {sg} PERS {3}]", true, "[NUM {sg}]"},
      {"NP:^=!", "[NUM {pl}]", "[NUM {sg}]", false, "[NUM {pl}]"},
      {"NP:^NUM=!NUM", nullptr, "[PERS {3}]", false, "[NUM {}]"},
      {"NP:^=^", nullptr, "[NUM {sg}]", false, "{}"},
      {"NP:!NUM=sg", nullptr, "[NUM {pl}]", true, "{}"},  // constraining equations are skipped
      {"NP:!$x", "[TENSE {past}]", "[PCASE {on}]", true, "[TENSE {past}]<[PCASE {on}]>"},  // the root's set
      {"NP:^ADJUNCT$!", "[TENSE {past}]", "[PCASE {on}]", true, "[TENSE {past}]"},         // element side not '!'
      {"NP:^SUBJ=!,[!NUM=pl]", nullptr, "[NUM {sg}]", false, "[SUBJ [NUM {sg}]]"},
      {"NP:^SUBJ=!,~[^TENSE=past]", nullptr, "[NUM {sg}]", false, "[SUBJ [NUM {sg}]]"},  // negated, undecided
  };
  for (const auto& [annotation, up, down, ok, expected] : cases) {
    CProduction* mother = Waiting(annotation, up);
    CProduction* daughter = Completed(down);
    EXPECT_EQ(parser_.EvaluateAnnotations(mother, daughter), ok) << annotation;
    EXPECT_EQ(Up(mother), expected) << annotation;
    EXPECT_EQ(ShowFS(daughter->mother->fStructure->root), down) << "the daughter must not change";
  }
  // A condition on a mother path not built yet waits on the mother.
  CProduction* waiting = Waiting("NP:^SUBJ=!,[^TENSE=past]");
  ASSERT_TRUE(parser_.EvaluateAnnotations(waiting, Completed("[NUM {sg}]")));
  EXPECT_EQ(waiting->mother->fStructure->root->Constraints, (std::vector<WString>{u"[^TENSE=past]"}));
  // A mother without a structure gets a ROOT.
  CProduction* predicted = Waiting("NP:^SUBJ=!");
  ASSERT_TRUE(parser_.EvaluateAnnotations(predicted, Completed("[NUM {sg}]")));
  EXPECT_EQ(predicted->mother->fStructure->root->Attribute, static_cast<int16_t>(RootId));
  EXPECT_TRUE(parser_.EvaluateAnnotations(predicted, MakeProduction("NP", {"x"}))) << "a daughter without structure";
  EXPECT_FALSE(parser_.EvaluateAnnotations(nullptr, predicted));
  EXPECT_FALSE(parser_.EvaluateAnnotations(predicted, nullptr));
}

// The completed edge's structure is shared by every waiting edge it
// completes: each gets its own numbered copy as a set element.
TEST_F(ParserOps, SetMembershipAddsANumberedCopyOfTheDaughter) {
  CProduction* first = Waiting("PP:!$^ADJUNCT", "[TENSE {past}]");
  CProduction* daughter = Completed("[PCASE {with}]");
  parser_.setElementCounter = 1;
  ASSERT_TRUE(parser_.EvaluateAnnotations(first, daughter));
  CFSNode* adjunct = first->mother->fStructure->root->FindAttribute(Sym(u"ADJUNCT"));
  ASSERT_NE(adjunct, nullptr);
  CFSNode* element = adjunct->SetElements.at(0);
  EXPECT_EQ(GetSymbolName(static_cast<SymbolId>(element->Attribute)), u"ELEMENT2");
  EXPECT_EQ(element->Parent, adjunct);
  EXPECT_EQ(daughter->mother->fStructure->root->Attribute, -1) << "the shared structure keeps its attribute";
  CProduction* second = Waiting("PP:!$^ADJUNCT");
  ASSERT_TRUE(parser_.EvaluateAnnotations(second, daughter));
  CFSNode* other = second->mother->fStructure->root->FindAttribute(Sym(u"ADJUNCT"))->SetElements.at(0);
  EXPECT_EQ(GetSymbolName(static_cast<SymbolId>(other->Attribute)), u"ELEMENT3");
  other->Value.push_back(Sym(u"changed"));
  EXPECT_EQ(ShowFS(element), "[PCASE {with}]");
}

TEST_F(ParserOps, ValueSetsNarrowEmptyValuesAndRespectHashAttributes) {
  // attribute of the left node ("" for none), left node, values, success, left node after
  const std::tuple<const char*, const char*, std::vector<std::u16string>, bool, const char*> cases[] = {
      {"", "{}", {u"a", u"b"}, true, "{a b}"},
      {"", "{a b}", {u"c", u"b"}, true, "{b}"},
      {"", "{a}", {u"c"}, false, "{a}"},
      {"", "[X {a}]", {u"a"}, false, "[X {a}]"},
      {"#CASE", "{nom}", {u"nom"}, false, "{nom}"},  // a filled '#' attribute never narrows
      {"#CASE", "{}", {u"nom"}, true, "{nom}"},
      {"", "{a}", {}, false, "{a}"},
  };
  for (const auto& [attribute, left, names, ok, expected] : cases) {
    CFSNode* node = BuildFS(left);
    if (*attribute != 0) node->Attribute = static_cast<int16_t>(Sym(FromUtf8(attribute)));
    std::vector<SymbolId> values;
    for (const std::u16string& name : names) values.push_back(Sym(name));
    CFSNode* target = node;
    EXPECT_EQ(parser_.UnifySpecial(&target, nullptr, &values, false), ok) << left;
    EXPECT_EQ(ShowFS(node), expected) << left;
    EXPECT_EQ(target, node);
  }
}

TEST_F(ParserOps, StructuresMergeChildrenValuesAndSetElements) {
  const std::tuple<const char*, const char*, bool, const char*> cases[] = {
      {"{a b c}", "{c a}", true, "{a c}"},
      {"{a}", "{c}", false, "{a}"},
      {"{a}", "[B {y}]", true, "{a}[B {y}]"},
      {"[#CASE {nom acc}]", "[#CASE {acc}]", true, "[#CASE {acc}]"},
      {"[NUM {sg}]", "[NUM {pl}]", false, "[NUM {sg}]"},
      {"[SUBJ [NUM {sg}]]", "[SUBJ [PERS {3}]]", true, "[SUBJ [NUM {sg} PERS {3}]]"},
      {"[A {x}]", "[B {y} A {z}]", false, "[A {x} B {y}]"},  // changes before a clash stay
      {"[A {x}]", "[B {y}]<[C {z}]>", true, "[A {x} B {y}]<[C {z}]>"},
  };
  for (const auto& [leftText, rightText, ok, expected] : cases) {
    CFSNode* left = BuildFS(leftText);
    CFSNode* right = BuildFS(rightText);
    CFSNode* target = left;
    EXPECT_EQ(parser_.UnifySpecial(&target, right, nullptr, false), ok) << leftText << " + " << rightText;
    EXPECT_EQ(ShowFS(left), expected) << leftText << " + " << rightText;
    EXPECT_EQ(ShowFS(right), rightText) << "the right side must not change";
  }
}

TEST_F(ParserOps, CopiesAreDeepConstraintsFollowAndNullTargetsFail) {
  CFSNode* left = BuildFS("[NUM {sg}]");
  CFSNode* right = BuildFS("[SUBJ [PERS {3}]]");
  left->Constraints = {u"[^A=x]"};
  right->Constraints = {u"[^C=z]"};
  CFSNode* target = left;
  ASSERT_TRUE(parser_.UnifySpecial(&target, right, nullptr, false));
  CFSNode* copied = left->FindAttribute(Sym(u"SUBJ"));
  ASSERT_NE(copied, nullptr);
  EXPECT_EQ(copied->Parent, left);
  copied->ChildList[0]->Value = {Sym(u"1")};
  EXPECT_EQ(ShowFS(right), "[SUBJ [PERS {3}]]");
  EXPECT_EQ(left->Constraints, (std::vector<WString>{u"[^A=x]", u"[^C=z]"}));
  CFSNode* missing = nullptr;
  EXPECT_FALSE(parser_.UnifySpecial(&missing, right, nullptr, false));
  EXPECT_FALSE(parser_.UnifySpecial(nullptr, right, nullptr, false));
}

TEST_F(ParserOps, DistributingOverASetUnifiesACopyWithEveryElement) {
  const std::tuple<const char*, const char*, bool, const char*> cases[] = {
      {"[NUM {sg}]", "<[PERS {3}] [PERS {1}]>", true, "<[NUM {sg} PERS {3}] [NUM {sg} PERS {1}]>"},
      {"[A {x}]", "[B {y}]<[C {z}]>", true, "[B {y}]<[A {x} C {z}]>"},
      {"[NUM {sg}]", "<[NUM {sg}] [NUM {pl}]>", false, "[NUM {sg}]"},
      {"[A {x}]", "[B {y}]", true, "[A {x} B {y}]"},
  };
  for (const auto& [content, rightText, ok, expected] : cases) {
    CFSNode* parent = BuildFS("[SUBJ {}]");
    CFSNode* left = parent->ChildList[0];
    CFSNode* target = left;
    ASSERT_TRUE(parser_.UnifySpecial(&target, BuildFS(content), nullptr, false));
    left->IsLinkTarget = 1;
    const uint32_t id = left->NodeId;
    CFSNode* right = BuildFS(rightText);
    if (!right->SetElements.empty()) right->SetElements[0]->Constraints.push_back(u"[^X=y]");
    EXPECT_EQ(parser_.UnifySpecial(&target, right, nullptr, true), ok) << rightText;
    EXPECT_EQ(ShowFS(left), expected) << rightText;
    // The node keeps its place, identity and link; elements belong to it and
    // carry their own constraint texts, the node none.
    EXPECT_EQ(target, left);
    EXPECT_EQ(parent->FindAttribute(Sym(u"SUBJ")), left);
    EXPECT_EQ(parent->FindNodeById(id), left);
    EXPECT_EQ(left->IsLinkTarget, 1);
    EXPECT_TRUE(left->Constraints.empty());
    for (CFSNode* element : left->SetElements) EXPECT_EQ(element->Parent, left);
    if (ok && right->ChildList.empty()) {
      EXPECT_EQ(left->SetElements[0]->Constraints, (std::vector<WString>{u"[^X=y]"}));
    }
  }
}

TEST_F(ParserOps, ComparisonsOperatorsAndNesting) {
  CFSNode* up = BuildFS("[NUM {sg} PERS {3} CASE {nom acc} SUBJ [NUM {pl}] BLANK {}]");
  CFSNode* down = BuildFS("[NUM {sg} GEND {m} BLANK {}]");
  const std::pair<const char*, bool> cases[] = {
      {"[^NUM=sg]", true},
      {"[^NUM=pl]", false},
      {"[^NUM =c sg]", true},
      {"[^NUM=c pl]", false},
      {"[^SUBJ NUM=pl]", true},
      {"[^CASE={acc,dat}]", true},
      {"[^CASE={gen,dat}]", false},
      {"[^NUM=!NUM]", true},
      {"[^NUM=!MISSING]", false},
      {"[!GEND=^NUM]", false},
      {"[^BLANK=!BLANK]", true},
      {"[^TENSE=past]", false},
      {"[^NUM=sg]&[^PERS=1]", false},
      {"[^NUM=sg]&&[^PERS=3]", true},
      {"[^NUM=pl]|[^PERS=3]", true},
      {"[^NUM=pl]||[^PERS=1]", false},
      {"~[^NUM=pl]", true},
      {"~[^NUM=sg]", false},
      {"", false},
      {"[[^NUM=sg]|[^NUM=pl]]&[^PERS=3]", true},
      {"[[^NUM=pl]|[^PERS=1]]&[^PERS=3]", false},
      {"[~[^NUM=pl]]&[!GEND=m]", true},
  };
  for (const auto& [text, ok] : cases) EXPECT_EQ(parser_.EvaluateCondition(FromUtf8(text), up, down), ok) << text;
  EXPECT_FALSE(parser_.EvaluateCondition(u"[!GEND=m]", nullptr, down));
  EXPECT_TRUE(parser_.EvaluateCondition(u"[^NUM=sg]", up, nullptr));
}

// -1: the mother path is not built yet, so the condition waits.
TEST_F(ParserOps, PartialEvaluationDefersComparisonsWithMissingMotherPaths) {
  CFSNode* up = BuildFS("[NUM {sg}]");
  CFSNode* down = BuildFS("[GEND {m}]");
  const std::pair<const char*, int> cases[] = {
      {"[^NUM=sg]", 1},
      {"[^NUM=pl]", 0},
      {"[^TENSE=past]", -1},
      {"[^TENSE=past]&[^NUM=sg]", -1},
      {"[^TENSE=past]&[^NUM=pl]", 0},
      {"[^TENSE=past]|[^NUM=pl]", -1},
      {"[!TENSE=past]", 0},
      {"[^TENSE=!GEND]", -1},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(parser_.EvaluateConditionPartial(FromUtf8(text), up, down), expected) << text;
  }
  EXPECT_EQ(parser_.EvaluateConditionPartial(u"[^NUM=sg]", nullptr, down), 0);
  EXPECT_EQ(parser_.CompareConditionOperands(up, up, u"^NUM", u"  "), 0) << "a blank operand";
  EXPECT_EQ(parser_.CompareConditionOperands(up, up, u"NUM", u"sg"), 0) << "no '^' or '!'";
}

TEST_F(ParserOps, GovernableFunctionsMustMatchThePredicateFrame) {
  EXPECT_TRUE(parser_.CheckCompletenessCoherence(BuildFS("[NUM {sg} SUBJ [NUM {sg}]]"))) << "nothing governed";
  for (const char16_t* name : {u"SUBJ", u"OBJ", u"OBJ2", u"XCOMP"}) parser_.governableFunctions.push_back(Sym(name));
  const std::pair<const char*, bool> cases[] = {
      {"[OBJ [NUM {pl}] SUBJ [NUM {sg}] PRED [GF {SUBJ OBJ}] TENSE {past}]", true},
      {"[PRED [GF {SUBJ OBJ}] SUBJ [NUM {sg}]]", false},              // incomplete
      {"[PRED [GF {SUBJ}] SUBJ [NUM {sg}] OBJ2 [NUM {sg}]]", false},  // incoherent
      {"[OBJ [NUM {sg}] NUM {sg}]", false},                           // function without a predicate
      {"[PRED [GF {SUBJ XCOMP}] SUBJ [NUM {sg}] XCOMP [PRED [GF {SUBJ OBJ}] SUBJ {}]]", false},
      {"[NUM {sg}]<[OBJ [NUM {sg}]]>", true},  // set elements are not visited
  };
  for (const auto& [fs, ok] : cases) EXPECT_EQ(parser_.CheckCompletenessCoherence(BuildFS(fs)), ok) << fs;
  EXPECT_TRUE(parser_.CheckCompletenessCoherence(nullptr));
}

}  // namespace

TEST_F(ParserOps, SetsUnifyElementByElementIntoTheLeftNode) {
  const std::tuple<const char*, const char*, bool, const char*> cases[] = {
      {"<[NUM {sg}] [NUM {pl}]>", "<[PERS {3}] [PERS {1}]>", true, "<[NUM {sg} PERS {3}] [NUM {pl} PERS {1}]>"},
      {"<[A {x}]>", "<[A {x}] [B {y}]>", false, "<[A {x}]>"},        // sizes differ
      {"<[NUM {sg}]>", "<[NUM {pl}]>", false, "<[NUM {sg}]>"},       // an element clashes
      {"[A {x}]<[B {y}]>", "<[B {y}]>", false, "[A {x}]<[B {y}]>"},  // the left node has children
  };
  for (const auto& [leftText, rightText, ok, expected] : cases) {
    CFSNode* left = BuildFS(leftText);
    CFSNode* right = BuildFS(rightText);
    CFSNode* target = left;
    messages_.clear();
    EXPECT_EQ(parser_.UnifySets(&target, right), ok) << leftText << " + " << rightText;
    EXPECT_EQ(messages_.messages().empty(), ok) << "a failure is reported, a success is silent";
    EXPECT_EQ(ShowFS(target), expected) << leftText << " + " << rightText;
    EXPECT_EQ(ShowFS(right), rightText) << "the right side must not change";
  }
}

TEST_F(ParserOps, CopiedChildrenAreDeepAndBelongToTheirNewParent) {
  CFSNode* from = BuildFS("[SUBJ [NUM {sg}] TENSE {past}]");
  CFSNode* to = BuildFS("[MOOD {decl}]");
  parser_.CopyChildren(to, from);
  EXPECT_EQ(ShowFS(to), "[MOOD {decl} SUBJ [NUM {sg}] TENSE {past}]");
  for (const CFSNode* child : to->ChildList) EXPECT_EQ(child->Parent, to);
  to->ChildList[1]->ChildList[0]->Value = {Sym(u"pl")};
  EXPECT_EQ(ShowFS(from), "[SUBJ [NUM {sg}] TENSE {past}]");
  parser_.CopyChildren(nullptr, from);
  parser_.CopyChildren(to, nullptr);
}
