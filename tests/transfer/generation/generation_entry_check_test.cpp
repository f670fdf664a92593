// The scanner's look at a lexical entry before it copies an edge for it: an
// entry called a clash must fail when its equations are applied to a copy of
// the node, and the common clashes must be seen.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "resources/lfg/lexical_entry.h"
#include "resources/lfg/lexicon.h"
#include "transfer/generation/entry_value_check.h"
#include "transfer/generation/generation_fixture.h"

using namespace generation_test;

namespace {

// An entry with "left=right" equations, each side read as the lexicon reads it.
std::unique_ptr<CLexicalEntry> Entry(const std::vector<std::pair<std::u16string, std::u16string>>& equations,
                                     const std::vector<std::u16string>& conditions = {}) {
  auto entry = std::make_unique<CLexicalEntry>();
  for (const auto& [left, right] : equations) {
    auto* equation = new CEquation();
    equation->left = CLexicon::ParseOperand(left).release();
    equation->op = u'=';
    equation->right = CLexicon::ParseOperand(right).release();
    entry->equations.push_back(equation);
  }
  entry->constraints = conditions;
  return entry;
}

// Applies the entry's equations other than PRED to the node, as the
// scanner does on its copy; false when one fails.
bool ApplyToNode(CUrduSentenceGenerator& generator, const CLexicalEntry& entry, CFSNode* node) {
  for (const CEquation* equation : entry.equations) {
    if (equation->left->path.front() == PredId) continue;
    if (!generator.ApplyEquation(equation, node, node, false)) return false;
  }
  return true;
}

class GenerationEntryCheck : public GenerationTest {};

}  // namespace

TEST_F(GenerationEntryCheck, AClashIsCalledOnlyWhereApplyingTheEntryFails) {
  // The noun's node: NUM sg, GEND m or f, a sub-structure under POSS.
  constexpr const char* kNoun = "[PRED='larka' NUM=sg GEND=m,f CASE=nom POSS[PRED='vo'] EMPTY=]";
  struct Case {
    const char* name;
    std::vector<std::pair<std::u16string, std::u16string>> equations;
    std::vector<std::u16string> conditions;
    bool clash;
  };
  const std::vector<Case> cases = {
      {"same number", {{u"^PRED", u"'larka'"}, {u"^NUM", u"sg"}}, {}, false},
      {"other number", {{u"^PRED", u"'larka'"}, {u"^NUM", u"pl"}}, {}, true},
      {"one of two genders", {{u"^GEND", u"f"}}, {}, false},
      {"clash after a fitting equation", {{u"^NUM", u"sg"}, {u"^GEND", u"n"}}, {}, true},
      {"clash after a narrowing equation", {{u"^GEND", u"f"}, {u"^GEND", u"m"}}, {}, false},
      {"own structure written with !", {{u"!CASE", u"obl"}}, {}, true},
      {"values given to a sub-structure", {{u"^POSS", u"sg"}}, {}, true},
      {"a feature the node lacks", {{u"^PERS", u"3"}}, {}, false},
      {"a path the node lacks in part", {{u"^POSS NUM", u"pl"}}, {}, false},
      {"an unconstrained feature", {{u"^EMPTY", u"x"}}, {}, false},
      {"a clash after an equation of another form", {{u"^SUBJ", u"!"}, {u"^NUM", u"pl"}}, {}, false},
      {"a clash under a condition", {{u"^NUM", u"pl"}}, {u"[^CASE =c nom]"}, false},
      {"the PRED itself", {{u"^PRED", u"pl"}}, {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CFSNode* node = BuildStructure(kNoun);
    const auto entry = Entry(c.equations, c.conditions);
    EXPECT_EQ(EntryValuesClash(*entry, *node), c.clash);
    const std::string before = ValuesOf(At(node, "NUM")) + "|" + ValuesOf(At(node, "GEND"));
    if (c.clash) {
      EXPECT_FALSE(ApplyToNode(Generator(), *entry, node->Clone()));
    }
    EXPECT_EQ(ValuesOf(At(node, "NUM")) + "|" + ValuesOf(At(node, "GEND")), before);  // only read
  }
}

TEST_F(GenerationEntryCheck, ForwardsAreFollowedOneStepAndNodesThatStandForOthersEndTheTest) {
  struct Case {
    const char* name;
    std::function<CFSNode*(CFSNode* root)> prepare;  // gives the node the entry is read against
    bool clash;
  };
  const std::vector<Case> cases = {
      {"plain node", [](CFSNode* root) { return root; }, true},
      {"NUM forwarded to a singular one",
       [](CFSNode* root) {
         At(root, "NUM")->Value.clear();
         At(root, "NUM")->ForwardTo(At(root, "OBJ.NUM"));
         return root;
       },
       true},
      {"NUM forwarded to a plural one",
       [](CFSNode* root) {
         At(root, "NUM")->Value.clear();
         At(root, "OBJ.NUM")->Value = {Sym(u"pl")};
         At(root, "NUM")->ForwardTo(At(root, "OBJ.NUM"));
         return root;
       },
       false},
      {"a forward chain of two steps",
       [](CFSNode* root) {
         CFSNode* num = At(root, "NUM");
         num->Forward = At(root, "OBJ.NUM");
         num->IsForwarded = 1;
         At(root, "OBJ.NUM")->Forward = At(root, "SUBJ.NUM");
         At(root, "OBJ.NUM")->IsForwarded = 1;
         return root;
       },
       false},
      {"a forward the copies drop",
       [](CFSNode* root) {
         At(root, "NUM")->Forward = At(root, "OBJ.NUM");
         return root;
       },
       false},
      {"a node standing for another by id",
       [](CFSNode* root) {
         CFSNode* subject = At(root, "SUBJ");
         subject->LinkedId = At(root, "OBJ")->NodeId;
         return subject;
       },
       false},
      {"a NUM that links another",
       [](CFSNode* root) {
         At(root, "OBJ.NUM")->AddLink(At(root, "SUBJ.NUM"));
         return At(root, "OBJ");
       },
       false},
  };
  const auto plural = Entry({{u"^NUM", u"pl"}});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CFSNode* node = c.prepare(BuildStructure("[NUM=sg SUBJ[NUM=sg] OBJ[NUM=sg]]"));
    EXPECT_EQ(EntryValuesClash(*plural, *node), c.clash);
    if (c.clash) {
      EXPECT_FALSE(ApplyToNode(Generator(), *plural, node->Clone()));
    }
  }
}
