// F-structure nodes and the handles that hold them.
#include <gtest/gtest.h>

#include "core/equation.h"
#include "core/fs_handle.h"
#include "core/fs_node.h"
#include "core/symbol_table.h"
#include "support/test_support.h"

namespace {

SymbolId Sym(const char16_t* name) { return GetSymbolId(name, true); }
using Path = std::vector<SymbolId>;
using Nodes = std::vector<CFSNode*>;

// Every test starts and ends with empty node and handle registries.
class FSTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TearDown();
    CFSNode::ResetIdCounter();
    RegisterReservedSymbols();
  }
  void TearDown() override {
    CFSHandle::DeleteAll();
    CFSNode::DeleteAll();
  }
  // A new node with the attribute and values, the parent's last child when there is a parent.
  static CFSNode* Add(CFSNode* parent, const char16_t* attribute, Path values = {}) {
    auto* node = new CFSNode(static_cast<int16_t>(Sym(attribute)), nullptr);
    node->Value = std::move(values);
    if (parent) parent->AddChild(node);
    return node;
  }
  // A node PRED under the parent with the VALUE child.
  static CFSNode* AddPred(CFSNode* parent, Path value) {
    CFSNode* pred = Add(parent, u"PRED");
    Add(pred, u"VALUE", std::move(value));
    return pred;
  }
  // The equation (^ left) = value, kept until the test ends.
  CEquation* Equation(Path left, SymbolId value) {
    return equations_.emplace_back(MakeEquation('^', std::move(left), u'=', 'v', {value})).get();
  }
  std::vector<std::unique_ptr<CEquation>> equations_;
};

TEST_F(FSTest, FindPathSkipsMarkedChildrenWithoutBacktrackingAndFindOrCreatePathMakesTheTail) {
  auto* root = new CFSNode();
  CFSNode* marked = Add(root, u"SUBJ");
  marked->Mark = 1;
  CFSNode* unmarked = Add(root, u"SUBJ");
  CFSNode* first = Add(root, u"ELEMENT1");
  Add(marked, u"NUM");
  const Path element{ElementId}, subj{Sym(u"SUBJ")}, subjNum{Sym(u"SUBJ"), Sym(u"NUM")};
  EXPECT_EQ(root->FindPath(&element, false), first);  // numbered set members match the reserved step
  EXPECT_EQ(root->FindPath(&subj, true), marked);
  EXPECT_EQ(root->FindPath(&subj, false), unmarked);
  EXPECT_EQ(root->FindPath(&subjNum, false), nullptr);  // the unmarked SUBJ has no NUM
  EXPECT_EQ(root->FindPath(nullptr, true), nullptr);

  const Path path{Sym(u"XCOMP"), Sym(u"SUBJ"), Sym(u"NUM")};
  bool created = false;
  CFSNode* made = root->FindOrCreatePath(&path, created);
  EXPECT_TRUE(created);
  EXPECT_EQ(root->FindOrCreatePath(&path, created), made);
  EXPECT_FALSE(created);
  EXPECT_EQ(CFSNode::RegisteredCount(), 8u);  // the four above and the three made
  EXPECT_EQ(root->FindOrCreatePath(nullptr, created), nullptr);
}

TEST_F(FSTest, PathsStepThroughLinksAndForwardsAndIdsCompareInFull) {
  auto* root = new CFSNode();
  bool created = false;
  CFSNode* shared = Add(root, u"SUBJ");
  CFSNode* standIn = Add(root, u"TOPIC");
  standIn->LinkedId = shared->NodeId;
  CFSNode* target = Add(root, u"OBJ2");
  Add(root, u"OBJ")->Forward = target;
  const Path viaLink{Sym(u"TOPIC"), Sym(u"NUM")}, viaForward{Sym(u"OBJ"), Sym(u"CASE")};
  EXPECT_EQ(root->FindOrCreatePath(&viaLink, created)->Parent, shared);
  EXPECT_EQ(root->FindOrCreatePath(&viaForward, created)->Parent, target);
  standIn->LinkedId = 9999;  // no such node
  EXPECT_EQ(root->FindOrCreatePath(&viaLink, created), nullptr);
  EXPECT_FALSE(created);

  CFSNode* low = Add(root, u"XCOMP");
  low->NodeId = 70000 & 0xFFFF;  // what a 16-bit comparison would confuse
  auto* member = new CFSNode(1, low);
  member->NodeId = 70000;
  low->AddSetElement(member);
  EXPECT_EQ(Add(member, u"NUM")->FindNodeById(70000), member);
  EXPECT_EQ(member->FindNodeById(70000 & 0xFFFF), low);
  EXPECT_EQ(low->FindNodeById(root->NodeId), root);
  EXPECT_EQ(low->FindNodeById(123456), nullptr);
}

TEST_F(FSTest, CloneCopiesTheTreeKeepingIdsAndParentLinks) {
  auto* outer = new CFSNode();
  CFSNode* source = Add(outer, u"SUBJ", {Sym(u"a")});
  source->Constraints = {u"(^ NUM) =c SG"};
  source->Mark = source->GenerationMark = 1;
  source->LinkedId = 5;
  Add(source, u"NUM", {Sym(u"SG")});
  source->SetElements = {new CFSNode(1, outer), nullptr};
  source->AddLink(outer);
  CFSNode* copy = source->Clone();
  EXPECT_TRUE(copy->Equals(source));
  EXPECT_EQ(copy->NodeId, source->NodeId);
  EXPECT_EQ(copy->Mark + copy->GenerationMark + copy->HasLinks, 3);
  EXPECT_EQ(copy->LinkedId, 5u);
  EXPECT_EQ(copy->Parent, outer);
  EXPECT_EQ(copy->ChildList.at(0)->Parent, copy);
  ASSERT_EQ(copy->SetElements.size(), 1u);  // the null entry is not copied
  EXPECT_EQ(copy->SetElements[0]->Parent, outer);
}

TEST_F(FSTest, CloneFollowsForwardChainsAndStopsOnEveryCycle) {
  auto forward = [](CFSNode* from, CFSNode* to) {
    from->Forward = to;
    from->IsForwarded = 1;
  };
  auto *end = Add(nullptr, u"OBJ"), *middle = new CFSNode(), *source = new CFSNode();
  forward(source, middle);
  forward(middle, end);
  CFSNode* copy = source->Clone();
  ASSERT_NE(copy->Forward, nullptr);
  EXPECT_NE(copy->Forward, end);  // a copy of the chain's end
  EXPECT_EQ(copy->Forward->NodeId, end->NodeId);
  source->IsForwarded = 0;  // an unflagged forward is not followed
  EXPECT_EQ(source->Clone()->Forward, nullptr);
  source->IsForwarded = 1;
  const std::pair<CFSNode*, CFSNode*> cycles[] = {{end, end}, {end, middle}, {middle, source}};
  for (auto [from, to] : cycles) {
    forward(from, to);
    EXPECT_EQ(source->Clone()->Forward, nullptr);
  }
  auto* root = new CFSNode();  // a child forwarded to its root, whose copy is in the making
  forward(Add(root, u"SUBJ"), root);
  EXPECT_EQ(root->Clone()->ChildList.at(0)->Forward, nullptr);
}

TEST_F(FSTest, EqualsComparesAttributesValueSetsChildrenAndConstraints) {
  const SymbolId sg = Sym(u"SG"), pl = Sym(u"PL");
  EXPECT_TRUE(Add(nullptr, u"NUM", {sg, pl})->Equals(Add(nullptr, u"NUM", {pl, sg})));
  EXPECT_FALSE(Add(nullptr, u"NUM", {sg})->Equals(Add(nullptr, u"PERS", {sg})));
  EXPECT_FALSE(Add(nullptr, u"NUM", {sg})->Equals(Add(nullptr, u"NUM", {sg, sg})));
  EXPECT_TRUE(Add(nullptr, u"_VALUE", {sg})->Equals(Add(nullptr, u"_VALUE", {pl})));  // underscore: counts only
  auto *a = new CFSNode(), *b = new CFSNode();
  Add(a, u"SUBJ", {sg});
  Add(a, u"OBJ");
  Add(b, u"OBJ");
  CFSNode* subj = Add(b, u"SUBJ", {sg});
  EXPECT_TRUE(a->Equals(b));  // children are matched by attribute
  a->Constraints = {u"(^ CASE) =c NOM"};
  EXPECT_FALSE(a->Equals(b));
  b->Constraints = a->Constraints;
  subj->Value = {pl};  // a child's value differs
  EXPECT_FALSE(a->Equals(b));
}

TEST_F(FSTest, ResolveLinksForwardsCompatibleNodesAndStopsAtAClash) {
  auto *node = Add(nullptr, u"NUM", {Sym(u"SG")}), *fits = Add(nullptr, u"NUM", {Sym(u"SG"), Sym(u"PL")});
  auto* unvalued = new CFSNode();
  fits->AddLink(node);
  node->AddLink(fits);
  node->AddLink(unvalued);
  EXPECT_TRUE(node->ResolveLinks());
  EXPECT_TRUE(fits->Value.empty());
  EXPECT_EQ(fits->Forward, node);
  EXPECT_TRUE(fits->Links.empty());  // it forgot the node
  EXPECT_EQ(unvalued->Forward, node);
  auto *empty = new CFSNode(), *valued = Add(nullptr, u"NUM", {Sym(u"a")});
  empty->AddLink(valued);
  EXPECT_FALSE(empty->ResolveLinks());
  auto* self = new CFSNode();
  self->AddLink(self);
  EXPECT_TRUE(self->ResolveLinks());  // no use of a changed list
}

TEST_F(FSTest, ApplyPredFramesAddsEachPredsFrameReportsClashesAndSkipsUnusableKeys) {
  SCOPED_TRACE("a frame keyed by the lexeme and its GF list");
  PredFrameMap frames;
  frames[u"give<SUBJ,OBJ>"] = {Equation({Sym(u"SUBJ"), Sym(u"CASE")}, Sym(u"ERG")),
                               Equation({Sym(u"TENSE")}, Sym(u"PAST"))};
  frames[u"go"] = {Equation({Sym(u"TENSE")}, Sym(u"PAST"))};
  frames[u"book"] = {Equation({Sym(u"GEND")}, Sym(u"FEM"))};
  frames[u""] = frames[u"come"] = {Equation({Sym(u"BAD")}, Sym(u"x"))};
  auto* root = new CFSNode();
  Add(root, u"TENSE", {Sym(u"PAST"), Sym(u"PRES")});
  Add(AddPred(root, {Sym(u"'give'")}), u"GF", {Sym(u"SUBJ"), Sym(u"OBJ")});
  root->ChildList.shrink_to_fit();  // the frame's new children must reallocate
  EXPECT_TRUE(root->ApplyPredFrames(frames));
  const Path subjCase{Sym(u"SUBJ"), Sym(u"CASE")};
  ASSERT_NE(root->FindPath(&subjCase, true), nullptr);
  EXPECT_EQ(root->FindPath(&subjCase, true)->Value, Path{Sym(u"ERG")});
  EXPECT_EQ(root->FindAttribute(Sym(u"TENSE"))->Value, Path{Sym(u"PAST")});

  SCOPED_TRACE("a bare lexeme below the root; a clash reported");
  // Without a GF the key is the bare lexeme; a clash below the root is
  // reported, and later siblings still get their frames.
  root = new CFSNode();
  CFSNode* xcomp = Add(root, u"XCOMP");
  Add(xcomp, u"TENSE", {Sym(u"PRES")});
  AddPred(xcomp, {Sym(u"'go'")});
  CFSNode* obj = Add(root, u"OBJ");
  AddPred(obj, {Sym(u"'book'")});
  EXPECT_FALSE(root->ApplyPredFrames(frames));
  EXPECT_NE(obj->FindAttribute(Sym(u"GEND")), nullptr);

  SCOPED_TRACE("unusable keys");
  const std::pair<Path, bool> unusable[] = {{{}, false}, {{Sym(u"'")}, false}, {{}, true}, {{Sym(u" ")}, true}};
  for (const auto& [value, withGf] : unusable) {  // empty, one-unit and blank keys
    root = new CFSNode();
    CFSNode* pred = AddPred(root, value);
    if (withGf) Add(pred, u"GF", {Sym(u"SUBJ")});
    EXPECT_TRUE(root->ApplyPredFrames(frames));
    EXPECT_EQ(root->FindAttribute(Sym(u"BAD")), nullptr);
  }
  EXPECT_TRUE(AddPred(nullptr, {Sym(u"'come'")})->ApplyPredFrames(frames));  // no parent to add to
}

TEST_F(FSTest, RegistriesFreeEverythingOnceAndHandlesWithoutARootAreSafe) {
  SCOPED_TRACE("nodes freed alone and in bulk");
  Nodes nodes;
  for (int i = 0; i < 6; ++i) nodes.push_back(new CFSNode());
  *nodes[4] = *nodes[1];                    // assignment keeps each node's own registry slot
  for (int i : {1, 5, 4}) delete nodes[i];  // from the middle, the last one
  EXPECT_EQ(CFSNode::RegisteredCount(), 3u);
  CFSNode::DeleteAll();  // the sanitizer build catches a double free here
  EXPECT_EQ(CFSNode::RegisteredCount(), 0u);
  SCOPED_TRACE("handles freed in bulk");
  new CFSHandle(new CFSNode(), 1.0);  // handles are freed, their nodes are not
  delete new CFSHandle();
  CFSHandle::DeleteAll();
  EXPECT_EQ(CFSHandle::RegisteredCount(), 0u);
  EXPECT_EQ(CFSNode::RegisteredCount(), 1u);

  SCOPED_TRACE("a handle without a root");
  CFSHandle empty;  // handles without a root are safe
  EXPECT_TRUE(empty.Equals(new CFSHandle()));
  EXPECT_FALSE(empty.Equals(new CFSHandle(new CFSNode(), 0.5)));
  EXPECT_EQ(empty.Clone()->root, nullptr);
  const Path subjPath{Sym(u"SUBJ")};
  EXPECT_EQ(empty.FindPath(&subjPath), nullptr);
  EXPECT_FALSE(empty.ApplyPredFrames(PredFrameMap()));
  empty.Normalize();
  EXPECT_FALSE(empty.AddSetElement(nullptr));
  CFSNode* subj = Add(nullptr, u"SUBJ");
  ASSERT_TRUE(empty.AddSetElement(subj));  // an empty root is made, and a copy added
  EXPECT_EQ(empty.root->Attribute, -1);
  EXPECT_NE(empty.root->SetElements.at(0), subj);
  EXPECT_EQ(empty.root->SetElements[0]->NodeId, subj->NodeId);
}

TEST_F(FSTest, CloneAndLocateFocusesTheCopyAndTranslatesTheStack) {
  auto* root = new CFSNode();
  CFSNode* subj = Add(root, u"SUBJ");
  CFSNode* specifier = Add(subj, u"SPEC");
  CFSNode* obj = Add(root, u"OBJ");
  root->Parent = new CFSNode();  // the copy's root must not keep it
  CFSHandle source(root, 0.7);
  Nodes copies;  // the mapper pushes the outermost node first
  CFSHandle* copy = source.CloneAndLocate(subj, {root, subj, specifier}, copies);
  EXPECT_EQ(copy->root->Parent, nullptr);
  ASSERT_EQ(copy->focus, copy->root->ChildList.at(0));
  EXPECT_EQ(copies, (Nodes{copy->root, copy->focus, copy->focus->ChildList[0]}));
  Nodes none;  // a node outside the structure is never met, nor anything after it on the stack
  auto* stranger = new CFSNode();
  EXPECT_EQ(source.CloneAndLocate(stranger, {stranger, obj}, none)->focus, nullptr);
  EXPECT_EQ(none, Nodes{source.CloneAndLocate(obj, {obj, stranger}, none)->focus});
}

TEST_F(FSTest, NormalizeSortsByAttributeStablyWithNullsLastAndSetsParents) {
  Nodes n;
  for (int16_t attribute : {7, 3, 5, 5, 2, 9, 8, 1}) n.push_back(new CFSNode(attribute, nullptr));
  auto* root = new CFSNode();
  root->ChildList = {n[0], nullptr, n[1], n[2], n[3]};
  n[4]->ChildList = {n[5]};
  root->SetElements = {n[6], n[4], n[7]};
  CFSHandle(root, 1.0).Normalize();
  EXPECT_EQ(root->ChildList, (Nodes{n[1], n[2], n[3], n[0], nullptr}));
  EXPECT_EQ(root->SetElements, (Nodes{n[7], n[4], n[6]}));
  for (int i : {0, 1, 2, 3, 4, 6, 7}) EXPECT_EQ(n[i]->Parent, root);
  EXPECT_EQ(n[5]->Parent, n[4]);  // only the root's own members
}

}  // namespace
