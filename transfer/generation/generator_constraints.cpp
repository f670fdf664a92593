// The daughters' constraint texts ("[^CASE =c erg]", "~[^NEG =c +]",
// "[^TENSE=pres | ^TENSE=past]", read by core/condition_expression.h)
// evaluated against the mother's and the daughter's nodes, and the prediction test that a production's daughters
// can all be bound and checked.
#include <memory>
#include <string>

#include "analysis/lfg/chart_edge.h"
#include "analysis/lfg/lfg_parser.h"
#include "core/condition_expression.h"
#include "core/fs_node.h"
#include "core/production.h"
#include "core/string_helpers.h"
#include "core/trace_log.h"
#include "core/value_sets.h"
#include "resources/lfg/grammar.h"
#include "resources/lfg/lexicon.h"
#include "transfer/generation/urdu_sentence_generator.h"

namespace {

WString ValueNames(const CFSNode& node) {
  WString text;
  for (size_t i = 0; i < node.Value.size(); ++i) {
    if (i > 0) text += u' ';
    text += GetSymbolName(node.Value[i]);
  }
  return text;
}

bool IsNodeOperand(const CEquationOperand& operand) { return operand.kind == '^' || operand.kind == '!'; }

// Gives the consumed flag to the node and its ancestors below the base.
void ConsumeUpTo(CFSNode* node, const CFSNode* base) {
  for (CFSNode* step = node; step != nullptr && step != base; step = step->Parent) step->GenerationMark = 1;
}

}  // namespace

bool CUrduSentenceGenerator::CheckConstraints(CFSNode* mother, CFSNode* self, const CProductionSymbol* daughter,
                                              bool testOnly) {
  if (mother == nullptr || self == nullptr || daughter == nullptr) return false;
  for (const WString& text : daughter->constraints) {
    if (!EvaluateConstraint(text, mother, self, testOnly)) return false;
  }
  return true;
}

void CUrduSentenceGenerator::LearnConditions() {
  if (urduGrammar_ != nullptr) {
    for (const CProduction* production : urduGrammar_->AllProductions()) {
      for (const CProductionSymbol* daughter : production->daughters) {
        for (const WString& text : daughter->constraints) constraints_.Learn(text);
      }
    }
  }
  if (urduLexicon_ == nullptr || lfgParser_ == nullptr) return;
  // The texts alone: a lexicon read from its numbers makes a key's entries
  // only when the key is looked up.
  for (const WString& text : urduLexicon_->ConstraintTexts()) lfgParser_->LearnCondition(text);
}

std::unique_ptr<CEquationOperand> CUrduSentenceGenerator::ReadConstraintOperand(const WString& text) {
  return CLexicon::ParseOperand(text);
}

// The text is read once by the constraint book. Every comparison is
// evaluated, in the order written, since a comparison may build structure; a
// negated one only looks.
bool CUrduSentenceGenerator::EvaluateConstraint(const WString& text, CFSNode* mother, CFSNode* self, bool testOnly) {
  if (mother == nullptr) return false;
  const int value = constraints_.Evaluate(text, [&](const CParsedCondition::Operands& term) {
    return EvaluateConstraintTerm(mother, self, term.left.get(), term.right.get(), testOnly || term.onlyLook);
  });
  return value >= 1;
}

bool CUrduSentenceGenerator::EvaluateConstraintTerm(CFSNode* mother, CFSNode* self, const CEquationOperand* left,
                                                    const CEquationOperand* right, bool testOnly) {
  if (mother == nullptr || self == nullptr) return false;
  if (left == nullptr || right == nullptr) return false;
  // A path to a node; created tells whether it was made now. A comparison
  // with a value list only looks (as the parser's conditions do).
  auto resolve = [&](const CEquationOperand& operand, bool build, bool& created) -> CFSNode* {
    created = false;
    CFSNode* base = operand.kind == '^' ? mother : self;
    if (!build) {
      CFSNode* found = base->FindPath(&operand.path, true);
      if (found != nullptr && !testOnly) ConsumeUpTo(found, base);
      return found;
    }
    CFSNode* node = base->FindOrCreatePath(&operand.path, created);
    if (node != nullptr) ConsumeUpTo(node, base);
    return node;
  };
  if (IsNodeOperand(*left) != IsNodeOperand(*right)) {
    const CEquationOperand& path = IsNodeOperand(*left) ? *left : *right;
    const CEquationOperand& values = IsNodeOperand(*left) ? *right : *left;
    bool created = false;
    CFSNode* node = resolve(path, false, created);
    return node != nullptr && !ValuesDisjoint(&values.path, &node->Value);
  }
  if (!IsNodeOperand(*left)) return false;
  bool leftCreated = false, rightCreated = false;
  CFSNode* a = resolve(*left, !testOnly, leftCreated);
  CFSNode* b = resolve(*right, !testOnly, rightCreated);
  if (a == nullptr || b == nullptr) return false;
  if (!leftCreated && !rightCreated) {
    if (!ValuesDisjoint(&a->Value, &b->Value)) return true;
    WriteTraceLog(u"Left side:\n" + ValueNames(*a) + u"\nRight side:\n" + ValueNames(*b));
    return false;
  }
  if (leftCreated && rightCreated) {
    a->AddLink(b);
    b->AddLink(a);
    return true;
  }
  CFSNode* made = (leftCreated ? a : b)->FollowForward();
  CFSNode* other = (leftCreated ? b : a)->FollowForward();
  made->ForwardTo(other);
  return made->ResolveLinks();
}

// The test runs on the grammar's own production: each daughter's binding
// slots serve while it is checked and get their values back afterwards, so
// the production is left as it was and only one that fits is copied.
bool CUrduSentenceGenerator::MakePredictedEdge(CProduction* production, CFSNode* node) {
  if (production == nullptr || node == nullptr) return false;
  // The mother of the production, bound to the node.
  CChartEdge mother(node, production, 0, 0, 0, 0);
  bool fits = true;
  for (size_t d = 0; d + 1 < production->daughters.size() && fits; ++d) {
    CProductionSymbol* daughter = production->daughters[d];
    CFSNode* const keptNode = daughter->generatorNode;
    CFSHandle* const keptHandle = daughter->fStructure;
    if (!daughter->equations.empty()) UnifyEquation(daughter->equations.front(), &mother, daughter, true, true);
    CFSNode* bound = daughter->generatorNode;
    for (size_t c = 0; c < daughter->constraints.size() && fits; ++c) {
      fits = EvaluateConstraint(daughter->constraints[c], node, bound, true);
    }
    for (size_t e = 0; e < daughter->equations.size() && fits; ++e) {
      fits = ApplyEquation(daughter->equations[e], node, bound, true);
    }
    daughter->generatorNode = keptNode;
    daughter->fStructure = keptHandle;
  }
  mother.production = nullptr;
  mother.fStructure = nullptr;
  return fits;
}
