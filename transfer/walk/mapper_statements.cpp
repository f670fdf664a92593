// What one mapping statement does to the target structure: go to or create a
// path (moving the target focus with the source), make a set member, set
// NULL or BREAK, assign values or unify with a source path, delete a node,
// or cache an insert rule and ask for a re-position.
#include <algorithm>
#include <memory>

#include "analysis/lfg/lfg_parser.h"
#include "core/fs_handle.h"
#include "core/fs_node.h"
#include "core/string_helpers.h"
#include "transfer/mapping/map_lex_entry.h"
#include "transfer/mapping/map_lex_headword.h"
#include "transfer/mapping/map_lexicon.h"
#include "transfer/mapping/map_rule_element.h"
#include "transfer/walk/mapper_engine.h"

namespace {

// Removes the leading PARENT steps of the path, climbing one level (set
// levels skipped) for each from start while there is a parent.
CFSNode* ClimbLeadingParents(std::vector<SymbolId>& path, CFSNode* start) {
  size_t steps = 0;
  while (steps < path.size() && path[steps] == ParentId) ++steps;
  path.erase(path.begin(), path.begin() + static_cast<std::ptrdiff_t>(steps));
  for (size_t i = 0; i < steps && start != nullptr; ++i) {
    CFSNode* parent = start->GetParent(true);
    if (parent == nullptr) break;
    start = parent;
  }
  return start;
}

CFSNode* TopOf(CFSNode* node) {
  while (node->Parent != nullptr) node = node->Parent;
  return node;
}

// Where a target path of a statement starts: at the top of the target for a
// path that begins with ROOT, some levels above the focus for one that
// begins with PARENT, at the focus otherwise. The leading ROOT or PARENT
// steps are taken off the path.
CFSNode* StartOfTargetPath(std::vector<SymbolId>& path, CFSNode* focus) {
  if (!path.empty() && path.front() == RootId) {
    path.erase(path.begin());
    return TopOf(focus);
  }
  return ClimbLeadingParents(path, focus);
}

// Target nodes made by a statement stand for the source node being mapped.
void TieToSource(CFSNode& node, const CFSNode* source) {
  if (source == nullptr) return;
  node.NodeId = source->NodeId;
  node.LinkedId = source->LinkedId;
  node.IsLinkTarget = source->IsLinkTarget;
}

}  // namespace

bool CMapperEngine::ApplyEntry(const CMapLexEntry* entry, CFSHandle* source, CFSHandle* target, CTransferFlags& flags) {
  if (entry == nullptr || target == nullptr) return false;
  for (const auto& statement : entry->statements) {
    flags.RepositionRequested = 0;
    if (!ApplyRuleElement(statement.get(), source, target, flags)) return false;
    if (flags.RepositionRequested != 0) break;
  }
  target->weight *= entry->weight;
  return true;
}

bool CMapperEngine::ApplyRuleElement(const CMapRuleElement* element, CFSHandle* source, CFSHandle* target,
                                     CTransferFlags& flags) {
  if (element == nullptr || target == nullptr || target->focus == nullptr) return false;
  const std::unique_ptr<CMapRuleElement> statement(element->Clone());
  CFSNode* sourceFocus = source != nullptr ? source->focus : nullptr;
  switch (statement->op) {
    case CMapRuleElement::kGoTo: return ApplyGoTo(*statement, sourceFocus, target, flags);
    case CMapRuleElement::kAssign: return ApplyAssignment(*statement, sourceFocus, target->focus);
    case CMapRuleElement::kDelete: return ApplyDelete(*statement, target->focus);
    case CMapRuleElement::kInsert: return ApplyInsert(*statement, flags);
    default: return true;
  }
}

bool CMapperEngine::ApplyGoTo(const CMapRuleElement& element, CFSNode* source, CFSHandle* target,
                              CTransferFlags& flags) {
  const std::vector<SymbolId>& path = element.leftPath.ids;
  if (path.empty()) return true;
  CFSNode* focus = target->focus;
  CFSNode* reached = nullptr;
  bool startsAbove = false;
  if (path.front() == ElementId) {
    const WString name = u"ELEMENT" + IntToWString(nextSetElement_);
    // The number runs on from sentence to sentence and wraps after 65535;
    // the symbols a sentence adds are freed with the sentence.
    ++nextSetElement_;
    reached = new CFSNode(static_cast<int16_t>(GetSymbolId(name, true)), focus);
    focus->AddChild(reached);
  } else if (path.front() == NullId || path.front() == GetSymbolId(CMapRuleElement::kOmitWord, false)) {
    flags.SetNullFlag(1);
    return true;
  } else if (path.front() == BreakId) {
    flags.SetBreakFlag(1);
    return true;
  } else if (path.front() == RootId) {
    // A path from the top of the target: the node's words go to another
    // part of the sentence (a clause after an adjective becomes the
    // sentence's complement).
    std::vector<SymbolId> fromRoot(path.begin() + 1, path.end());
    bool created = false;
    reached = fromRoot.empty() ? TopOf(focus) : TopOf(focus)->FindOrCreatePath(&fromRoot, created);
  } else {
    // A go-to may climb above the focus (PARENT) as an assignment may: a
    // phrase that English attached to the clause is so put under one of the
    // clause's functions (a phrase of "of" under the noun it belongs to).
    // The node reached there stands for a node of its own (or for none), not
    // for the source node being mapped: it keeps its identity, which the
    // generator compares when it joins daughters to their mothers. (A path
    // from ROOT, above, moves the source node itself and so is tied to it.)
    std::vector<SymbolId> steps = path;
    CFSNode* start = StartOfTargetPath(steps, focus);
    startsAbove = start != focus;
    bool created = false;
    reached = steps.empty() ? start : start->FindOrCreatePath(&steps, created);
  }
  if (reached == nullptr) return true;
  if (!startsAbove) TieToSource(*reached, source);
  if (reached->LinkedId < 1) target->focus = reached;
  return true;
}

bool CMapperEngine::ApplyAssignment(const CMapRuleElement& element, CFSNode* source, CFSNode* target) {
  std::vector<SymbolId> leftPath = element.leftPath.ids;
  CFSNode* start = StartOfTargetPath(leftPath, target);
  bool created = false;
  CFSNode* node = start->FindOrCreatePath(&leftPath, created);
  if (node == nullptr) return true;
  if (element.rightPath.kind == CMapRuleElement::kValueKind) {
    if (node->Attribute == static_cast<int16_t>(PredId)) {
      CFSNode* value = node->FindOrCreateAttribute(ValueId, created);
      if (!value->Value.empty()) return true;
      value->Value = element.rightPath.ids;
      return value->ResolveLinks();
    }
    std::vector<SymbolId> values = element.rightPath.ids;
    return lfgParser_ != nullptr && lfgParser_->UnifySpecial(&node, nullptr, &values, false);
  }
  // A source path, read beside the node being mapped (from its parent), or
  // above it when it begins with PARENT.
  if (source == nullptr) return true;
  std::vector<SymbolId> rightPath = element.rightPath.ids;
  CFSNode* from = source;
  if (!rightPath.empty() && rightPath.front() == ParentId) {
    from = ClimbLeadingParents(rightPath, source);
  } else if (source->Parent != nullptr) {
    from = source->Parent;
  }
  CFSNode* found = from->FindPath(&rightPath, true);
  if (found == nullptr) return true;
  return lfgParser_ != nullptr && lfgParser_->UnifySpecial(&node, found, nullptr, false);
}

// The node is detached from its parent; the per-sentence registry frees it.
// The target focus, the nodes above it and the nodes the walk will return to
// are never detached: the walk still stands on them.
bool CMapperEngine::ApplyDelete(const CMapRuleElement& element, CFSNode* target) {
  CFSNode* node = target->FindPath(&element.rightPath.ids, true);
  if (node == nullptr || node->Parent == nullptr) return true;
  if (IsProtectedFromDelete(node, target)) return true;
  std::vector<CFSNode*>& siblings = node->Parent->ChildList;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), node), siblings.end());
  node->Parent = nullptr;
  return true;
}

bool CMapperEngine::IsProtectedFromDelete(const CFSNode* node, const CFSNode* targetFocus) const {
  for (const CFSNode* above = targetFocus; above != nullptr; above = above->Parent) {
    if (above == node) return true;
  }
  if (activeState_ == nullptr) return false;
  const NodeStack& returns = activeState_->returns;
  return std::find(returns.begin(), returns.end(), node) != returns.end();
}

bool CMapperEngine::ApplyInsert(const CMapRuleElement& element, CTransferFlags& flags) {
  if (insertRules_ == nullptr) return true;
  CMapLexHeadword* headword = insertRules_->FindHeadword(element.insertHeadword);
  if (headword == nullptr) return true;
  AddCachedEntry(element.cacheSymbol, headword);
  if (static_cast<int16_t>(element.value) > 0 && element.value != NullId) {
    flags.RepositionRequested = 1;
    flags.Value = element.value;
    flags.ValueIsNumber = element.valueIsNumber ? 1 : 0;
  } else if (element.value == kNoSymbol || element.value == NullId) {
    flags.RepositionRequested = 0;
  }
  return true;
}
