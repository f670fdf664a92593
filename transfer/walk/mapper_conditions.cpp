// Conditions of mapping entries. A condition is written as comparisons in
// parentheses joined by '&' and '|', each one negated by a '~' before it:
//   (SUBJ.NUM == {sg}) & ~(OBJ)
// A comparison names a path and optionally a value set or a second path.
// Source paths are read beside the node being mapped (from its parent), or
// from a set member itself; "t::" paths are read at the target focus; a
// path may begin with ROOT or with PARENT steps. core/condition_expression.h
// reads the text.
#include <memory>
#include <string>
#include <vector>

#include "analysis/lfg/value_set_ops.h"
#include "core/condition_expression.h"
#include "core/equation.h"
#include "core/fs_node.h"
#include "core/string_helpers.h"
#include "resources/lfg/lexicon.h"
#include "transfer/mapping/map_lex_entry.h"
#include "transfer/mapping/map_lex_headword.h"
#include "transfer/mapping/map_lexicon.h"
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

}  // namespace

std::unique_ptr<CEquationOperand> CMapperEngine::ReadConditionOperand(const WString& text) {
  return CLexicon::ParseRuleOperand(text);
}

void CMapperEngine::LearnConditions(const CMapLexicon& lexicon) {
  for (const auto& [id, headword] : lexicon.Headwords()) {
    for (const CMapLexEntry* entry : headword->conditionalEntries) conditions_.Learn(entry->condition);
  }
}

// The text is read once by the engine's condition book; its comparisons give
// 0 or 1 and the parsed expression the whole.
bool CMapperEngine::MatchCondition(const WString& condition, CFSNode* source, CFSNode* target) {
  if (condition.empty()) return true;
  if (source == nullptr && target == nullptr) return false;
  const int value = conditions_.Evaluate(condition, [&](const CParsedCondition::Operands& term) {
    return EvaluateComparison(source, target, term.left.get(), term.right.get()) != 0;
  });
  return value >= 1;
}

int CMapperEngine::EvaluateComparison(CFSNode* source, CFSNode* target, const WString& left, const WString& right) {
  const std::unique_ptr<CEquationOperand> leftOperand = CLexicon::ParseRuleOperand(left);
  const std::unique_ptr<CEquationOperand> rightOperand = CLexicon::ParseRuleOperand(right);
  return EvaluateComparison(source, target, leftOperand.get(), rightOperand.get());
}

int CMapperEngine::EvaluateComparison(CFSNode* source, CFSNode* target, const CEquationOperand* leftOperand,
                                      const CEquationOperand* rightOperand) {
  if (source == nullptr && target == nullptr) return 0;
  if (leftOperand == nullptr) return 0;
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
  } else if ((!path.empty() && path.front() == ParentId) ||
             IsSetMemberAttribute(static_cast<SymbolId>(start->Attribute))) {
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
    if (found->Attribute == static_cast<int16_t>(GfId))
      return SameValueList(&found->Value, &rightOperand->path) ? 1 : 0;
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
