#include <memory>
#include <string>
#include <vector>

#include "analysis/lfg_parser.h"
#include "analysis/set_expansion.h"
#include "analysis_test_support.h"
#include "resources/lexical_entry.h"

namespace {

using namespace lfg_test;

class AnnotationTest : public LfgTest {
 protected:
  // The completed daughter: a production of the category whose mother
  // carries the structure.
  CProduction* Completed(const std::string& category, const std::string& structure) {
    CProduction* daughter = MakeProduction(category, {"x"});
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
  std::string Up(const CProduction* production) { return ShowFS(production->mother->fStructure->root); }

  CLFGParser parser_{""};
};

TEST_F(AnnotationTest, DefiningEquationsBuildTheMotherStructure) {
  struct Case {
    const char* name;
    const char* annotation;
    const char* mother;  // null: the mother has no structure yet
    const char* daughter;
    bool ok;
    const char* expected;
  };
  const Case cases[] = {
      {"function", "NP:^SUBJ=!", nullptr, "[NUM {sg}]", true, "[SUBJ [NUM {sg}]]"},
      {"head", "VP:^=!", "[SUBJ [NUM {sg}]]", "[TENSE {past}]", true, "[SUBJ [NUM {sg}] TENSE {past}]"},
      {"path of the daughter", "NP:^NUM=!NUM", nullptr, "[NUM {sg} PERS {3}]", true, "[NUM {sg}]"},
      {"value", "NP:^TENSE=past", nullptr, "[NUM {sg}]", true, "[TENSE {past}]"},
      {"several equations in order", "NP:^SUBJ=!,^SUBJ CASE=nom", nullptr, "[NUM {sg}]", true,
       "[SUBJ [NUM {sg} CASE {nom}]]"},
      {"clash", "NP:^=!", "[NUM {pl}]", "[NUM {sg}]", false, "[NUM {pl}]"},
      {"value clash", "NP:^NUM=sg", "[NUM {pl}]", "[NUM {pl}]", false, "[NUM {pl}]"},
      {"missing daughter path", "NP:^NUM=!NUM", nullptr, "[PERS {3}]", false, "[NUM {}]"},
      {"up on both sides", "NP:^=^", nullptr, "[NUM {sg}]", false, "{}"},
      {"constraining equations are skipped", "NP:!NUM=sg", nullptr, "[NUM {pl}]", true, "{}"},
  };
  for (const Case& c : cases) {
    CProduction* mother = Waiting(c.annotation, c.mother);
    CProduction* daughter = Completed("NP", c.daughter);
    const std::string daughterBefore = ShowFS(daughter->mother->fStructure->root);
    EXPECT_EQ(parser_.EvaluateAnnotations(mother, daughter), c.ok) << c.name;
    EXPECT_EQ(Up(mother), c.expected) << c.name;
    EXPECT_EQ(ShowFS(daughter->mother->fStructure->root), daughterBefore) << c.name;
  }
}

TEST_F(AnnotationTest, AMotherWithoutStructureGetsARootNamedRoot) {
  CProduction* mother = Waiting("NP:^SUBJ=!");
  ASSERT_TRUE(parser_.EvaluateAnnotations(mother, Completed("NP", "[NUM {sg}]")));
  EXPECT_EQ(mother->mother->fStructure->root->Attribute, static_cast<int16_t>(RootId));
  // A predicted mother has a handle without a root: the root is made then.
  CProduction* predicted = Waiting("NP:^SUBJ=!");
  predicted->mother->fStructure = new CFSHandle(nullptr, 0.0);
  ASSERT_TRUE(parser_.EvaluateAnnotations(predicted, Completed("NP", "[NUM {sg}]")));
  EXPECT_EQ(Up(predicted), "[SUBJ [NUM {sg}]]");
}

TEST_F(AnnotationTest, EmptyProductionsAndDaughtersWithoutStructureContributeNothing) {
  CProduction* mother = Waiting("NP:^SUBJ=!", "[A {x}]");
  CProduction* empty = MakeProduction("NP", {});
  EXPECT_TRUE(parser_.EvaluateAnnotations(mother, empty));
  EXPECT_TRUE(parser_.EvaluateAnnotations(mother, MakeProduction("NP", {"x"})));
  EXPECT_EQ(Up(mother), "[A {x}]");
  EXPECT_FALSE(parser_.EvaluateAnnotations(nullptr, empty));
  EXPECT_FALSE(parser_.EvaluateAnnotations(mother, nullptr));
}

TEST_F(AnnotationTest, SetMembershipAddsANumberedCopyOfTheDaughter) {
  CProduction* first = Waiting("PP:!$^ADJUNCT", "[TENSE {past}]");
  CProduction* daughter = Completed("PP", "[PCASE {with}]");
  parser_.setElementCounter = 1;
  ASSERT_TRUE(parser_.EvaluateAnnotations(first, daughter));
  CFSNode* adjunct = first->mother->fStructure->root->FindAttribute(Sym(u"ADJUNCT"));
  ASSERT_NE(adjunct, nullptr);
  ASSERT_EQ(adjunct->SetElements.size(), 1u);
  CFSNode* element = adjunct->SetElements[0];
  EXPECT_EQ(GetSymbolName(static_cast<SymbolId>(element->Attribute)), u"ELEMENT2");
  EXPECT_EQ(ShowFS(element), "[PCASE {with}]");
  EXPECT_EQ(element->Parent, adjunct);

  // The completed edge's structure is shared by every waiting edge it
  // completes: it keeps its own attribute and never becomes an element.
  CFSNode* shared = daughter->mother->fStructure->root;
  EXPECT_NE(element, shared);
  EXPECT_EQ(shared->Attribute, -1);
  CProduction* second = Waiting("PP:!$^ADJUNCT");
  ASSERT_TRUE(parser_.EvaluateAnnotations(second, daughter));
  CFSNode* other = second->mother->fStructure->root->FindAttribute(Sym(u"ADJUNCT"))->SetElements[0];
  EXPECT_EQ(GetSymbolName(static_cast<SymbolId>(other->Attribute)), u"ELEMENT3");
  other->Value.push_back(Sym(u"changed"));
  EXPECT_EQ(ShowFS(element), "[PCASE {with}]");
}

TEST_F(AnnotationTest, MembershipWithoutAMotherPathGoesToTheRootSet) {
  CProduction* mother = Waiting("PP:!$x", "[TENSE {past}]");
  ASSERT_TRUE(parser_.EvaluateAnnotations(mother, Completed("PP", "[PCASE {on}]")));
  EXPECT_EQ(Up(mother), "[TENSE {past}]<[PCASE {on}]>");
  // A membership whose element side is not '!' is left alone.
  CProduction* skipped = Waiting("PP:^ADJUNCT$!", "[TENSE {past}]");
  ASSERT_TRUE(parser_.EvaluateAnnotations(skipped, Completed("PP", "[PCASE {on}]")));
  EXPECT_EQ(Up(skipped), "[TENSE {past}]");
}

TEST_F(AnnotationTest, UpToUpEquationsLinkFirstAndUnifyAfterwards) {
  CProduction* mother = Waiting("VP:^XCOMP SUBJ=^SUBJ", "[SUBJ [NUM {sg}] XCOMP [SUBJ {x}]]");
  ASSERT_TRUE(parser_.EvaluateAnnotations(mother, Completed("VP", "[A {b}]")));
  CFSNode* root = mother->mother->fStructure->root;
  const std::vector<SymbolId> path{Sym(u"XCOMP"), Sym(u"SUBJ")};
  CFSNode* linked = root->FindPath(&path, true);
  CFSNode* subject = root->FindAttribute(Sym(u"SUBJ"));
  EXPECT_EQ(linked->LinkedId, subject->NodeId);
  EXPECT_EQ(subject->IsLinkTarget, 1);
  EXPECT_TRUE(linked->Value.empty());
  // Paths through a linked node lead to the node it stands for.
  CProduction* again = Waiting("VP:^XCOMP SUBJ PERS=3");
  again->mother->fStructure = new CFSHandle(root, 1.0);
  ASSERT_TRUE(parser_.EvaluateAnnotations(again, Completed("VP", "[A {b}]")));
  EXPECT_EQ(ShowFS(subject), "[NUM {sg} PERS {3}]");
}

TEST_F(AnnotationTest, ConstraintTextsFailOrWaitForTheMother) {
  struct Case {
    const char* name;
    const char* annotation;
    bool ok;
    size_t kept;
  };
  const Case cases[] = {
      {"satisfied by the daughter", "NP:^SUBJ=!,[!NUM=sg]", true, 0},
      {"violated by the daughter", "NP:^SUBJ=!,[!NUM=pl]", false, 0},
      {"satisfied by the mother", "NP:^SUBJ=!,[^SUBJ NUM=sg]", true, 0},
      {"mother path not built yet", "NP:^SUBJ=!,[^TENSE=past]", true, 1},
      {"negated and undecided", "NP:^SUBJ=!,~[^TENSE=past]", false, 0},
  };
  for (const Case& c : cases) {
    CProduction* mother = Waiting(c.annotation);
    EXPECT_EQ(parser_.EvaluateAnnotations(mother, Completed("NP", "[NUM {sg}]")), c.ok) << c.name;
    EXPECT_EQ(mother->mother->fStructure->root->Constraints.size(), c.kept) << c.name;
  }
}

class LexicalStructureTest : public AnnotationTest {
 protected:
  std::unique_ptr<CLexicalEntry> Entry(const std::vector<std::string>& equations,
                                       const std::vector<std::u16string>& constraints = {}) {
    auto entry = std::make_unique<CLexicalEntry>();
    for (const std::string& text : equations) entry->equations.push_back(MakeEquation(text));
    entry->constraints = constraints;
    entry->word = u"gave";
    return entry;
  }
};

TEST_F(LexicalStructureTest, EntryEquationsBuildTheWordStructureWithItsPosition) {
  CProduction* production = MakeProduction("VP", {"v:^=!", "NP:^OBJ=!"});
  auto entry = Entry({"^PRED='give<SUBJ,OBJ>'", "^TENSE=past", "^SUBJ NUM={sg,pl}", "^SUBJ NUM=sg"},
                     {u"[^SUBJ PERS=3]"});
  ASSERT_TRUE(parser_.BuildLexicalFStructure(production, entry.get(), 4));
  CFSNode* root = production->daughters[0]->fStructure->root;
  EXPECT_EQ(ShowFS(root), "[PRED {give SUBJ OBJ}[INDEX {4}] TENSE {past} SUBJ [NUM {sg}]]");
  EXPECT_EQ(root->Constraints, (std::vector<WString>{u"[^SUBJ PERS=3]"}));
}

TEST_F(LexicalStructureTest, ClashingEquationsAndMissingArgumentsFail) {
  CProduction* production = MakeProduction("VP", {"v:^=!"});
  auto clash = Entry({"^NUM=sg", "^NUM=pl"});
  EXPECT_FALSE(parser_.BuildLexicalFStructure(production, clash.get(), 0));
  EXPECT_FALSE(parser_.BuildLexicalFStructure(production, nullptr, 0));
  EXPECT_FALSE(parser_.BuildLexicalFStructure(nullptr, clash.get(), 0));
  production->dot = 5;
  EXPECT_FALSE(parser_.BuildLexicalFStructure(production, clash.get(), 0));
}

TEST_F(LexicalStructureTest, ScannedWordsAreAnnotatedAgainstTheirOwnStructure) {
  CProduction* production = MakeProduction("NP", {"n:^=!,^NUM=!NUM"});
  auto entry = Entry({"^PRED='book'", "^NUM=sg"});
  ASSERT_TRUE(parser_.BuildLexicalFStructure(production, entry.get(), 1));
  ASSERT_TRUE(parser_.EvaluateAnnotations(production, production));
  EXPECT_EQ(Up(production), "[PRED {book}[INDEX {1}] NUM {sg}]");
}

TEST_F(LfgTest, ExpandingMovesPredValuesAndSetElementsIntoChildren) {
  struct Case {
    const char* name;
    const char* structure;
    const char* expected;
  };
  const Case cases[] = {
      {"frame", "[PRED {give SUBJ OBJ}[INDEX {2}]]", "[PRED [INDEX {2} VALUE {give} GF {SUBJ OBJ}]]"},
      {"word only", "[PRED {book}]", "[PRED [VALUE {book}]]"},
      {"sets become SET children", "[ADJUNCT <[PRED {on}] [PRED {in}]>]",
       "[ADJUNCT [SET [EMPTY [PRED [VALUE {on}]] EMPTY [PRED [VALUE {in}]]]]]"},
      {"nested", "[SUBJ [PRED {he}] TENSE {past}]", "[SUBJ [PRED [VALUE {he}]] TENSE {past}]"},
      {"PRED below is not descended", "[PRED {x}[A <[PRED {y}]>]]", "[PRED [A <[PRED {y}]> VALUE {x}]]"},
  };
  for (const Case& c : cases) {
    CFSNode* root = BuildFS(c.structure);
    ASSERT_TRUE(ExpandSetsAndValues(new CFSHandle(root, 1.0))) << c.name;
    EXPECT_EQ(ShowFS(root), c.expected) << c.name;
  }
  CFSNode* root = BuildFS("[ADJUNCT <[A {x}]>]");
  ExpandNodeSetsAndValues(root);
  CFSNode* set = root->ChildList[0]->ChildList[0];
  EXPECT_EQ(set->Parent, root->ChildList[0]);
  EXPECT_EQ(set->ChildList[0]->Parent, set);
  EXPECT_TRUE(root->ChildList[0]->SetElements.empty());
  EXPECT_FALSE(ExpandSetsAndValues(nullptr));
  EXPECT_FALSE(ExpandSetsAndValues(new CFSHandle()));
}

}  // namespace
