// Single steps of the walk: collecting entries per group, applying
// candidates on the state and its copies, copying a state, descending and
// climbing back up.
#include "transfer/mapping/map_lex_entry.h"
#include "transfer/mapping/map_lex_headword.h"
#include "transfer/walk/toy_mapper_fixture.h"

namespace walk_test {
namespace {

class MapperSteps : public ToyMapper {
 protected:
  // The entries collected per group for the word "w" of a lexicon text, at
  // a source PRED beside an OBJ, named by the value of their first statement.
  Strings Groups(const std::string& entries) {
    Use("", "w [ " + entries + " ]");
    CFSNode* pred = Pred(u"w");
    CFSNode* root = Node(u"ROOT", {}, {pred, Node(u"OBJ")});
    CMapperWorkState state(new CFSHandle(root, 1.0), new CFSHandle(Node(u"ROOT"), 1.0));
    state.source->focus = pred;
    EntryList out;
    engine_->CollectMatchingElementsPerGroup(*lexicon_->FindHeadword(Sym(u"w")), state, out);
    Strings names;
    for (const CMapLexEntry* entry : out) names.push_back(Name(entry->statements.front()->rightPath.ids.front()));
    return names;
  }
};

TEST_F(MapperSteps, MatchingEntriesAreCollectedOnePerGroup) {
  struct Case {
    std::string entries;
    Strings expected;
  };
  const std::vector<Case> cases = {
      {"(OBJ) --> A = {a} @1 ; (OBJ) --> A = {b} @2 ;", {"a", "b"}},
      // The first of a group stays; a later one with BREAK replaces it and
      // ends the scan.
      {"(OBJ) --> A = {a} @1 ; (OBJ) --> A = {b} @1 ; (OBJ) --> A = {c} @2 ;", {"a", "c"}},
      {"(OBJ) --> A = {a} @1 ; (OBJ) --> A = {b}, BREAK @1 ; (OBJ) --> A = {c} @2 ;", {"b"}},
      // Entries that do not match are passed over.
      {"(OBJ2) --> A = {a} @1 ; (OBJ) --> A = {b} @2 ;", {"b"}},
      // Number 0: keyed by the count of matching entries so far, which a
      // numbered group may already hold; the result is in key order.
      {"(OBJ) --> A = {a} ; (OBJ) --> A = {b} ;", {"a", "b"}},
      {"(OBJ) --> A = {a} @3 ; (OBJ) --> A = {b} ; (OBJ) --> A = {c} ;", {"b", "a"}},
      {"(OBJ) --> A = {a} ; (OBJ) --> A = {b} @1 ;", {"a"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Groups(c.entries), c.expected) << c.entries;
  }
}

TEST_F(MapperSteps, CandidatesAfterTheFirstGoToCopiesOfTheState) {
  Use("", "");
  std::unique_ptr<CMapLexicon> entries =
      Compile("entries", "w [ --> A = {a} ; --> A = {b} ; --> B = {b}, A = {x}, A = {y} ; --> C = {c}, NULL ; ]");
  const CMapLexHeadword* w = entries->FindHeadword(Sym(u"w"));
  const EntryList& all = w->unconditionalEntries;
  CFSNode* leaf = Node(u"NUM", {u"sg"});
  Node(u"ROOT", {}, {leaf});
  struct Case {
    EntryList candidates;
    CMapLexEntry* defaultEntry;
    int applied;
    size_t pushed;
    Strings stateA;
  };
  const std::vector<Case> cases = {
      {{all[0], all[1]}, nullptr, 1, 0, {"a"}},
      // The first fails on the state (its changes stay there); the second
      // applies to a copy of the untouched state, which is pushed.
      {{all[2], all[1]}, nullptr, 1, 1, {"x"}},
      // Nothing applies: the default goes to a pushed copy, and the count
      // stays 0.
      {{all[2]}, all[0], 0, 1, {"x"}},
      {{}, all[0], 1, 0, {"a"}},
      {{}, nullptr, 0, 0, {}},
  };
  for (const Case& c : cases) {
    CMapperWorkState state(new CFSHandle(leaf->Parent, 1.0), new CFSHandle(Node(u"ROOT"), 1.0));
    state.source->focus = leaf;
    WorkStack workStack;
    CTransferFlags flags;
    EXPECT_EQ(engine_->ApplyCandidates(c.candidates, c.defaultEntry, state, workStack, flags), c.applied);
    EXPECT_EQ(workStack.size(), c.pushed);
    EXPECT_EQ(Values(At(state.target->root, {u"A"})), c.stateA) << Show(state.target->root);
    // A leaf keeps the target focus for its siblings.
    EXPECT_EQ(state.target->focus, state.target->root);
    if (!workStack.empty()) {
      EXPECT_NE(workStack[0]->target->root, state.target->root);
    }
  }
}

TEST_F(MapperSteps, NullSkipsAndOtherEntriesDescend) {
  Use("", "");
  std::unique_ptr<CMapLexicon> entries = Compile("entries", "w [ --> SPEC ; --> SPEC, NULL ; ]");
  const EntryList& all = entries->FindHeadword(Sym(u"w"))->unconditionalEntries;
  CFSNode* spec = Node(u"SPEC", {}, {Pred(u"a"), Node(u"KIND", {u"indef"})});
  Node(u"ROOT", {}, {spec});
  for (bool null : {false, true}) {
    SCOPED_TRACE(null);
    CMapperWorkState state(new CFSHandle(spec->Parent, 1.0), new CFSHandle(Node(u"ROOT"), 1.0));
    CFSNode* targetRoot = state.target->root;
    state.source->focus = spec;
    WorkStack workStack;
    CTransferFlags flags;
    ASSERT_EQ(engine_->ApplyCandidates({all[null ? 1 : 0]}, nullptr, state, workStack, flags), 1);
    // Either way the walk returns to the target root after SPEC (also when
    // the entry moved the focus before it said NULL); only without NULL are
    // SPEC's children still to be visited.
    EXPECT_EQ(state.returns, NodeStack{targetRoot});
    EXPECT_EQ(state.ancestors, NodeStack{spec});
    const NodeStack expected = null ? NodeStack{nullptr} : NodeStack{nullptr, spec->ChildList[0], spec->ChildList[1]};
    EXPECT_EQ(state.visits, expected);
    EXPECT_EQ(state.target->focus, At(targetRoot, {u"SPEC"}));
  }
}

TEST_F(MapperSteps, ACopiedStateTranslatesItsTargetAndKeepsItsStacks) {
  Use("", "");
  CFSNode* obj = Node(u"OBJ");
  CFSNode* subj = Node(u"SUBJ", {}, {obj});
  auto* target = new CFSHandle(Node(u"ROOT", {}, {subj}), 0.5);
  target->focus = obj;
  CFSNode* sourceNode = Node(u"X");
  CMapperWorkState state(new CFSHandle(sourceNode, 1.0), target);
  // A node passed through without rules stands twice on the return stack.
  state.returns = {target->root, subj, subj};
  state.ancestors = {sourceNode};
  state.visits = {nullptr, sourceNode};
  std::unique_ptr<CMapperWorkState> copy = engine_->CloneWorkState(state);
  EXPECT_NE(copy->target->root, target->root);
  EXPECT_EQ(copy->target->weight, 0.5);
  EXPECT_EQ(copy->target->focus, At(copy->target->root, {u"SUBJ", u"OBJ"}));
  const CFSNode* copiedSubj = At(copy->target->root, {u"SUBJ"});
  EXPECT_EQ(copy->returns,
            (NodeStack{copy->target->root, const_cast<CFSNode*>(copiedSubj), const_cast<CFSNode*>(copiedSubj)}));
  EXPECT_EQ(copy->ancestors, state.ancestors);
  EXPECT_EQ(copy->visits, state.visits);
  EXPECT_EQ(copy->source, state.source);
}

TEST_F(MapperSteps, ClimbingReturnsToAnAncestorOrRestartsAtRoot) {
  Use("", "");
  // ROOT > ADJUNCT > SET > ELEMENT1 > OBJ > NUM, with the walk inside NUM's
  // parent OBJ.
  CFSNode* num = Node(u"NUM", {u"sg"});
  CFSNode* obj = Node(u"OBJ", {}, {Pred(u"house"), num});
  CFSNode* element = Node(u"ELEMENT1", {}, {Pred(u"in", {u"OBJ"}), obj});
  CFSNode* set = Node(u"SET", {}, {element});
  CFSNode* adjunct = Node(u"ADJUNCT", {}, {set});
  CFSNode* tense = Node(u"TENSE", {u"pres"});
  CFSNode* root = Node(u"ROOT", {}, {tense, adjunct});
  CFSNode* t0 = Node(u"ROOT");
  auto prepare = [&](CMapperWorkState& state) {
    // Visits: ROOT's tense still to come; markers and the rest of each level.
    state.source->focus = num;
    state.target->focus = t0;
    state.ancestors = {adjunct, set, element, obj};
    state.returns = {Node(u"R1"), Node(u"R2"), Node(u"R3"), Node(u"R4")};
    state.visits = {tense, nullptr, nullptr, nullptr, element->ChildList[0], nullptr, obj->ChildList[0]};
  };
  struct Case {
    uint16_t value;
    bool isNumber;
    CFSNode* focus;  // the source focus after the climb
    size_t ancestors;
  };
  const std::vector<Case> cases = {
      // One level up from NUM is OBJ, whose level stays; its children are
      // walked again.
      {1, true, obj, 4},
      // Two levels: ELEMENT1 (SET and ELEMENT levels are not counted, so the
      // climb goes on to ADJUNCT).
      {2, true, adjunct, 1},
      {Sym(u"OBJ"), false, obj, 4},
      {Sym(u"ADJUNCT"), false, adjunct, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Name(c.value));
    CMapperWorkState state(new CFSHandle(root, 1.0), new CFSHandle(t0, 1.0));
    prepare(state);
    EXPECT_EQ(engine_->ClimbToAttribute(state, c.value, c.isNumber), nullptr);
    EXPECT_EQ(state.source->focus, c.focus);
    EXPECT_EQ(state.ancestors.size(), c.ancestors);
    EXPECT_EQ(state.returns.size(), c.ancestors);
    // The reached node's children are on top of its marker.
    ASSERT_GE(state.visits.size(), c.focus->ChildList.size() + 1);
    EXPECT_EQ(state.visits[state.visits.size() - c.focus->ChildList.size() - 1], nullptr);
    EXPECT_EQ(state.visits.back(), c.focus->ChildList.back());
  }
  // ROOT: the state ends and a copy walks the whole structure again.
  CMapperWorkState state(new CFSHandle(root, 1.0), new CFSHandle(t0, 1.0));
  prepare(state);
  std::unique_ptr<CMapperWorkState> restarted = engine_->ClimbToAttribute(state, RootId, false);
  ASSERT_NE(restarted, nullptr);
  EXPECT_TRUE(state.visits.empty());
  EXPECT_TRUE(state.returns.empty());
  EXPECT_EQ(restarted->visits, (NodeStack{tense, adjunct}));
  EXPECT_EQ(restarted->target->focus, restarted->target->root);
}

TEST_F(MapperSteps, TheWalkPopsMarkersIntoTheTargetFocus) {
  // TransferNode over a state prepared by hand: SUBJ's children are mapped
  // under the target SUBJ, then the focus returns to the root for TENSE.
  Use("SUBJ [ --> SUBJ ; ]\nNUM [ --> NUM = NUM ; ]\nTENSE [ --> TENSE = TENSE ; ]", "");
  CFSNode* subj = Node(u"SUBJ", {}, {Node(u"NUM", {u"pl"})});
  CFSNode* root = Node(u"ROOT", {}, {Node(u"TENSE", {u"past"}), subj});
  auto state = std::make_unique<CMapperWorkState>(new CFSHandle(root, 1.0), new CFSHandle(Node(u"ROOT"), 1.0));
  engine_->PushChildren(state->visits, root);
  CFSHandle* target = state->target;
  WorkStack workStack;
  workStack.push_back(std::move(state));
  std::vector<CFSHandle*> finished;
  CNamedIdList tokens;
  EXPECT_TRUE(engine_->TransferNode(workStack, finished, tokens));
  ASSERT_EQ(finished, std::vector<CFSHandle*>{target});
  EXPECT_EQ(Values(At(target->root, {u"SUBJ", u"NUM"})), Strings{"pl"});
  EXPECT_EQ(Values(At(target->root, {u"TENSE"})), Strings{"past"});
  EXPECT_EQ(At(target->root, {u"SUBJ", u"TENSE"}), nullptr);
}

}  // namespace
}  // namespace walk_test
