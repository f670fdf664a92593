// Conditional constraints: bracketed comparisons of F-structure paths with
// each other or with value lists, joined by '&', '|' and '~', written for
// example "[^NUM=sg]&~[^SUBJ CASE=c acc]" (core/condition_expression.h reads
// them). Each comparison becomes a 0 or 1 (for the partial reading, an
// undecided comparison counts as 1) and the parsed expression gives the whole.
#include <memory>
#include <string>

#include "analysis/lfg/lfg_parser.h"
#include "core/condition_expression.h"
#include "core/production.h"
#include "core/value_sets.h"
#include "resources/lfg/grammar.h"
#include "resources/lfg/lexicon.h"

namespace {

constexpr int kUndecided = -1;

CFSNode* FindIn(CFSNode* node, const CEquationOperand& operand) {
  return node != nullptr ? node->FindPath(&operand.path, true) : nullptr;
}

bool Overlap(const ValueList* a, const ValueList* b) { return !ValuesDisjoint(a, b); }

// The comparison of one operand pair: own is the structure the left
// operand's kind names, other the one the opposite kind names.
int CompareFrom(CFSNode* own, CFSNode* other, const CEquationOperand& left, const CEquationOperand& right,
                char otherKind) {
  CFSNode* a = FindIn(own, left);
  if (right.kind == otherKind) {
    CFSNode* b = FindIn(other, right);
    return a != nullptr && b != nullptr && Overlap(&b->Value, &a->Value) ? 1 : 0;
  }
  if (right.kind == '^' || right.kind == '!') return 0;
  return a != nullptr && Overlap(&right.path, &a->Value) ? 1 : 0;
}

int CompareOperands(CFSNode* fL, CFSNode* fR, const CEquationOperand* left, const CEquationOperand* right,
                    bool partial) {
  if (left == nullptr || right == nullptr) return 0;
  if (left->kind == '^') {
    if (partial && FindIn(fL, *left) == nullptr) return kUndecided;
    return CompareFrom(fL, fR, *left, *right, '!');
  }
  if (left->kind == '!') return CompareFrom(fR, fL, *left, *right, '^');
  return 0;
}

int CompareOperandTexts(CFSNode* fL, CFSNode* fR, const WString& leftText, const WString& rightText, bool partial) {
  const std::unique_ptr<CEquationOperand> left = CLexicon::ParseOperand(leftText);
  const std::unique_ptr<CEquationOperand> right = CLexicon::ParseOperand(rightText);
  return CompareOperands(fL, fR, left.get(), right.get(), partial);
}

}  // namespace

int CLFGParser::CompareConditionOperands(CFSNode* fL, CFSNode* fR, const WString& left, const WString& right) {
  return CompareOperandTexts(fL, fR, left, right, false);
}

int CLFGParser::CompareConditionOperandsPartial(CFSNode* fL, CFSNode* fR, const WString& left, const WString& right) {
  return CompareOperandTexts(fL, fR, left, right, true);
}

// The text is read once by the parser's condition book; each comparison
// becomes 0 or 1 (an undecided one counts as 1 and marks the whole as
// undecided when it holds).
int CLFGParser::ReadCondition(const WString& text, CFSNode* fL, CFSNode* fR, bool partial) {
  bool undecided = false;
  const int value = conditions_.Evaluate(text, [&](const CParsedCondition::Operands& term) {
    const int outcome = CompareOperands(fL, fR, term.left.get(), term.right.get(), partial);
    if (outcome == kUndecided) undecided = true;
    return outcome != 0;
  });
  if (value < 1) return 0;
  return undecided ? kUndecided : 1;
}

void CLFGParser::LearnConditions(const CGrammar& source) {
  for (const CProduction* production : source.AllProductions()) {
    if (production->mother != nullptr) {
      for (const WString& text : production->mother->constraints) LearnCondition(text);
    }
    for (const CProductionSymbol* symbol : production->daughters) {
      for (const WString& text : symbol->constraints) LearnCondition(text);
    }
  }
}

bool CLFGParser::EvaluateCondition(const WString& text, CFSNode* fL, CFSNode* fR) {
  if (fL == nullptr) return false;
  return ReadCondition(text, fL, fR, false) == 1;
}

int CLFGParser::EvaluateConditionPartial(const WString& text, CFSNode* fL, CFSNode* fR) {
  if (fL == nullptr) return 0;
  return ReadCondition(text, fL, fR, true);
}
