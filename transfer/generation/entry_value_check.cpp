#include "transfer/generation/entry_value_check.h"

#include "core/equation.h"
#include "core/fs_node.h"
#include "core/symbol_table.h"
#include "core/value_sets.h"
#include "resources/lfg/lexical_entry.h"

namespace {

// A node that FindOrCreatePath passes unchanged: it stands for no other node
// and is not forwarded, so the copy's path runs through the copy of it.
bool IsPlain(const CFSNode& node) { return node.LinkedId == 0 && node.Forward == nullptr && node.HasLinks == 0; }

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
// (they never forward or link a node that has values or sub-structures) or
// made new nodes, so a clash found here is a clash in the copy too.
Outcome ReadValueEquation(const CEquation& equation, const CFSNode& node) {
  const CFSNode* reached = &node;
  for (SymbolId step : equation.left->path) {
    reached = FirstChildWithAttribute(*reached, step);
    if (reached == nullptr) return Outcome::kFits;  // the copy makes the rest of the path
    if (!IsPlain(*reached)) return Outcome::kUnknown;
  }
  if (reached->Attribute == static_cast<int16_t>(PredId)) return Outcome::kUnknown;
  if (!reached->ChildList.empty()) return Outcome::kClash;
  if (!reached->Value.empty() && IntersectValues(&reached->Value, &equation.right->path) == nullptr) {
    return Outcome::kClash;
  }
  return Outcome::kFits;
}

}  // namespace

bool EntryValuesClash(const CLexicalEntry& entry, const CFSNode& node) {
  if (!entry.constraints.empty() || !IsPlain(node)) return false;
  for (const CEquation* equation : entry.equations) {
    if (equation == nullptr || StartsWithPred(*equation)) continue;
    if (equation->op != u'=' && equation->op != u'$') continue;  // applying it changes nothing
    if (!GivesValuesToPath(*equation)) return false;
    switch (ReadValueEquation(*equation, node)) {
      case Outcome::kClash:
        return true;
      case Outcome::kUnknown:
        return false;
      case Outcome::kFits:
        break;
    }
  }
  return false;
}
