// Relative and subordinate clauses finished after the mapping: the relative
// pronoun takes its noun's gender, a clause that is not perfective loses
// the subject case of a transitive verb.
#include "transfer/walk/adjunct_clauses.h"

#include "transfer/walk/toy_mapper_fixture.h"

namespace walk_test {
namespace {

class AdjunctClauses : public ToyMapper {
 protected:
  // A noun of the gender with one relative clause in its ADJUNCT set, whose
  // function holds the relative pronoun (masculine, as the mapping writes
  // it), and the clause's own features.
  static CFSNode* NounWithClause(const std::u16string& gender, const std::u16string& function,
                                 const std::vector<CFSNode*>& clauseFeatures) {
    CFSNode* pronoun = Node(function, {}, {Pred(u"jo"), Node(u"PRONTYPE", {u"rel"}), Node(u"GEND", {u"m"})});
    CFSNode* clause = Node(u"ELEMENT1", {}, {Pred(u"verb"), pronoun});
    for (CFSNode* feature : clauseFeatures) clause->AddChild(feature);
    std::vector<CFSNode*> noun{Pred(u"noun"), Node(u"ADJUNCT", {}, {Node(u"SET", {}, {clause})})};
    if (!gender.empty()) noun.push_back(Node(u"GEND", {gender}));
    return Node(u"ROOT", {}, {Node(u"SUBJ", {}, noun)});
  }
};

TEST_F(AdjunctClauses, RelativePronounsAndSubjectCases) {
  struct Case {
    const char* name;
    std::u16string nounGender;
    std::u16string function;
    std::vector<CFSNode*> clauseFeatures;
    Strings pronounGender;
    bool keepsSubjectCase;
  };
  const std::vector<Case> cases = {
      {"a subject pronoun of a feminine noun", u"f", u"SUBJ", {}, {"f"}, false},
      {"an object pronoun of a feminine noun", u"f", u"OBJ", {}, {"f"}, false},
      {"a masculine noun", u"m", u"SUBJ", {}, {"m"}, false},
      {"a noun without gender leaves the pronoun as it is", u"", u"SUBJ", {}, {"m"}, false},
      {"a progressive drops the ergative", u"f", u"SUBJ",
       {Node(u"SUBJ_CASE", {u"erg"}), Node(u"ASPECT", {u"prog"})}, {"f"}, false},
      {"a clause without aspect drops it", u"f", u"OBJ", {Node(u"SUBJ_CASE", {u"erg"})}, {"f"}, false},
      {"a perfective keeps it", u"f", u"OBJ",
       {Node(u"SUBJ_CASE", {u"erg"}), Node(u"ASPECT", {u"perf"})}, {"f"}, true},
  };
  for (const Case& c : cases) {
    CFSNode* root = NounWithClause(c.nounGender, c.function, c.clauseFeatures);
    FinishAdjunctClauses(root);
    const std::vector<std::u16string> clause{u"SUBJ", u"ADJUNCT", u"SET", u"ELEMENT1"};
    std::vector<std::u16string> gender = clause;
    gender.insert(gender.end(), {c.function, u"GEND"});
    EXPECT_EQ(Values(At(root, gender)), c.pronounGender) << c.name << " in " << Show(root);
    std::vector<std::u16string> subjectCase = clause;
    subjectCase.push_back(u"SUBJ_CASE");
    EXPECT_EQ(At(root, subjectCase) != nullptr, c.keepsSubjectCase) << c.name << " in " << Show(root);
  }
}

// A clause that is no relative clause (a subordinate clause) keeps its own
// subject's gender; a null root is left alone.
TEST_F(AdjunctClauses, OtherClausesKeepTheirSubjects) {
  CFSNode* subject = Node(u"SUBJ", {}, {Pred(u"woh"), Node(u"PRONTYPE", {u"pers"}), Node(u"GEND", {u"m"})});
  CFSNode* root = Node(u"ROOT", {}, {Node(u"GEND", {u"f"}),
                                     Node(u"ADJUNCT", {}, {Node(u"SET", {}, {Node(u"ELEMENT1", {}, {subject})})})});
  FinishAdjunctClauses(root);
  EXPECT_EQ(Values(At(root, {u"ADJUNCT", u"SET", u"ELEMENT1", u"SUBJ", u"GEND"})), Strings{"m"});
  FinishAdjunctClauses(nullptr);
}

}  // namespace
}  // namespace walk_test
