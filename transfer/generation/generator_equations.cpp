// Binding daughters to nodes of the target structure and applying the
// grammar's and the lexicon's equations to them: the generator's side of
// unification. Every node an operation uses gets its consumed flag, which
// the chart reads to see whether a structure was generated whole.
#include <memory>

#include "analysis/lfg/chart_edge.h"
#include "analysis/lfg/lfg_parser.h"
#include "core/fs_node.h"
#include "core/production.h"
#include "core/symbol_table.h"
#include "core/trace_log.h"
#include "core/value_sets.h"
#include "transfer/generation/urdu_sentence_generator.h"

namespace {

bool IsEmptyPathOf(const CEquationOperand* operand, char kind) {
  return operand->kind == kind && operand->path.empty();
}

// Links two nodes made just now to each other.
void LinkBothWays(CFSNode* a, CFSNode* b) {
  a->AddLink(b);
  b->AddLink(a);
}

// The node at the path from the node, or the new node made there.
CFSNode* FindOrCreate(CFSNode* from, const std::vector<SymbolId>& path, bool& created) {
  return from->FindOrCreatePath(&path, created);
}

}  // namespace

bool CUrduSentenceGenerator::UnifyEquation(const CEquation* equation, CChartEdge* edge, CProductionSymbol* daughter,
                                           bool link, bool peek) {
  if (equation == nullptr || equation->left == nullptr || equation->right == nullptr || edge == nullptr ||
      edge->fStructure == nullptr || daughter == nullptr) {
    return false;
  }
  CFSNode* node = edge->fStructure;
  const CEquationOperand& left = *equation->left;
  const CEquationOperand& right = *equation->right;
  // (^ path) = !: the daughter is the node at the path.
  if (equation->op == u'=' && IsEmptyPathOf(&right, '!')) {
    daughter->generatorNode = left.path.empty() ? node : node->FindPath(&left.path, true);
    return daughter->generatorNode != nullptr;
  }
  // ! $ (^ path): the daughter is the next unused member of the set.
  if (equation->op == u'$' && IsEmptyPathOf(&left, '!')) {
    if (right.path.empty()) {
      daughter->generatorNode = NextUnmarkedSetElement(node, peek);
      return daughter->generatorNode != nullptr;
    }
    CFSNode* setOwner = node->FindPath(&right.path, true);
    if (setOwner == nullptr) return false;
    CFSNode* element = NextUnmarkedSetElement(setOwner, peek);
    if (element == nullptr) return false;
    daughter->generatorNode = element;
    std::vector<SymbolId> prefix;
    for (SymbolId step : right.path) {
      prefix.push_back(step);
      if (CFSNode* along = node->FindPath(&prefix, true)) along->GenerationMark = 1;
    }
    return true;
  }
  // (^ path) = values: the daughter shares the mother's node, which takes
  // the values.
  if (equation->op == u'=' && right.kind == 'v' && !left.path.empty() && !right.path.empty()) {
    daughter->generatorNode = node;
    bool created = false;
    CFSNode* target = FindOrCreate(node, left.path, created);
    if (target == nullptr) return false;
    target = target->FollowForward();
    if (created) {
      target->Value = right.path;
      return true;
    }
    std::unique_ptr<ValueList> common = IntersectValues(&target->Value, &right.path);
    if (!common) return false;
    target->Value = *common;
    target->GenerationMark = 1;
    return true;
  }
  // (^ p) = (! q): the daughter's node at q shares the mother's node at p.
  if (equation->op == u'=' && left.kind == '^' && right.kind == '!' && !left.path.empty() && !right.path.empty()) {
    const bool wasBound = daughter->generatorNode != nullptr;
    if (!wasBound) daughter->generatorNode = new CFSNode();
    bool motherCreated = false, daughterCreated = false;
    CFSNode* mine = FindOrCreate(node, left.path, motherCreated);
    CFSNode* theirs = FindOrCreate(daughter->generatorNode, right.path, daughterCreated);
    if (mine == nullptr || theirs == nullptr) return false;
    if (!motherCreated && !daughterCreated) {
      std::unique_ptr<ValueList> common = IntersectValues(&mine->Value, &theirs->Value);
      if (!common) return false;
      mine->FollowForward()->Value = *common;
      if (wasBound) {
        if (theirs != mine) theirs->Value.clear();
        theirs->ForwardTo(mine);
      }
    } else if (wasBound || link) {
      theirs->ForwardTo(mine);
    }
    mine->GenerationMark = 1;
    theirs->GenerationMark = 1;
    return true;
  }
  return false;
}

bool CUrduSentenceGenerator::BindDaughter(CChartEdge* edge) {
  if (edge == nullptr || edge->production == nullptr) return false;
  CProductionSymbol* daughter = edge->production->GetSymbolAfterDot();
  if (daughter == nullptr) return false;
  if (!daughter->equations.empty()) return UnifyEquation(daughter->equations.front(), edge, daughter, false, true);
  daughter->generatorNode = edge->fStructure;
  return true;
}

CFSNode* CUrduSentenceGenerator::NextUnmarkedSetElement(CFSNode* node, bool peek) {
  if (node == nullptr) return nullptr;
  CFSNode* set = node->FindAttribute(SetId);
  if (set == nullptr) {
    WriteTraceLog(u"I am not SET");
    return nullptr;
  }
  if (!peek) set->GenerationMark = 1;
  for (CFSNode* element : set->ChildList) {
    const CFSNode* pred = element != nullptr ? element->FindAttribute(PredId) : nullptr;
    if (pred == nullptr || pred->GenerationMark != 0) continue;
    if (!peek) element->GenerationMark = 1;
    return element;
  }
  WriteTraceLog(u"No unmarked ELEMENT left");
  return nullptr;
}

// The node an operand names: the mother or the node itself, or with a path
// the node found or created along it (never in test-only mode).
CFSNode* CUrduSentenceGenerator::ResolveOperandTarget(const CEquationOperand* operand, CFSNode* mother, CFSNode* self,
                                                      bool testOnly, bool& created) {
  created = false;
  if (operand == nullptr) return nullptr;
  CFSNode* base = operand->kind == '^' ? mother : operand->kind == '!' ? self : nullptr;
  if (base == nullptr || operand->path.empty()) return base;
  if (testOnly) return nullptr;
  return FindOrCreate(base, operand->path, created);
}

// The member node of the set an operand names: the set's member with the
// other node's attribute.
CFSNode* CUrduSentenceGenerator::ResolveSetTarget(const CEquationOperand* operand, CFSNode* mother, CFSNode* self,
                                                  bool testOnly, bool& created) {
  created = false;
  if (operand == nullptr || (operand->kind != '^' && operand->kind != '!')) return nullptr;
  CFSNode* base = operand->kind == '^' ? mother : self;
  const CFSNode* other = operand->kind == '^' ? self : mother;
  const auto memberAttribute = static_cast<SymbolId>(other->Attribute);
  if (operand->path.empty()) {
    CFSNode* set = base->FindAttribute(SetId);
    return set != nullptr ? set->FindAttribute(memberAttribute) : nullptr;
  }
  if (testOnly) return nullptr;
  CFSNode* owner = FindOrCreate(base, operand->path, created);
  if (owner == nullptr) return nullptr;
  owner->GenerationMark = 1;
  CFSNode* set = FindOrCreate(owner, {SetId}, created);
  if (set == nullptr) return nullptr;
  set->GenerationMark = 1;
  CFSNode* member = FindOrCreate(set, {memberAttribute}, created);
  if (member != nullptr) member->GenerationMark = 1;
  return member;
}

// A value list given to a node; a PRED node gives it to its VALUE, unless
// that already has values.
bool CUrduSentenceGenerator::ApplyValueList(CFSNode* target, const std::vector<SymbolId>& values, bool testOnly) {
  if (target->Attribute == static_cast<int16_t>(PredId)) {
    target->GenerationMark = 1;
    CFSNode* value = target->FindAttribute(ValueId);
    if (value == nullptr) return false;
    value->GenerationMark = 1;
    if (!value->Value.empty()) return true;
    target = value;
  }
  return HandleSetValue(target, nullptr, &values, testOnly);
}

bool CUrduSentenceGenerator::ApplyEquation(const CEquation* equation, CFSNode* mother, CFSNode* self, bool testOnly) {
  if (equation == nullptr || mother == nullptr || self == nullptr) return false;
  if (!testOnly) {
    mother->GenerationMark = 1;
    self->GenerationMark = 1;
  }
  if (equation->op != u'$' && equation->op != u'=') return true;
  bool leftCreated = false, rightCreated = false;
  CFSNode* left = ResolveOperandTarget(equation->left, mother, self, testOnly, leftCreated);
  CFSNode* right = equation->op == u'$' ? ResolveSetTarget(equation->right, mother, self, testOnly, rightCreated)
                                        : ResolveOperandTarget(equation->right, mother, self, testOnly, rightCreated);
  if (left != nullptr && right != nullptr) {
    if (!testOnly) {
      left->GenerationMark = 1;
      right->GenerationMark = 1;
    }
    if (leftCreated && rightCreated) {
      LinkBothWays(left, right);
      return true;
    }
    return HandleSetValue(right, left, nullptr, testOnly);
  }
  if (left != nullptr && equation->right != nullptr && equation->right->kind == 'v') {
    return ApplyValueList(left, equation->right->path, testOnly);
  }
  return true;
}

bool CUrduSentenceGenerator::HandleSetValue(CFSNode*& target, CFSNode* source, const std::vector<SymbolId>* values,
                                            bool testOnly) {
  if (target == nullptr) return false;
  // 1. Values given to a node.
  if (source == nullptr) {
    if (values == nullptr) return false;
    target = target->FollowForward();
    if (!target->ChildList.empty()) return false;
    if (target->Value.empty()) {
      if (testOnly) return true;
      target->Value = *values;
      return target->ResolveLinks();
    }
    std::unique_ptr<ValueList> common = IntersectValues(&target->Value, values);
    if (!common) return false;
    if (testOnly) return true;
    target->Value = *common;
    return target->ResolveLinks();
  }
  // 2. An atomic source: values are shared through a forward pointer. A
  // structure is never forwarded to an atom.
  if (source->ChildList.empty()) {
    target = target->FollowForward();
    CFSNode* atom = source->FollowForward();
    target->GenerationMark = 1;
    atom->GenerationMark = 1;
    if (!target->Value.empty() && !atom->Value.empty()) {
      std::unique_ptr<ValueList> common = IntersectValues(&target->Value, &atom->Value);
      if (!common) return false;
      if (!testOnly) target->Value = *common;
      if (!target->ResolveLinks()) return false;
    } else if (!target->Value.empty()) {
      atom->ForwardTo(target);
      if (!atom->ResolveLinks()) return false;
    } else if (target->ChildList.empty() && target != atom) {
      target->ForwardTo(atom);
      if (!target->ResolveLinks()) return false;
    }
  } else if (target != source) {
    // 3. Structures: attribute by attribute.
    const std::vector<CFSNode*> children = source->ChildList;
    for (CFSNode* child : children) {
      if (child == nullptr) continue;
      CFSNode* match = target->FindAttribute(static_cast<SymbolId>(child->Attribute));
      if (match == nullptr) {
        target->AddChild(child->Clone());
        continue;
      }
      if (!HandleSetValue(match, child, nullptr, false)) return false;
      // What either side used counts as used on both: the chart keeps the
      // mother's copy, so the daughter's use must reach it too.
      if (child->GenerationMark != 0 || match->GenerationMark != 0) {
        match->GenerationMark = 1;
        child->GenerationMark = 1;
      }
    }
  }
  // 4. Set members and pending constraints join the target.
  if (!testOnly && target != source) {
    for (const CFSNode* element : source->SetElements) {
      if (element != nullptr) target->SetElements.push_back(element->Clone());
    }
    if (lfgParser_ != nullptr) lfgParser_->CopyConstraints(target, source);
  }
  return true;
}
