#include "transfer/generation/entry_value_check.h"

#include "core/equation.h"
#include "core/fs_node.h"
#include "core/symbol_table.h"
#include "core/value_sets.h"
#include "resources/lfg/lexical_entry.h"

namespace {

bool IsAncestor(const CFSNode* candidate, const CFSNode& node) {
  for (const CFSNode* above = node.Parent; above != nullptr; above = above->Parent) {
    if (above == candidate) return true;
  }
  return false;
}

// The node FindOrCreatePath goes on from when its path reaches this one: the
// node itself, or the end of its forward chain when that is one step away
// (copies keep such a forward, to the copy of its end). Null when that
// cannot be read off the node: it stands for another node by id, links
// others, or its forward is not one copies keep the same way.
const CFSNode* Step(const CFSNode& node) {
  if (node.LinkedId != 0 || node.HasLinks != 0) return nullptr;
  if (node.Forward == nullptr) return &node;
  const CFSNode* end = node.Forward;
  if (node.IsForwarded == 0 || end == &node || end->Forward != nullptr || end->LinkedId != 0 || end->HasLinks != 0 ||
      IsAncestor(end, node)) {
    return nullptr;
  }
  return end;
}

const CFSNode* FirstChildWithAttribute(const CFSNode& node, SymbolId attribute) {
  for (const CFSNode* child : node.ChildList) {
    if (child != nullptr && static_cast<SymbolId>(child->Attribute) == attribute) return child;
  }
  return nullptr;
}

// The equation gives values to a path below the node itself.
bool GivesValuesToPath(const CEquation& equation) {
  return equation.op == u'=' && equation.left != nullptr && equation.right != nullptr &&
         (equation.left->kind == '^' || equation.left->kind == '!') && !equation.left->path.empty() &&
         equation.right->kind == 'v';
}

bool StartsWithPred(const CEquation& equation) {
  return equation.left != nullptr && !equation.left->path.empty() && equation.left->path.front() == PredId;
}

enum class Outcome { kClash, kFits, kUnknown };

// One equation on the node as it stood before the entry. The equations
// before it can only have narrowed the values of nodes that existed then
// or made new nodes: they forward only nodes without values or
// sub-structures, and touch no links. So a clash found here is a clash in
// the copy too.
Outcome ReadValueEquation(const CEquation& equation, const CFSNode& node) {
  const CFSNode* reached = Step(node);
  for (SymbolId step : equation.left->path) {
    if (reached == nullptr) return Outcome::kUnknown;
    const CFSNode* child = FirstChildWithAttribute(*reached, step);
    if (child == nullptr) return Outcome::kFits;  // the copy makes the rest of the path
    reached = Step(*child);
  }
  if (reached == nullptr) return Outcome::kUnknown;
  if (reached->Attribute == static_cast<int16_t>(PredId)) return Outcome::kUnknown;
  if (!reached->ChildList.empty()) return Outcome::kClash;
  if (!reached->Value.empty() && IntersectValues(&reached->Value, &equation.right->path) == nullptr) {
    return Outcome::kClash;
  }
  return Outcome::kFits;
}

}  // namespace

bool EntryValuesClash(const CLexicalEntry& entry, const CFSNode& node) {
  if (!entry.constraints.empty()) return false;
  for (const CEquation* equation : entry.equations) {
    if (equation == nullptr || StartsWithPred(*equation)) continue;
    if (equation->op != u'=' && equation->op != u'$') continue;  // applying it changes nothing
    if (!GivesValuesToPath(*equation)) return false;
    switch (ReadValueEquation(*equation, node)) {
      case Outcome::kClash: return true;
      case Outcome::kUnknown: return false;
      case Outcome::kFits: break;
    }
  }
  return false;
}
