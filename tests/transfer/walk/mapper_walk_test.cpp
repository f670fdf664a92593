// The walk over toy rules: pass-through, unknown words, NULL, set members,
// word senses and groups, FINAL rules, completeness, equal targets,
// re-positioning and the limits of one analysis.
#include <algorithm>

#include "transfer/walk/toy_mapper_fixture.h"

namespace walk_test {
namespace {

// Rules that copy subjects and objects and the number of nouns.
constexpr const char* kBasicRules = R"(
SUBJ [ --> SUBJ ; ]
OBJ [ --> OBJ ; ]
NUM [ --> NUM = NUM ; ]
)";

constexpr const char* kBasicLexicon = R"(
see [ --> PRED = 'dekh', PRED.GF = PRED.GF ; ]
boy [ --> PRED = 'larka' ; ]
)";

class MapperWalk : public ToyMapper {};

TEST_F(MapperWalk, AttributesWithoutRulesArePassedThroughOrDropped) {
  Use(kBasicRules, kBasicLexicon);
  // XP has no rule: its SUBJ is mapped at the same target node; CASE (no
  // rule, no children) is dropped.
  const CFSNode* root =
      OneTarget({Pred(u"see", {u"SUBJ"}), Node(u"XP", {}, {Node(u"SUBJ", {}, {Pred(u"boy"), Node(u"NUM", {u"sg"})})}),
                 Node(u"CASE", {u"nom"})});
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(Values(At(root, {u"SUBJ", u"PRED", u"VALUE"})), Strings{"'larka'"}) << Show(root);
  EXPECT_EQ(Values(At(root, {u"SUBJ", u"NUM"})), Strings{"sg"});
  EXPECT_EQ(At(root, {u"XP"}), nullptr);
  EXPECT_EQ(At(root, {u"CASE"}), nullptr);
  EXPECT_EQ(Values(At(root, {u"PRED", u"VALUE"})), Strings{"'dekh'"});
  EXPECT_EQ(Values(At(root, {u"PRED", u"GF"})), Strings{"SUBJ"});
}

TEST_F(MapperWalk, AWordOfNoLexiconKeepsItsSpellingAndItsFunctions) {
  Use(kBasicRules, kBasicLexicon);
  const CFSNode* root = OneTarget(
      {Pred(u"zork_ed", {u"SUBJ", u"OBJ"}), Node(u"SUBJ", {}, {Pred(u"Tom")}), Node(u"OBJ", {}, {Pred(u"boy")})});
  ASSERT_NE(root, nullptr);
  // No rewriting rules here: the word is lower-cased and kept up to its '_'.
  EXPECT_EQ(Values(At(root, {u"PRED", u"VALUE"})), Strings{"zork"}) << Show(root);
  EXPECT_EQ(Values(At(root, {u"PRED", u"GF"})), (Strings{"SUBJ", "OBJ"}));
  EXPECT_EQ(Values(At(root, {u"SUBJ", u"PRED", u"VALUE"})), Strings{"tom"});
  // Without a GF list in the source, none in the target.
  EXPECT_EQ(At(root, {u"SUBJ", u"PRED", u"GF"}), nullptr);
}

TEST_F(MapperWalk, NullSkipsTheSubStructureAndSetMembersAreNumberedPerSentence) {
  Use(std::string(kBasicRules) + R"(
SPEC [ (SPEC.KIND == {def}) --> NULL ; --> SPEC ; ]
ADJUNCT [ --> ADJUNCT ; ]
SET [ --> SET ; ]
ELEMENT [ --> ELEMENT ; ]
)",
      std::string(kBasicLexicon) +
          "the [ --> PRED = 'the' ; ]\na [ --> PRED = 'ek' ; ]\nbig [ --> PRED = 'bara' ; ]\n");
  auto noun = [&](const char16_t* det, const char16_t* kind) {
    return Node(
        u"SUBJ", {},
        {Pred(u"boy"), Node(u"SPEC", {}, {Pred(det), Node(u"KIND", {kind})}),
         Node(u"ADJUNCT", {},
              {Node(u"SET", {}, {Node(u"ELEMENT1", {}, {Pred(u"big")}), Node(u"ELEMENT2", {}, {Pred(u"big")})})})});
  };
  for (int sentence = 0; sentence < 2; ++sentence) {
    SCOPED_TRACE(sentence);
    const CFSNode* definite = OneTarget({Pred(u"see", {u"SUBJ"}), noun(u"the", u"def")});
    ASSERT_NE(definite, nullptr);
    EXPECT_EQ(At(definite, {u"SUBJ", u"SPEC"}), nullptr) << Show(definite);
    // Members are numbered on from the last sentence's: 1 and 2, then 3 and 4.
    const CFSNode* set = At(definite, {u"SUBJ", u"ADJUNCT", u"SET"});
    ASSERT_NE(set, nullptr);
    ASSERT_EQ(set->ChildList.size(), 2u);
    EXPECT_EQ(Name(static_cast<SymbolId>(set->ChildList[0]->Attribute)), "ELEMENT" + std::to_string(1 + 2 * sentence));
    EXPECT_EQ(Name(static_cast<SymbolId>(set->ChildList[1]->Attribute)), "ELEMENT" + std::to_string(2 + 2 * sentence));
    EXPECT_EQ(engine_->NextSetElementNumber(), 3 + 2 * sentence);
  }
  const CFSNode* indefinite = OneTarget({Pred(u"see", {u"SUBJ"}), noun(u"a", u"indef")});
  ASSERT_NE(indefinite, nullptr);
  EXPECT_EQ(Values(At(indefinite, {u"SUBJ", u"SPEC", u"PRED", u"VALUE"})), Strings{"'ek'"});
}

TEST_F(MapperWalk, WordSensesAndGroupsChooseOneEntry) {
  struct Case {
    std::string lexicon;
    bool generateAll;
    std::string expected;
  };
  const std::vector<Case> cases = {
      // Unconditional senses: the first applies (no word-sense data here).
      {"see [ --> PRED = 'one', PRED.GF = PRED.GF @1 ; --> PRED = 'two', PRED.GF = PRED.GF @2 ; ]", false, "'one'"},
      {"see [ --> PRED = 'one', PRED.GF = PRED.GF @1 ; --> PRED = 'two', PRED.GF = PRED.GF @2 ; ]", true, "'one'"},
      // A matching conditional entry wins over the unconditional ones.
      {"see [ (SUBJ) --> PRED = 'cond', PRED.GF = PRED.GF ; --> PRED = 'plain', PRED.GF = PRED.GF ; ]", false,
       "'cond'"},
      {"see [ (OBJ) --> PRED = 'cond', PRED.GF = PRED.GF ; --> PRED = 'plain', PRED.GF = PRED.GF ; ]", false,
       "'plain'"},
      // A failing first candidate leaves the next one to a copy of the state.
      {"see [ (SUBJ) --> PRED = 'bad', PRED.GF = {OBJ}, PRED.GF = {SUBJ} @1 ;"
       " (SUBJ) --> PRED = 'good', PRED.GF = PRED.GF @2 ; ]",
       true, "'good'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lexicon);
    Use(kBasicRules, c.lexicon + "\nboy [ --> PRED = 'larka' ; ]");
    engine_->SetGenerateAllVariations(c.generateAll);
    const std::vector<CFSHandle*> targets = MapStructure({Pred(u"see", {u"SUBJ"}), Node(u"SUBJ", {}, {Pred(u"boy")})});
    Strings verbs;
    for (const CFSHandle* target : targets) {
      for (const std::string& value : Values(At(target->root, {u"PRED", u"VALUE"}))) verbs.push_back(value);
    }
    EXPECT_NE(std::find(verbs.begin(), verbs.end(), c.expected), verbs.end());
  }
}

TEST_F(MapperWalk, FinalRulesAndCompletenessDecideWhichTargetsAreKept) {
  struct Case {
    std::string final;
    std::vector<CFSNode*> (*source)();
    size_t targets;
    std::string subjectCase;
  };
  static auto transitive = []() {
    return std::vector<CFSNode*>{Pred(u"see", {u"SUBJ", u"OBJ"}), Node(u"SUBJ", {}, {Pred(u"boy")}),
                                 Node(u"OBJ", {}, {Pred(u"boy")})};
  };
  static auto incomplete = []() {
    return std::vector<CFSNode*>{Pred(u"see", {u"SUBJ", u"OBJ"}), Node(u"SUBJ", {}, {Pred(u"boy")})};
  };
  const std::vector<Case> cases = {
      {"", transitive, 1, ""},
      {"FINAL [ (t::OBJ) --> SUBJ.CASE = {erg} ; (~(t::OBJ)) --> SUBJ.CASE = {nom} ; ]", transitive, 1, "erg"},
      // Two FINAL entries that clash drop the target.
      {"FINAL [ --> SUBJ.CASE = {erg} ; --> SUBJ.CASE = {nom} ; ]", transitive, 0, ""},
      // A frame whose object is missing is incomplete.
      {"", incomplete, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.final);
    Use(std::string(kBasicRules) + c.final, kBasicLexicon);
    const std::vector<CFSHandle*> targets = MapStructure(c.source());
    ASSERT_EQ(targets.size(), c.targets);
    if (!c.subjectCase.empty()) {
      EXPECT_EQ(Values(At(targets[0]->root, {u"SUBJ", u"CASE"})), Strings{c.subjectCase});
    }
  }
}

TEST_F(MapperWalk, EqualTargetsAreKeptOnce) {
  Use(kBasicRules, kBasicLexicon);
  std::vector<CFSHandle*> list;
  auto* first = new CFSHandle(Node(u"ROOT", {}, {Node(u"NUM", {u"sg"})}), 1.0);
  auto* same = new CFSHandle(Node(u"ROOT", {}, {Node(u"NUM", {u"sg"})}), 1.0);
  auto* other = new CFSHandle(Node(u"ROOT", {}, {Node(u"NUM", {u"pl"})}), 1.0);
  EXPECT_TRUE(engine_->AddUniqueResult(list, first));
  EXPECT_FALSE(engine_->AddUniqueResult(list, same));
  EXPECT_TRUE(engine_->AddUniqueResult(list, other));
  EXPECT_FALSE(engine_->AddUniqueResult(list, nullptr));
  EXPECT_EQ(list.size(), 2u);
}

TEST_F(MapperWalk, InsertedRulesApplyAfterARepositionToRoot) {
  // Mapping OBJ caches the insert rule LATE under NUM and restarts the walk
  // at ROOT; on the second pass NUM finds the cached entry first.
  Use(R"(
SUBJ [ --> SUBJ ; ]
OBJ [ (t::OBJ) --> OBJ ; --> OBJ, INSERT(NUM, LATE, ROOT) ; ]
NUM [ --> NUM = NUM ; ]
)",
      kBasicLexicon, "LATE [ --> NUM = {many} ; ]");
  const CFSNode* root =
      OneTarget({Pred(u"see", {u"SUBJ", u"OBJ"}), Node(u"SUBJ", {}, {Pred(u"boy"), Node(u"NUM", {u"sg"})}),
                 Node(u"OBJ", {}, {Pred(u"boy"), Node(u"NUM", {u"pl"})})});
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(Values(At(root, {u"OBJ", u"NUM"})), Strings{"many"}) << Show(root);
  EXPECT_EQ(Values(At(root, {u"SUBJ", u"NUM"})), Strings{"many"});
}

TEST_F(MapperWalk, AnAlternativeStartsFromTheInsertRulesOfBeforeTheFailedFirstCandidate) {
  // Both SUBJ entries match. The first caches LATE under NUM and then fails
  // (CASE cannot be both a and b); the second applies on its own copy, which
  // must not see what the failed first candidate cached.
  Use(R"(
SUBJ [ (SUBJ.NUM == {sg}) --> SUBJ, INSERT(NUM, LATE, NULL), CASE = {a}, CASE = {b} ; (SUBJ.NUM == {sg}) --> SUBJ ; ]
NUM [ --> NUM = NUM ; ]
)",
      kBasicLexicon, "LATE [ --> NUM = {many} ; ]");
  const CFSNode* root = OneTarget({Pred(u"see", {u"SUBJ"}), Node(u"SUBJ", {}, {Pred(u"boy"), Node(u"NUM", {u"sg"})})});
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(Values(At(root, {u"SUBJ", u"NUM"})), Strings{"sg"}) << Show(root);
  EXPECT_EQ(At(root, {u"SUBJ", u"CASE"}), nullptr) << Show(root);
}

TEST_F(MapperWalk, EndlessRepositioningStopsAtTheLimit) {
  Use("SUBJ [ --> SUBJ, INSERT(NUM, LATE, ROOT) ; ]", kBasicLexicon, "LATE [ --> NUM = NUM ; ]");
  const std::vector<CFSHandle*> targets = MapStructure({Pred(u"see", {u"SUBJ"}), Node(u"SUBJ", {}, {Pred(u"boy")})});
  EXPECT_TRUE(targets.empty());
  EXPECT_EQ(CMapperWorkState::liveInstances, 0);
}

}  // namespace
}  // namespace walk_test
