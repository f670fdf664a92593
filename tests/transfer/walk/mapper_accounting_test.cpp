// What a walk accounts for of the English structure: words and negations
// carried into the Urdu, mapped to nothing on purpose (OMIT), or dropped.
#include <algorithm>

#include "transfer/walk/toy_mapper_fixture.h"

namespace walk_test {
namespace {

constexpr const char* kRules = R"(
SUBJ [ --> SUBJ ; ]
OBJ [ --> OBJ ; ]
SPEC [
  (SPEC.KIND == {def}) --> OMIT ;
  (SPEC.KIND == {dem}) --> NULL ;
  (SPEC.KIND == {poss}) --> POSS, PRED = 'apna', NULL ;
  --> SPEC ;
]
XCOMP [ --> NULL ; ]
ADJUNCT [ --> ADJUNCT ; ]
SET [ --> SET ; ]
ELEMENT [
  (PARTICLE) --> OMIT ;
  --> ELEMENT ;
]
)";

constexpr const char* kNegationRule = "NEG [ --> NEG = NEG ; ]\n";

constexpr const char* kLexicon = R"(
see [ --> PRED = 'dekh', PRED.GF = PRED.GF ; ]
read [ --> PRED = 'parh', PRED.GF = PRED.GF ; ]
boy [ --> PRED = 'larka' ; ]
a [ --> PRED = 'ek' ; ]
the [ --> OMIT ; ]
quickly [ --> FAST = {+} ; ]
)";

class MapperAccounting : public ToyMapper {};

TEST_F(MapperAccounting, EveryEnglishWordIsCarriedOmittedOnPurposeOrNamedAsDropped) {
  using Children = std::vector<CFSNode*>;
  // "see" at 1 with the subject "boy" at 0 and whatever else the case adds
  // (an object among it is in the verb's frame).
  const auto clause = [](Children more) {
    const bool withObject = std::any_of(more.begin(), more.end(), [](const CFSNode* node) {
      return Name(static_cast<SymbolId>(node->Attribute)) == "OBJ";
    });
    Children children = {
        Pred(u"see", withObject ? std::vector<std::u16string>{u"SUBJ", u"OBJ"} : std::vector<std::u16string>{u"SUBJ"},
             1),
        Node(u"SUBJ", {}, {Pred(u"boy", {}, 0)})};
    children.insert(children.end(), more.begin(), more.end());
    return children;
  };
  const auto object = [](const std::u16string& kind, const std::u16string& determiner) {
    return Node(u"OBJ", {}, {Pred(u"boy", {}, 3), Node(u"SPEC", {}, {Pred(determiner, {}, 2), Node(u"KIND", {kind})})});
  };
  const auto adjunct = [](Children member) {
    return Node(u"ADJUNCT", {}, {Node(u"SET", {}, {Node(u"ELEMENT1", {}, std::move(member))})});
  };
  struct Case {
    const char* name;
    bool negationRule;
    Children children;
    Strings dropped;
  };
  const std::vector<Case> cases = {
      {"every word carried", false, clause({}), {}},
      {"an article left out by a rule that says OMIT", false, clause({object(u"def", u"the")}), {}},
      {"a determiner under NULL is dropped", false, clause({object(u"dem", u"this")}), {"this"}},
      {"a rule that writes the node's own word carries the words below", false, clause({object(u"poss", u"my")}), {}},
      {"a word whose entry says OMIT", false, clause({object(u"indef", u"the")}), {}},
      {"a word of no lexicon is spelt, not dropped", false, clause({object(u"indef", u"zork")}), {}},
      {"a complement under NULL: its words, in sentence order",
       false,
       clause({Node(u"XCOMP", {}, {Pred(u"read", {u"OBJ"}, 5), Node(u"OBJ", {}, {Pred(u"boy", {}, 4)})})}),
       {"boy", "read"}},
      {"an entry that writes no word", false, clause({adjunct({Pred(u"quickly", {}, 2)})}), {"quickly"}},
      {"the particle of a phrasal verb, left out by OMIT",
       false,
       clause({adjunct({Pred(u"off", {}, 2), Node(u"PARTICLE", {u"+"})})}),
       {}},
      {"a negation carried by its rule", true, clause({Node(u"NEG", {u"+"})}), {}},
      {"a negation without a rule is dropped", false, clause({Node(u"NEG", {u"+"})}), {"not"}},
      {"a negation with another word dropped",
       false,
       clause({Node(u"NEG", {u"+"}), object(u"dem", u"this")}),
       {"not", "this"}},
      {"a feature other than the negation is not a word", false, clause({Node(u"NEG", {u"-"})}), {}},
  };
  for (const Case& c : cases) {
    Use(std::string(kRules) + (c.negationRule ? kNegationRule : ""), kLexicon);
    const std::vector<CFSHandle*> targets = MapStructure(c.children);
    ASSERT_EQ(targets.size(), 1u) << c.name;
    const std::vector<std::u16string>* dropped = engine_->DroppedWordsOf(targets.front());
    ASSERT_NE(dropped, nullptr) << c.name;
    Strings names;
    for (const std::u16string& word : *dropped) names.push_back(ToUtf8(word));
    EXPECT_EQ(names, c.dropped) << c.name << "\n" << Show(targets.front()->root);
  }
}

TEST_F(MapperAccounting, OmitMakesNoTargetNodeAndATargetOfAnotherCallHasNoList) {
  Use(kRules, kLexicon);
  const std::vector<CFSHandle*> first =
      MapStructure({Pred(u"see", {u"SUBJ"}, 1), Node(u"SUBJ", {}, {Pred(u"boy", {}, 0)}),
                    Node(u"SPEC", {}, {Pred(u"the", {}, 2), Node(u"KIND", {u"def"})})});
  ASSERT_EQ(first.size(), 1u);
  EXPECT_EQ(At(first.front()->root, {u"OMIT"}), nullptr) << Show(first.front()->root);
  EXPECT_EQ(At(first.front()->root, {u"SPEC"}), nullptr) << Show(first.front()->root);
  CFSHandle* earlier = first.front();
  MapStructure({Pred(u"see", {u"SUBJ"}, 1), Node(u"SUBJ", {}, {Pred(u"boy", {}, 0)})});
  EXPECT_EQ(engine_->DroppedWordsOf(earlier), nullptr);
}

}  // namespace
}  // namespace walk_test
