// Conditions of mapping entries. A condition is written as comparisons in
// parentheses joined by '&' and '|', each one negated by a '~' before it:
//   (SUBJ.NUM == {sg}) & ~(OBJ)
// A comparison names a path and optionally a value set or a second path.
// Source paths are read beside the node being mapped (from its parent), or
// from a set member itself; "t::" paths are read at the target focus; a
// path may begin with ROOT or with PARENT steps.
#include <memory>
#include <string>
#include <vector>

#include "analysis/lfg/value_set_ops.h"
#include "core/equation.h"
#include "core/expression_evaluator.h"
#include "core/fs_node.h"
#include "core/string_helpers.h"
#include "resources/lfg/lexicon.h"
#include "transfer/walk/mapper_engine.h"

namespace {

// Climbs to the node whose attribute is ROOT, or to the top.
CFSNode* ClimbToRoot(CFSNode* node) {
  while (node->Attribute != static_cast<int16_t>(RootId) && node->Parent != nullptr) node = node->Parent;
  return node;
}

// A PRED node stands for its VALUE child in comparisons.
CFSNode* ComparedNode(CFSNode* node) {
  if (node == nullptr || node->Attribute != static_cast<int16_t>(PredId)) return node;
  return node->FindAttribute(ValueId);
}

// Replaces every "=c" by "==".
WString WithConstraintsAsEquality(WString text) {
  for (size_t at = text.find(u"=c"); at != WString::npos; at = text.find(u"=c", at + 2)) text[at + 1] = u'=';
  return text;
}

}  // namespace

bool CMapperEngine::MatchCondition(const WString& condition, CFSNode* source, CFSNode* target) {
  if (condition.empty()) return true;
  if (source == nullptr && target == nullptr) return false;
  const WString text = WithConstraintsAsEquality(condition);
  std::string expression;
  WString pending;
  WString left;
  WChar previous = 0;      // the character before the current one
  WChar lastOperator = 0;  // the last of ( ) & | = ~
  // The evaluator gives '!' the weakest binding, so "!(a)&(b)" would negate
  // the whole rest. A '~' is written as "(!" and its own parenthesis is
  // closed as soon as the comparison or group after it ends: at the depth
  // (of open parentheses) recorded for it.
  int depth = 0;
  std::vector<int> negationDepths;
  auto closeNegations = [&]() {
    while (!negationDepths.empty() && negationDepths.back() == depth) {
      expression += ')';
      negationDepths.pop_back();
    }
  };
  // The comparison of the texts gathered so far as a digit; without a left
  // side it tests that the path exists.
  auto compare = [&]() {
    const bool oneSided = TrimWString(left).empty();
    const int result = oneSided ? EvaluateComparison(source, target, TrimWString(pending), WString())
                                : EvaluateComparison(source, target, TrimWString(left), TrimWString(pending));
    expression += result != 0 ? '1' : '0';
  };
  // Writes the operator or parenthesis that ends a comparison.
  auto closeWith = [&](WChar unit) {
    if (unit == u')') {
      expression += ')';
      --depth;
      closeNegations();
    } else {
      closeNegations();
      expression += static_cast<char>(unit);
    }
    left.clear();
    pending.clear();
    lastOperator = unit;
  };
  for (WChar unit : text) {
    switch (unit) {
      case u'&':
      case u'|':
        if (previous == unit) break;
        if (lastOperator != u')' || !TrimWString(left).empty() || !TrimWString(pending).empty()) compare();
        closeWith(unit);
        break;
      case u'(':
        expression += '(';
        ++depth;
        lastOperator = unit;
        break;
      case u')':
        if (!TrimWString(pending).empty()) compare();
        closeWith(unit);
        break;
      case u'=':
        if (previous == u'=') break;
        left = pending;
        pending.clear();
        lastOperator = unit;
        break;
      case u'~':
        expression += "(!";
        negationDepths.push_back(depth);
        lastOperator = unit;
        break;
      default:
        pending.push_back(unit);
        break;
    }
    previous = unit;
  }
  expression.append(negationDepths.size(), ')');
  return EvaluateWithTrace(expression) >= 1;
}

int CMapperEngine::EvaluateComparison(CFSNode* source, CFSNode* target, const WString& left, const WString& right) {
  if (source == nullptr && target == nullptr) return 0;
  const std::unique_ptr<CEquationOperand> leftOperand = CLexicon::ParseRuleOperand(left);
  const std::unique_ptr<CEquationOperand> rightOperand = CLexicon::ParseRuleOperand(right);
  if (!leftOperand) return 0;
  CFSNode* start = leftOperand->kind == 't' ? target : source;
  if (start == nullptr) return 0;
  CFSNode* rightStart = rightOperand && rightOperand->kind == 's' ? source : target;
  std::vector<SymbolId> path = leftOperand->path;
  if (rightStart == nullptr) {
    // Nothing to compare with: whether the path exists beside the start.
    if (start->Parent == nullptr) return 0;
    return start->Parent->FindPath(&path, true) != nullptr ? 1 : 0;
  }
  if (!path.empty() && path.front() == RootId) {
    path.erase(path.begin());
    start = ClimbToRoot(start);
  } else if ((!path.empty() && path.front() == ParentId) || IsSetMemberAttribute(static_cast<SymbolId>(start->Attribute))) {
    std::vector<SymbolId> rest;
    for (SymbolId step : path) {
      if (step != ParentId) {
        rest.push_back(step);
      } else if (CFSNode* parent = start->GetParent(true)) {
        start = parent;
      }
    }
    path = std::move(rest);
  } else if (leftOperand->kind == 's' && start->Parent != nullptr) {
    start = start->Parent;
  }
  if (path.empty()) {
    if (!rightOperand || rightOperand->kind != 'v') return 0;
    const std::vector<SymbolId> own{static_cast<SymbolId>(start->Attribute)};
    return ValuesDisjoint(&own, &rightOperand->path) ? 0 : 1;
  }
  CFSNode* found = ComparedNode(start->FindPath(&path, true));
  if (found == nullptr) return 0;
  if (!rightOperand) return 1;
  if (rightOperand->kind == 'v') {
    if (found->Attribute == static_cast<int16_t>(GfId)) return SameValueList(&found->Value, &rightOperand->path) ? 1 : 0;
    return ValuesDisjoint(&found->Value, &rightOperand->path) ? 0 : 1;
  }
  // A second path: read like the first one (a source path beside the node
  // being mapped), or from the root of its structure after ROOT.
  std::vector<SymbolId> rightPath = rightOperand->path;
  CFSNode* from = rightOperand->kind == 's' ? start : rightStart;
  if (!rightPath.empty() && rightPath.front() == RootId) {
    rightPath.erase(rightPath.begin());
    from = ClimbToRoot(rightStart);
  }
  CFSNode* other = ComparedNode(from->FindPath(&rightPath, true));
  if (other == nullptr) return 0;
  return ValuesDisjoint(&found->Value, &other->Value) ? 0 : 1;
}
