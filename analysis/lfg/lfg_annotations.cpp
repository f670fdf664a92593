// Evaluation of a rule symbol's functional annotations when the chart
// extends an edge, and the F-structure of a scanned word. '^' names the
// mother's structure (up), '!' the recognised daughter's (down).
#include <memory>

#include "analysis/lfg/lfg_parser.h"
#include "core/equation.h"
#include "core/fs_handle.h"
#include "core/production.h"
#include "core/string_helpers.h"
#include "core/value_sets.h"
#include "resources/lfg/lexical_entry.h"

namespace {

constexpr int16_t kNoAttribute = -1;

CFSNode* RootOf(CFSHandle* handle) { return handle != nullptr ? handle->root : nullptr; }

// The node at the path below the root; the root itself for an empty path.
CFSNode* FindBelow(CFSNode* root, const std::vector<SymbolId>& path) {
  if (root == nullptr) return nullptr;
  if (path.empty()) return root;
  return root->FindPath(&path, true);
}

CFSNode* FindOrCreateBelow(CFSNode* root, const std::vector<SymbolId>& path) {
  if (root == nullptr) return nullptr;
  if (path.empty()) return root;
  bool created = false;
  return root->FindOrCreatePath(&path, created);
}

SymbolId NextElementAttribute(uint16_t counter) { return GetSymbolId(u"ELEMENT" + IntToWString(counter), true); }

WString OperandText(const CEquationOperand& operand) {
  WString text(1, static_cast<WChar>(static_cast<uint8_t>(operand.kind)));
  text += u" ";
  for (SymbolId id : operand.path) text += GetSymbolName(id) + u" ";
  return text;
}

}  // namespace

CFSNode* CLFGParser::EnsureRoot(CFSHandle& handle) {
  if (handle.root == nullptr) handle.root = new CFSNode(kNoAttribute, nullptr);
  return handle.root;
}

// "! $ ^PATH": the daughter's structure becomes a numbered element of the set
// at the mother's path. The element is a copy: the daughter's structure
// belongs to the completed edge, which other waiting edges share.
bool CLFGParser::EvaluateSetMembership(const CEquation& equation, CFSHandle& up, CFSHandle* down) {
  if (equation.left == nullptr || equation.left->kind != '!') return true;
  CFSNode* member = FindBelow(RootOf(down), equation.left->path);
  CFSNode* set = nullptr;
  if (equation.right != nullptr && equation.right->kind == '^') {
    set = up.FindPath(&equation.right->path);
    if (set == nullptr) set = FindOrCreateBelow(EnsureRoot(up), equation.right->path);
  }
  if (member == nullptr) return true;
  ++setElementCounter;
  CFSNode* element = member->Clone();
  element->Attribute = static_cast<int16_t>(NextElementAttribute(setElementCounter));
  if (set != nullptr) {
    element->Parent = set;
    set->AddSetElement(element);
    return true;
  }
  up.AddSetElement(element);
  delete element;
  return true;
}

bool CLFGParser::EvaluateDefiningEquation(const CEquation& equation, CFSHandle& up, CFSHandle* down) {
  if (equation.left == nullptr || equation.left->kind != '^') return true;
  CFSNode* left = FindOrCreateBelow(EnsureRoot(up), equation.left->path);
  if (left == nullptr) return ReportAnnotationFailure(u"Value Not Found From Up F-Structure", &equation);
  const CEquationOperand* right = equation.right;
  if (right == nullptr) return true;
  if (right->kind == '!') {
    CFSNode* value = FindBelow(RootOf(down), right->path);
    if (value == nullptr) return ReportAnnotationFailure(u"Value Not Found From Down F-Structure", &equation);
    if (!UnifySpecial(&left, value, nullptr, false)) {
      return ReportAnnotationFailure(u"Unification failed UnifySpecial(fL,fR,NULL)", &equation);
    }
    return true;
  }
  if (right->kind == '^') {
    if (right->path.empty()) {
      return ReportAnnotationFailure(u"Second is also UP, ^ Something=^ , is given", &equation);
    }
    CFSNode* shared = FindOrCreateBelow(up.root, right->path);
    if (shared == nullptr) return ReportAnnotationFailure(u"Value Not Found From Up F-Structure", &equation);
    // The first such equation links the left node to the shared one; a node
    // that is already linked unifies instead.
    if (left->LinkedId == 0) {
      left->LinkedId = shared->NodeId;
      shared->IsLinkTarget = 1;
      left->Value.clear();
      return true;
    }
    if (!UnifySpecial(&left, shared, nullptr, false)) {
      return ReportAnnotationFailure(u"^aa=^bb Case: Unification failed UnifySpecial(fL,fR,NULL)", &equation);
    }
    return true;
  }
  std::vector<SymbolId> values = right->path;
  if (!UnifySpecial(&left, nullptr, &values, false)) {
    return ReportAnnotationFailure(u"^AA=val Case: UnifySpecial(fL,NULL,&fdesc->Value->list)", &equation);
  }
  return true;
}

// Constraint texts that mention parts of the mother not built yet are kept
// on the mother's root and checked when the whole analysis is complete.
bool CLFGParser::EvaluateSymbolConstraints(const CProductionSymbol& symbol, CFSHandle& up, CFSHandle* down) {
  for (const WString& text : symbol.constraints) {
    const int result = EvaluateConditionPartial(text, EnsureRoot(up), RootOf(down));
    if (result == 0) return false;
    if (result < 0) up.root->Constraints.push_back(text);
  }
  return true;
}

bool CLFGParser::EvaluateAnnotations(CProduction* mother, CProduction* daughter) {
  if (mother == nullptr || daughter == nullptr) return false;
  if (daughter->HasSingleDaughter()) return true;
  CProductionSymbol* symbol = mother->GetSymbolAfterDot();
  if (mother->mother == nullptr || daughter->mother == nullptr || symbol == nullptr) return false;
  if (mother->mother->fStructure == nullptr) {
    mother->mother->fStructure = new CFSHandle(new CFSNode(static_cast<int16_t>(RootId), nullptr), 1.0);
  }
  if (daughter->mother->fStructure == nullptr) return true;
  CFSHandle& up = *mother->mother->fStructure;
  CFSHandle* down = mother == daughter ? symbol->fStructure : daughter->mother->fStructure;
  for (const CEquation* equation : symbol->equations) {
    if (equation == nullptr) continue;
    if (equation->op == u'$') {
      EvaluateSetMembership(*equation, up, down);
    } else if (equation->op == u'=' && !EvaluateDefiningEquation(*equation, up, down)) {
      return false;
    }
  }
  return EvaluateSymbolConstraints(*symbol, up, down);
}

bool CLFGParser::ReportAnnotationFailure(const WString& /*failure*/, const CEquation* equation) {
  // The text is built for a developer's breakpoint or log; the parser itself
  // reports failures only through its results.
  if (equation == nullptr || equation->left == nullptr) return false;
  WString text = OperandText(*equation->left);
  text += WString(1, equation->op);
  text += equation->right != nullptr ? OperandText(*equation->right) : WString(u" NULL");
  return false;
}

bool CLFGParser::BuildLexicalFStructure(CProduction* production, const CLexicalEntry* entry, int position) {
  if (production == nullptr || entry == nullptr) return false;
  CProductionSymbol* symbol = production->GetSymbolAfterDot();
  if (symbol == nullptr) return false;
  if (symbol->fStructure == nullptr) symbol->fStructure = new CFSHandle(new CFSNode(), 1.0);
  CFSNode* root = EnsureRoot(*symbol->fStructure);
  for (const CEquation* equation : entry->equations) {
    if (equation == nullptr || equation->left == nullptr) continue;
    bool created = false;
    CFSNode* node = equation->left->path.empty() ? root : root->FindOrCreatePath(&equation->left->path, created);
    if (node == nullptr) return false;
    if (node->Attribute == static_cast<int16_t>(PredId)) {
      // The word's position tells equal words of one sentence apart.
      auto* index = new CFSNode(static_cast<int16_t>(IndexId), node);
      index->Value.push_back(GetSymbolId(IntToWString(position), true));
      node->AddChild(index);
    }
    const std::vector<SymbolId> values = equation->right != nullptr ? equation->right->path : std::vector<SymbolId>();
    if (created) {
      node->Value = values;
      continue;
    }
    std::unique_ptr<ValueList> common = IntersectValues(&node->Value, &values);
    if (!common) return false;
    node->Value = *common;
  }
  root->Constraints.insert(root->Constraints.end(), entry->constraints.begin(), entry->constraints.end());
  return true;
}
