// Statements of mapping entries applied at hand-made source and target
// foci, and entries of several statements.
#include <algorithm>

#include "transfer/mapping/map_lex_entry.h"
#include "transfer/mapping/map_rule_element.h"
#include "transfer/walk/toy_mapper_fixture.h"

namespace walk_test {
namespace {

class MapperStatements : public ToyMapper {
 protected:
  void SetUp() override {
    ToyMapper::SetUp();
    Use("", "", "LATE [ --> NUM = {many} ; ]");
    num_ = Node(u"NUM", {u"pl"});
    source_ = new CFSHandle(Node(u"ROOT", {}, {Node(u"SUBJ", {}, {Pred(u"boy"), num_})}), 1.0);
    source_->focus = num_;
    obj_ = Node(u"OBJ", {}, {Node(u"CASE", {u"nom"})});
    focus_ = Node(u"SUBJ", {}, {obj_});
    target_ = new CFSHandle(Node(u"ROOT", {}, {focus_}), 1.0);
    target_->focus = focus_;
  }

  // The statements of an entry text ("A = {x}, B"), as the compiler reads
  // them.
  std::unique_ptr<CMapLexEntry> Entry(const std::string& statements) {
    auto entry = std::make_unique<CMapLexEntry>();
    EXPECT_TRUE(lexicon_->ParseEntryValue(FromUtf8(statements), *entry)) << statements;
    return entry;
  }

  bool Apply(const std::string& statement) {
    const std::unique_ptr<CMapLexEntry> entry = Entry(statement);
    EXPECT_EQ(entry->statements.size(), 1u) << statement;
    return engine_->ApplyRuleElement(entry->statements.front().get(), source_, target_, flags_);
  }

  CFSNode* num_ = nullptr;
  CFSNode* obj_ = nullptr;
  CFSNode* focus_ = nullptr;
  CFSHandle* source_ = nullptr;
  CFSHandle* target_ = nullptr;
  CTransferFlags flags_;
};

TEST_F(MapperStatements, EachKindOfStatement) {
  struct Case {
    std::string statement;
    bool result;
    std::vector<std::u16string> path;  // from the target root
    Strings values;
  };
  const std::vector<Case> cases = {
      {"NUM = {sg}", true, {u"SUBJ", u"NUM"}, {"sg"}},
      {"NUM = {pl}", false, {u"SUBJ", u"NUM"}, {"sg"}},
      {"PRED = 'larka'", true, {u"SUBJ", u"PRED", u"VALUE"}, {"'larka'"}},
      {"PRED = 'other'", true, {u"SUBJ", u"PRED", u"VALUE"}, {"'larka'"}},
      {"ROOT.NEG = {+}", true, {u"NEG"}, {"+"}},
      {"PARENT.MOOD = {interrog}", true, {u"MOOD"}, {"interrog"}},
      // A source path is read beside the node being mapped.
      {"COUNT = NUM", true, {u"SUBJ", u"COUNT"}, {"pl"}},
      {"NONE = MISSING", true, {u"SUBJ", u"NONE"}, {}},
      {"DELETE OBJ", true, {u"SUBJ", u"OBJ"}, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Apply(c.statement), c.result) << c.statement;
    EXPECT_EQ(Values(At(target_->root, c.path)), c.values) << c.statement << " in " << Show(target_->root);
  }
  EXPECT_EQ(At(target_->root, {u"SUBJ", u"OBJ"}), nullptr);
  EXPECT_EQ(obj_->Parent, nullptr);
  EXPECT_EQ(target_->focus, focus_);
}

TEST_F(MapperStatements, GoToMovesTheFocusWithTheSourceNode) {
  ASSERT_TRUE(Apply("SPEC.POSS"));
  const CFSNode* reached = At(target_->root, {u"SUBJ", u"SPEC", u"POSS"});
  ASSERT_NE(reached, nullptr);
  EXPECT_EQ(target_->focus, reached);
  EXPECT_EQ(reached->NodeId, num_->NodeId);
  // The same path again is found, not made twice.
  target_->focus = focus_;
  ASSERT_TRUE(Apply("SPEC.POSS"));
  EXPECT_EQ(target_->focus, reached);
  EXPECT_EQ(At(target_->root, {u"SUBJ"})->ChildList.size(), 2u);  // OBJ and SPEC
}

// A go-to path may start at the top of the target (ROOT) or levels above
// the focus (PARENT), as an assignment's may; the focus moves to the node
// reached, which is made when missing.
TEST_F(MapperStatements, GoToMayStartAboveTheFocus) {
  struct Case {
    std::string statement;
    std::vector<std::u16string> reached;  // from the target root
  };
  const std::vector<Case> cases = {
      {"OBJ", {u"SUBJ", u"OBJ"}},
      {"ROOT.OBJ2", {u"OBJ2"}},
      {"PARENT.PREDLINK.ADJUNCT.SET", {u"PREDLINK", u"ADJUNCT", u"SET"}},
      {"PARENT.SUBJ.OBJ", {u"SUBJ", u"OBJ"}},
  };
  for (const Case& c : cases) {
    target_->focus = focus_;
    ASSERT_TRUE(Apply(c.statement)) << c.statement;
    const CFSNode* reached = At(target_->root, c.reached);
    ASSERT_NE(reached, nullptr) << c.statement << " in " << Show(target_->root);
    EXPECT_EQ(target_->focus, reached) << c.statement;
  }
  // A node reached from above keeps its own identity: it does not stand for
  // the source node being mapped (OBJ was reached both ways; only the plain
  // path ties it).
  const uint32_t objId = obj_->NodeId;
  target_->focus = focus_;
  obj_->NodeId = objId + 1000;
  ASSERT_TRUE(Apply("PARENT.SUBJ.OBJ"));
  EXPECT_EQ(obj_->NodeId, objId + 1000);
  EXPECT_NE(obj_->NodeId, num_->NodeId);
  // Nothing named ROOT or PARENT was made on the way.
  EXPECT_EQ(At(target_->root, {u"SUBJ", u"ROOT"}), nullptr);
  EXPECT_EQ(At(target_->root, {u"SUBJ", u"PARENT"}), nullptr);
  EXPECT_EQ(At(target_->root, {u"PARENT"}), nullptr);
}

// A go-to path that begins with ROOT is read from the top of the target,
// wherever the focus stands: a clause found inside an adjective becomes the
// sentence's complement.
TEST_F(MapperStatements, GoToFromTheRootLeavesTheFocusSubtree) {
  struct Case {
    std::string statement;
    std::vector<std::u16string> reached;  // from the target root; empty for the root
  };
  const std::vector<Case> cases = {
      {"ROOT.COMP", {u"COMP"}},
      {"ROOT.COMP.SUBJ", {u"COMP", u"SUBJ"}},
      {"ROOT.SUBJ", {u"SUBJ"}},  // found, not made again
  };
  for (const Case& c : cases) {
    target_->focus = obj_;
    ASSERT_TRUE(Apply(c.statement)) << c.statement;
    const CFSNode* reached = At(target_->root, c.reached);
    ASSERT_NE(reached, nullptr) << c.statement << " in " << Show(target_->root);
    EXPECT_EQ(target_->focus, reached) << c.statement;
    EXPECT_EQ(reached->NodeId, num_->NodeId) << c.statement;
  }
  EXPECT_EQ(target_->root->ChildList.size(), 2u);  // SUBJ and COMP
  EXPECT_EQ(At(target_->root, {u"SUBJ", u"OBJ", u"ROOT"}), nullptr);
}

TEST_F(MapperStatements, SetMembersNullBreakAndInsert) {
  ASSERT_TRUE(Apply("ELEMENT"));
  target_->focus = focus_;
  ASSERT_TRUE(Apply("ELEMENT"));
  ASSERT_EQ(focus_->ChildList.size(), 3u);
  EXPECT_EQ(Name(static_cast<SymbolId>(focus_->ChildList[1]->Attribute)), "ELEMENT1");
  EXPECT_EQ(Name(static_cast<SymbolId>(focus_->ChildList[2]->Attribute)), "ELEMENT2");
  EXPECT_EQ(target_->focus, focus_->ChildList[2]);

  ASSERT_TRUE(Apply("NULL"));
  EXPECT_EQ(flags_.GetNullFlag(), 1);
  ASSERT_TRUE(Apply("BREAK"));
  EXPECT_EQ(flags_.GetBreakFlag(), 1);

  // An insert rule that exists is cached and asks to climb two levels; one
  // that does not exist does nothing.
  flags_.Reset();
  ASSERT_TRUE(Apply("INSERT(VP, LATE, 2)"));
  EXPECT_EQ(engine_->CurrentInsertCache().count(Sym(u"VP")), 1u);
  EXPECT_EQ(flags_.RepositionRequested, 1);
  EXPECT_EQ(flags_.ValueIsNumber, 1);
  EXPECT_EQ(flags_.Value, 2);
  EXPECT_FALSE(engine_->AddCachedEntry(Sym(u"VP"), insert_->FindHeadword(Sym(u"LATE"))));
  flags_.Reset();
  ASSERT_TRUE(Apply("INSERT(NP, MISSING, 2)"));
  EXPECT_EQ(engine_->CurrentInsertCache().count(Sym(u"NP")), 0u);
  EXPECT_EQ(flags_.RepositionRequested, 0);
  // The cached entries come first when the symbol is looked up.
  CMapLexHeadword* combined = engine_->LookupHeadword(Sym(u"VP"), false);
  EXPECT_EQ(combined, nullptr);  // VP has no rule of its own
}

TEST_F(MapperStatements, DeleteNeverDetachesTheNodesTheWalkReturnsTo) {
  CFSNode* inner = Node(u"INNER");
  focus_->AddChild(inner);
  std::unique_ptr<CMapLexEntry> entry = Entry("DELETE INNER");
  // INNER is on the state's return stack: the walk will come back to it.
  CMapperWorkState state(source_, target_);
  state.returns.push_back(inner);
  WorkStack workStack;
  EXPECT_EQ(engine_->ApplyCandidates({entry.get()}, nullptr, state, workStack, flags_), 1);
  EXPECT_EQ(inner->Parent, focus_);
  // Off the return stack it is detached (the registry frees it later).
  target_->focus = focus_;
  state.returns.clear();
  EXPECT_EQ(engine_->ApplyCandidates({entry.get()}, nullptr, state, workStack, flags_), 1);
  EXPECT_EQ(inner->Parent, nullptr);
  EXPECT_EQ(std::count(focus_->ChildList.begin(), focus_->ChildList.end(), inner), 0);
}

TEST_F(MapperStatements, AnEntryStopsAtItsFirstFailingStatement) {
  target_->weight = 0.5;
  std::unique_ptr<CMapLexEntry> entry = Entry("DONE = {yes}, NUM = {sg}, NUM = {pl}, LATER = {x}");
  entry->weight = 0.25;
  EXPECT_FALSE(engine_->ApplyEntry(entry.get(), source_, target_, flags_));
  EXPECT_EQ(Values(At(target_->root, {u"SUBJ", u"DONE"})), Strings{"yes"});
  EXPECT_EQ(At(target_->root, {u"SUBJ", u"LATER"}), nullptr);
  EXPECT_EQ(target_->weight, 0.5);
  std::unique_ptr<CMapLexEntry> good = Entry("OK = {yes}");
  good->weight = 0.25;
  EXPECT_TRUE(engine_->ApplyEntry(good.get(), source_, target_, flags_));
  EXPECT_EQ(target_->weight, 0.125);
  // A statement that asks for a re-position ends the entry.
  std::unique_ptr<CMapLexEntry> climbing = Entry("INSERT(VP, LATE, 1), AFTER = {x}");
  EXPECT_TRUE(engine_->ApplyEntry(climbing.get(), source_, target_, flags_));
  EXPECT_EQ(At(target_->root, {u"SUBJ", u"AFTER"}), nullptr);
}

}  // namespace
}  // namespace walk_test
