#include "constraints/choice_tree.h"

#include <cstdlib>

#include "constraints/solver_hooks.h"

namespace {

int ChoiceOf(ChoiceLiteral literal) { return std::abs(static_cast<int>(literal)); }

CChoiceNode* NewChild(CChoiceNode* parent) {
  auto* child = new CChoiceNode();
  child->parent = parent;
  return child;
}

// The branch a literal takes, and the other one.
CChoiceNode*& BranchOf(CChoiceNode* node, ChoiceLiteral literal) {
  return literal > 0 ? node->positive : node->negative;
}
CChoiceNode*& OtherBranchOf(CChoiceNode* node, ChoiceLiteral literal) {
  return literal > 0 ? node->negative : node->positive;
}

void DeleteBranch(CChoiceNode*& branch) {
  delete branch;
  branch = nullptr;
}

// Moves the node's decision and children into a new node below it.
CChoiceNode* PushDecisionDown(CChoiceNode* node) {
  auto* moved = new CChoiceNode();
  moved->variable = node->variable;
  moved->negative = node->negative;
  moved->positive = node->positive;
  moved->parent = node;
  if (moved->negative) moved->negative->parent = moved;
  if (moved->positive) moved->positive->parent = moved;
  node->negative = nullptr;
  node->positive = nullptr;
  return moved;
}

}  // namespace

CChoiceNode::~CChoiceNode() {
  delete negative;
  delete positive;
  negative = nullptr;
  positive = nullptr;
  variable = 0;
}

CChoiceNode* CChoiceNode::Clone() const {
  auto* copy = new CChoiceNode();
  copy->variable = variable;
  if (negative) {
    copy->negative = negative->Clone();
    copy->negative->parent = copy;
  }
  if (positive) {
    copy->positive = positive->Clone();
    copy->positive->parent = copy;
  }
  return copy;
}

CChoiceTree::CChoiceTree() : root_(new CChoiceNode()) {}

CChoiceTree::~CChoiceTree() {
  delete root_;
  root_ = nullptr;
}

void CChoiceTree::InsertPaths(ContextList path) {
  if (!root_) return;
  path.remove(0);
  if (path.empty()) {
    delete root_;
    root_ = nullptr;
    return;
  }
  std::list<CChoiceNode*> reached{root_};
  for (auto it = path.begin(); it != path.end(); ++it) {
    // The tree can grow exponentially with the choices of a long sentence:
    // past the sentence's time or memory budget it is given up whole, which
    // leaves no reading.
    if (SolverTimeExceeded()) {
      delete root_;
      root_ = nullptr;
      return;
    }
    const bool cut = std::next(it) == path.end();
    std::list<CChoiceNode*> taken;
    taken.swap(reached);
    for (CChoiceNode* node : taken) {
      if (!InsertLiteral(*it, node, reached, cut)) PruneEmpty(node);
    }
  }
}

void CChoiceTree::PruneEmpty(CChoiceNode* node) {
  while (node->parent && !node->negative && !node->positive) {
    CChoiceNode* parent = node->parent;
    if (parent->negative == node) parent->negative = nullptr;
    if (parent->positive == node) parent->positive = nullptr;
    delete node;
    node = parent;
  }
}

bool CChoiceTree::InsertLiteral(ChoiceLiteral literal, CChoiceNode* node, std::list<CChoiceNode*>& reached, bool cut) {
  const ChoiceLiteral choice = static_cast<ChoiceLiteral>(ChoiceOf(literal));
  if (node->IsEmpty()) return false;
  if (node->IsOpenLeaf()) {
    node->variable = choice;
    OtherBranchOf(node, literal) = NewChild(node);
    if (cut) return true;
    BranchOf(node, literal) = NewChild(node);
    reached.push_back(BranchOf(node, literal));
    return true;
  }
  if (node->variable == choice) {
    if (!cut) {
      if (BranchOf(node, literal)) reached.push_back(BranchOf(node, literal));
      return true;
    }
    DeleteBranch(BranchOf(node, literal));
    if (!OtherBranchOf(node, literal)) return false;
    reached.push_back(OtherBranchOf(node, literal));
    return true;
  }
  if (node->variable > choice) {
    // The literal's choice is decided above the node's own.
    CChoiceNode* moved = PushDecisionDown(node);
    node->variable = choice;
    if (cut) {
      OtherBranchOf(node, literal) = moved;
      reached.push_back(moved);
      return true;
    }
    node->negative = moved;
    node->positive = moved->Clone();
    node->positive->parent = node;
    reached.push_back(BranchOf(node, literal));
    return true;
  }
  // The choice is decided further down: apply the literal in both branches.
  for (CChoiceNode** child : {&node->negative, &node->positive}) {
    if (*child && !InsertLiteral(literal, *child, reached, cut)) DeleteBranch(*child);
  }
  return node->negative || node->positive;
}

ContextList CChoiceTree::CollectPaths() const {
  if (!root_ || root_->IsOpenLeaf()) return {};
  return CollectPathsFrom(root_);
}

ContextList CChoiceTree::CollectPathsFrom(const CChoiceNode* node) const {
  if (node->negative) {
    ContextList path = CollectPathsFrom(node->negative);
    path.push_back(static_cast<ChoiceLiteral>(-node->variable));
    return path;
  }
  if (node->positive) {
    ContextList path = CollectPathsFrom(node->positive);
    path.push_back(node->variable);
    return path;
  }
  return {};
}

std::list<ContextList> ComplementPaths(ContextList context) {
  std::list<ContextList> paths;
  ContextList before;
  for (ChoiceLiteral literal : context) {
    if (literal == 0) continue;
    ContextList path = before;
    path.push_back(static_cast<ChoiceLiteral>(-literal));
    paths.push_back(std::move(path));
    before.push_back(literal);
  }
  return paths;
}
