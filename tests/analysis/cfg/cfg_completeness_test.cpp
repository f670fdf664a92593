// The last check of an analysis: every predicate holds the functions of its
// frame, at any depth, inside sets too.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/cfg/cfg_completeness.h"
#include "core/fs_node.h"
#include "core/symbol_table.h"

namespace {

class CfgCompleteness : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearSymbolTable();
    RegisterReservedSymbols();
  }
  void TearDown() override {
    CFSNode::DeleteAll();
    ClearSymbolTable();
  }

  static SymbolId Id(const char16_t* name) { return GetSymbolId(name, true); }

  // A node under the parent with the attribute and values.
  static CFSNode* Add(CFSNode* parent, const char16_t* attribute, std::vector<const char16_t*> values = {}) {
    auto* node = new CFSNode(static_cast<int16_t>(Id(attribute)), parent);
    for (const char16_t* value : values) node->Value.push_back(Id(value));
    if (parent != nullptr) parent->AddChild(node);
    return node;
  }

  // A predicate node: PRED with VALUE and GF children.
  static void Predicate(CFSNode* node, const char16_t* word, std::vector<const char16_t*> functions) {
    CFSNode* pred = Add(node, u"PRED");
    Add(pred, u"VALUE", {word});
    Add(pred, u"GF", functions);
  }
};

TEST_F(CfgCompleteness, EveryPredicateHoldsTheFunctionsOfItsFrame) {
  struct Case {
    const char* what;
    bool objectPresent;  // the clause's OBJ
    bool objectFilled;   // ... with content
    bool innerComplete;  // the complement's own frame
    bool inSet;          // the complement stands in an ADJUNCT set
    bool complete;
  };
  const Case cases[] = {
      {"all there", true, true, true, false, true},
      {"object missing", false, false, true, false, false},
      {"object without content", true, false, true, false, false},
      {"complement lacks its object", true, true, false, false, false},
      {"set member lacks its object", true, true, false, true, false},
      {"set member complete", true, true, true, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CFSNode* root = Add(nullptr, u"ROOT");
    Predicate(root, u"give", {u"SUBJ", u"OBJ"});
    Add(Add(root, u"SUBJ"), u"NUM", {u"sg"});
    if (c.objectPresent) {
      CFSNode* object = Add(root, u"OBJ");
      if (c.objectFilled) Add(object, u"NUM", {u"sg"});
    }
    CFSNode* holder = c.inSet ? Add(Add(root, u"ADJUNCT"), u"SET") : root;
    CFSNode* inner = Add(holder, c.inSet ? u"ELEMENT1" : u"XCOMP");
    Predicate(inner, u"look", {u"OBJ"});
    if (c.innerComplete) Add(Add(inner, u"OBJ"), u"NUM", {u"pl"});
    const CFSNode* found = FindIncompleteNode(root);
    EXPECT_EQ(found == nullptr, c.complete);
    CFSNode::DeleteAll();
  }
  EXPECT_EQ(FindIncompleteNode(nullptr), nullptr);
}

}  // namespace
