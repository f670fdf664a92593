#include <gtest/gtest.h>

#include "core/equation.h"
#include "core/fs_handle.h"
#include "core/fs_node.h"
#include "core/symbol_table.h"

namespace {

SymbolId Sym(const char16_t* name) { return GetSymbolId(name, true); }

class FSNodeTest : public ::testing::Test {
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
    for (CEquation* equation : equations_) delete equation;
  }

  // A new child of parent with the attribute and values.
  CFSNode* Add(CFSNode* parent, const char16_t* attribute, std::vector<SymbolId> values = {}) {
    auto* node = new CFSNode(static_cast<int16_t>(Sym(attribute)), nullptr);
    node->Value = std::move(values);
    parent->AddChild(node);
    return node;
  }

  // An equation (^ left) = values, kept until the test ends.
  CEquation* Equation(std::vector<SymbolId> left, std::vector<SymbolId> values) {
    auto* equation = new CEquation();
    equation->left = new CEquationOperand();
    equation->left->kind = '^';
    equation->left->path = std::move(left);
    equation->right = new CEquationOperand();
    equation->right->kind = 'v';
    equation->right->path = std::move(values);
    equation->op = u'=';
    equations_.push_back(equation);
    return equation;
  }

 private:
  std::vector<CEquation*> equations_;
};

TEST_F(FSNodeTest, FindPathMatchesElementStepsSkipsMarkedChildrenAndNeverBacktracks) {
  auto* root = new CFSNode();
  CFSNode* marked = Add(root, u"SUBJ");
  marked->Mark = 1;
  CFSNode* unmarked = Add(root, u"SUBJ");
  CFSNode* first = Add(root, u"ELEMENT1");
  CFSNode* second = Add(root, u"ELEMENT2");
  Add(marked, u"NUM");
  struct Case {
    std::vector<SymbolId> path;
    bool allowMarked;
    CFSNode* found;
  } cases[] = {
      {{ElementId}, false, first},  // numbered set members match the reserved step
      {{Sym(u"ELEMENT2")}, false, second},
      {{Sym(u"SUBJ")}, true, marked},
      {{Sym(u"SUBJ")}, false, unmarked},
      {{Sym(u"SUBJ"), Sym(u"NUM")}, false, nullptr},  // the unmarked SUBJ has no NUM
      {{}, false, root},
  };
  for (const Case& c : cases) EXPECT_EQ(root->FindPath(&c.path, c.allowMarked), c.found);
  EXPECT_EQ(root->FindPath(nullptr, true), nullptr);
  EXPECT_EQ(root->FindAttribute(Sym(u"SUBJ")), marked);
  unmarked->Mark = 1;
  const std::vector<SymbolId> subj{Sym(u"SUBJ")};
  EXPECT_EQ(root->FindPath(&subj, false), nullptr);
}

TEST_F(FSNodeTest, FindOrCreatePathCreatesTheMissingTailThenFindsIt) {
  auto* root = new CFSNode();
  const std::vector<SymbolId> path{Sym(u"XCOMP"), Sym(u"SUBJ"), Sym(u"NUM")};
  const size_t before = CFSNode::RegisteredCount();
  bool created = false;
  CFSNode* made = root->FindOrCreatePath(&path, created);
  ASSERT_NE(made, nullptr);
  EXPECT_TRUE(created);
  EXPECT_EQ(CFSNode::RegisteredCount(), before + 3);
  EXPECT_EQ(root->FindPath(&path, false), made);

  EXPECT_EQ(root->FindOrCreatePath(&path, created), made);
  EXPECT_FALSE(created);
  EXPECT_EQ(CFSNode::RegisteredCount(), before + 3);

  const std::vector<SymbolId> partlyThere{Sym(u"XCOMP"), Sym(u"OBJ")};
  CFSNode* obj = root->FindOrCreatePath(&partlyThere, created);
  EXPECT_TRUE(created);
  EXPECT_EQ(obj->Parent, root->ChildList[0]);
  EXPECT_EQ(root->FindOrCreatePath(nullptr, created), nullptr);
  EXPECT_FALSE(created);
}

TEST_F(FSNodeTest, FindOrCreatePathStepsThroughLinkedIdsAndForwards) {
  auto* root = new CFSNode();
  CFSNode* shared = Add(root, u"SUBJ");
  CFSNode* standIn = Add(root, u"TOPIC");
  standIn->LinkedId = shared->NodeId;
  CFSNode* forwarded = Add(root, u"OBJ");
  CFSNode* target = Add(root, u"OBJ2");
  forwarded->Forward = target;

  bool created = false;
  const std::vector<SymbolId> viaLink{Sym(u"TOPIC"), Sym(u"NUM")};
  CFSNode* num = root->FindOrCreatePath(&viaLink, created);
  EXPECT_TRUE(created);
  EXPECT_EQ(num->Parent, shared);
  EXPECT_TRUE(standIn->ChildList.empty());

  const std::vector<SymbolId> viaForward{Sym(u"OBJ"), Sym(u"CASE")};
  EXPECT_EQ(root->FindOrCreatePath(&viaForward, created)->Parent, target);

  standIn->LinkedId = 9999;  // no such node
  EXPECT_EQ(root->FindOrCreatePath(&viaLink, created), nullptr);
  EXPECT_FALSE(created);
}

TEST_F(FSNodeTest, FindNodeByIdComparesFullIdsAcrossChildrenAndSetElements) {
  auto* root = new CFSNode();
  CFSNode* low = Add(root, u"SUBJ");
  low->NodeId = 70000 & 0xFFFF;  // what a 16-bit comparison would confuse
  auto* member = new CFSNode(static_cast<int16_t>(Sym(u"ELEMENT1")), low);
  member->NodeId = 70000;
  low->AddSetElement(member);
  CFSNode* deep = Add(member, u"NUM");

  EXPECT_EQ(deep->FindNodeById(70000), member);
  EXPECT_EQ(member->FindNodeById(70000 & 0xFFFF), low);
  EXPECT_EQ(low->FindNodeById(70000 & 0xFFFF), low);
  EXPECT_EQ(low->FindNodeById(root->NodeId), root);
  EXPECT_EQ(low->FindNodeById(123456), nullptr);
}

TEST_F(FSNodeTest, CloneCopiesTheTreeKeepingIdsAndParentLinks) {
  auto* outer = new CFSNode();
  CFSNode* source = Add(outer, u"SUBJ", {Sym(u"a")});
  source->Constraints = {u"(^ NUM) =c SG"};
  source->Mark = 1;
  source->GenerationMark = 1;
  source->LinkedId = 5;
  CFSNode* child = Add(source, u"NUM", {Sym(u"SG")});
  auto* element = new CFSNode(static_cast<int16_t>(Sym(u"ELEMENT1")), outer);
  source->AddSetElement(element);
  source->SetElements.push_back(nullptr);
  source->AddLink(outer);

  CFSNode* copy = source->Clone();
  EXPECT_TRUE(copy->Equals(source));
  EXPECT_EQ(copy->NodeId, source->NodeId);
  EXPECT_EQ(copy->Mark + copy->GenerationMark + copy->HasLinks, 3);
  EXPECT_EQ(copy->LinkedId, 5u);
  EXPECT_EQ(copy->Parent, outer);
  ASSERT_EQ(copy->ChildList.size(), 1u);
  EXPECT_NE(copy->ChildList[0], child);
  EXPECT_EQ(copy->ChildList[0]->NodeId, child->NodeId);
  EXPECT_EQ(copy->ChildList[0]->Parent, copy);
  ASSERT_EQ(copy->SetElements.size(), 1u);  // the null entry is not copied
  EXPECT_EQ(copy->SetElements[0]->Parent, outer);
  EXPECT_TRUE(copy->Links.empty());
}

TEST_F(FSNodeTest, CloneFollowsForwardChainsAndStopsOnEveryCycle) {
  auto forwarding = [](CFSNode* from, CFSNode* to) {
    from->Forward = to;
    from->IsForwarded = 1;
  };
  auto* end = new CFSNode(static_cast<int16_t>(Sym(u"OBJ")), nullptr);
  auto* middle = new CFSNode();
  auto* source = new CFSNode();
  forwarding(source, middle);
  forwarding(middle, end);
  CFSNode* copy = source->Clone();
  ASSERT_NE(copy->Forward, nullptr);
  EXPECT_NE(copy->Forward, end);
  EXPECT_EQ(copy->Forward->NodeId, end->NodeId);

  source->IsForwarded = 0;  // an unflagged forward is not followed
  EXPECT_EQ(source->Clone()->Forward, nullptr);
  source->IsForwarded = 1;

  forwarding(end, end);  // chain ends in a self-loop
  EXPECT_EQ(source->Clone()->Forward, nullptr);
  forwarding(end, middle);  // a cycle of two that does not include the source
  EXPECT_EQ(source->Clone()->Forward, nullptr);
  forwarding(middle, source);  // back to the source
  EXPECT_EQ(source->Clone()->Forward, nullptr);

  // A child forwarded to its own root: the root's copy is in the making.
  auto* root = new CFSNode();
  CFSNode* child = Add(root, u"SUBJ");
  forwarding(child, root);
  CFSNode* rootCopy = root->Clone();
  ASSERT_EQ(rootCopy->ChildList.size(), 1u);
  EXPECT_EQ(rootCopy->ChildList[0]->Forward, nullptr);
  EXPECT_EQ(rootCopy->ChildList[0]->IsForwarded, 1);
}

TEST_F(FSNodeTest, EqualsComparesStructureValuesAndConstraints) {
  struct Case {
    const char* name;
    const char16_t* attributeA;
    std::vector<const char16_t*> valuesA;
    const char16_t* attributeB;
    std::vector<const char16_t*> valuesB;
    bool equal;
  } cases[] = {
      {"same values in another order", u"NUM", {u"SG", u"PL"}, u"NUM", {u"PL", u"SG"}, true},
      {"different attributes", u"NUM", {u"SG"}, u"PERS", {u"SG"}, false},
      {"different values", u"NUM", {u"SG"}, u"NUM", {u"PL"}, false},
      {"different counts", u"NUM", {u"SG"}, u"NUM", {u"SG", u"SG"}, false},
      {"underscore, same count", u"_VALUE", {u"SG"}, u"_VALUE", {u"PL"}, true},
      {"underscore, other count", u"_VALUE", {u"SG"}, u"_VALUE", {u"SG", u"PL"}, false},
  };
  for (const Case& c : cases) {
    auto make = [](const char16_t* attribute, const std::vector<const char16_t*>& names) {
      auto* node = new CFSNode(static_cast<int16_t>(Sym(attribute)), nullptr);
      for (const char16_t* name : names) node->Value.push_back(Sym(name));
      return node;
    };
    EXPECT_EQ(make(c.attributeA, c.valuesA)->Equals(make(c.attributeB, c.valuesB)), c.equal) << c.name;
  }
}

TEST_F(FSNodeTest, EqualsMatchesChildrenByAttributeAndComparesConstraintTexts) {
  auto* a = new CFSNode();
  Add(a, u"SUBJ", {Sym(u"x")});
  Add(a, u"OBJ");
  auto* b = new CFSNode();
  Add(b, u"OBJ");
  CFSNode* subj = Add(b, u"SUBJ", {Sym(u"x")});
  EXPECT_TRUE(a->Equals(b));
  EXPECT_FALSE(a->Equals(nullptr));

  subj->Value = {Sym(u"y")};
  EXPECT_FALSE(a->Equals(b));
  subj->Value = {Sym(u"x")};

  a->Constraints = {u"(^ CASE) =c NOM"};
  b->Constraints = {u"(^ CASE) =c ACC"};
  EXPECT_FALSE(a->Equals(b));
  b->Constraints = a->Constraints;
  EXPECT_TRUE(a->Equals(b));

  Add(b, u"ADJUNCT");
  EXPECT_FALSE(a->Equals(b));
  Add(a, u"XCOMP");
  EXPECT_FALSE(a->Equals(b));  // same count, but no ADJUNCT in a
}

TEST_F(FSNodeTest, ResolveLinksForwardsCompatibleNodesAndStopsAtAClash) {
  auto* node = new CFSNode();
  node->HasLinks = 1;
  EXPECT_TRUE(node->ResolveLinks());
  EXPECT_EQ(node->HasLinks, 0);

  node->Value = {Sym(u"SG")};
  auto* fits = new CFSNode();
  fits->Value = {Sym(u"SG"), Sym(u"PL")};
  fits->AddLink(node);
  auto* unvalued = new CFSNode();
  node->AddLink(fits);
  node->AddLink(unvalued);
  EXPECT_TRUE(node->ResolveLinks());
  EXPECT_TRUE(node->Links.empty());
  EXPECT_EQ(node->HasLinks, 1);
  EXPECT_TRUE(fits->Value.empty());
  EXPECT_EQ(fits->Forward, node);
  EXPECT_TRUE(fits->Links.empty());  // it forgot the node
  EXPECT_EQ(unvalued->Forward, node);

  auto* empty = new CFSNode();
  auto* valued = new CFSNode();
  valued->Value = {Sym(u"a")};
  empty->AddLink(valued);
  EXPECT_FALSE(empty->ResolveLinks());
  EXPECT_EQ(empty->Links.size(), 1u);
  EXPECT_EQ(valued->Value.size(), 1u);

  auto* self = new CFSNode();
  self->AddLink(self);
  EXPECT_TRUE(self->ResolveLinks());  // no use of a changed list
}

TEST_F(FSNodeTest, ApplyPredFramesAddsTheFrameOfEachPred) {
  auto* root = new CFSNode();
  Add(root, u"TENSE", {Sym(u"PAST"), Sym(u"PRES")});
  CFSNode* pred = Add(root, u"PRED");
  Add(pred, u"VALUE", {Sym(u"'give'")});
  Add(pred, u"GF", {Sym(u"SUBJ"), Sym(u"OBJ")});
  root->ChildList.shrink_to_fit();  // the frame's new children must reallocate

  PredFrameMap frames;
  frames[u"give<SUBJ,OBJ>"] = {Equation({Sym(u"SUBJ"), Sym(u"CASE")}, {Sym(u"ERG")}),
                               Equation({Sym(u"TENSE")}, {Sym(u"PAST")}),
                               Equation({Sym(u"OBJ"), Sym(u"CASE")}, {Sym(u"NOM")}),
                               Equation({Sym(u"ASPECT")}, {Sym(u"PERF")})};
  EXPECT_TRUE(root->ApplyPredFrames(frames));
  const std::vector<SymbolId> subjCase{Sym(u"SUBJ"), Sym(u"CASE")};
  ASSERT_NE(root->FindPath(&subjCase, true), nullptr);
  EXPECT_EQ(root->FindPath(&subjCase, true)->Value, std::vector<SymbolId>{Sym(u"ERG")});
  EXPECT_EQ(root->FindAttribute(Sym(u"TENSE"))->Value, std::vector<SymbolId>{Sym(u"PAST")});
  EXPECT_EQ(root->FindAttribute(Sym(u"ASPECT"))->Value, std::vector<SymbolId>{Sym(u"PERF")});

  // Without a GF child the key is the bare lexeme.
  auto* other = new CFSNode();
  CFSNode* goPred = Add(other, u"PRED");
  Add(goPred, u"VALUE", {Sym(u"'go'")});
  frames[u"go"] = {Equation({Sym(u"VTYPE")}, {Sym(u"UNACC")})};
  EXPECT_TRUE(other->ApplyPredFrames(frames));
  EXPECT_NE(other->FindAttribute(Sym(u"VTYPE")), nullptr);
}

TEST_F(FSNodeTest, ApplyPredFramesReportsClashesBelowTheRootAndGoesOn) {
  auto* root = new CFSNode();
  CFSNode* xcomp = Add(root, u"XCOMP");
  Add(xcomp, u"TENSE", {Sym(u"PRES")});
  Add(Add(xcomp, u"PRED"), u"VALUE", {Sym(u"'go'")});
  CFSNode* obj = Add(root, u"OBJ");
  Add(Add(obj, u"PRED"), u"VALUE", {Sym(u"'book'")});

  PredFrameMap frames;
  frames[u"go"] = {Equation({Sym(u"TENSE")}, {Sym(u"PAST")})};
  frames[u"book"] = {Equation({Sym(u"GEND")}, {Sym(u"FEM")})};
  EXPECT_FALSE(root->ApplyPredFrames(frames));
  EXPECT_NE(obj->FindAttribute(Sym(u"GEND")), nullptr);  // later siblings still get frames

  auto* noValue = new CFSNode();
  EXPECT_FALSE(Add(noValue, u"PRED")->ApplyPredFrames(frames));
}

TEST_F(FSNodeTest, ApplyPredFramesSkipsPredsWithoutAUsableKeyOrParent) {
  PredFrameMap frames;
  frames[u""] = {Equation({Sym(u"BAD")}, {Sym(u"x")})};
  frames[u"go"] = {Equation({Sym(u"BAD")}, {Sym(u"x")})};
  struct Case {
    const char* name;
    std::vector<SymbolId> value;
    bool withGf;
  } cases[] = {
      {"empty VALUE", {}, false},
      {"one-unit key", {Sym(u"'")}, false},
      {"empty VALUE with GF", {}, true},
      {"blank VALUE with GF", {Sym(u" ")}, true},
  };
  for (const Case& c : cases) {
    auto* root = new CFSNode();
    CFSNode* pred = Add(root, u"PRED");
    Add(pred, u"VALUE", c.value);
    if (c.withGf) Add(pred, u"GF", {Sym(u"SUBJ")});
    EXPECT_TRUE(root->ApplyPredFrames(frames)) << c.name;
    EXPECT_EQ(root->FindAttribute(Sym(u"BAD")), nullptr) << c.name;
  }
  auto* orphan = new CFSNode(static_cast<int16_t>(PredId), nullptr);
  Add(orphan, u"VALUE", {Sym(u"'go'")});
  EXPECT_TRUE(orphan->ApplyPredFrames(frames));
  EXPECT_EQ(orphan->FindAttribute(Sym(u"BAD")), nullptr);
}

TEST_F(FSNodeTest, AddChildCanAppendToTheChildsExistingParent) {
  auto* first = new CFSNode();
  auto* second = new CFSNode();
  auto* child = new CFSNode(static_cast<int16_t>(Sym(u"SUBJ")), first);
  second->AddChild(child, true);
  EXPECT_EQ(first->ChildList, std::vector<CFSNode*>{child});
  EXPECT_TRUE(second->ChildList.empty());
}

TEST_F(FSNodeTest, RegistryFreesEverythingOnceAndForgetsNodesDeletedAlone) {
  EXPECT_EQ(CFSNode::RegisteredCount(), 0u);
  std::vector<CFSNode*> nodes;
  for (int i = 0; i < 6; ++i) nodes.push_back(new CFSNode());
  EXPECT_EQ(nodes.front()->NodeId, 1u);
  EXPECT_EQ(nodes.back()->NodeId, 6u);
  EXPECT_EQ(CFSNode::RegisteredCount(), 6u);

  *nodes[4] = *nodes[1];  // assignment keeps each node's own registry slot
  delete nodes[1];        // from the middle
  delete nodes[5];        // the last one
  delete nodes[0];
  EXPECT_EQ(CFSNode::RegisteredCount(), 3u);
  delete nodes[4];
  EXPECT_EQ(CFSNode::RegisteredCount(), 2u);

  CFSNode::DeleteAll();  // the sanitizer build catches a double free here
  EXPECT_EQ(CFSNode::RegisteredCount(), 0u);
}

}  // namespace
