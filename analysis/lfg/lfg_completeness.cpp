// Well-formedness of finished F-structures: completeness (every governable
// function that a PRED asks for is present), coherence (every governable
// function present is asked for by a PRED) and the constraint texts that
// were kept until the structure was complete.
#include <memory>

#include "analysis/lfg/lfg_parser.h"
#include "core/value_sets.h"

namespace {

// What one level of a structure offers: the GF list of its PRED, when it
// has one, and the attributes of its other children.
struct LevelSummary {
  bool hasPredicate = false;
  ValueList functions;
  ValueList attributes;
};

LevelSummary SummarizeLevel(const CFSNode& node) {
  LevelSummary summary;
  for (const CFSNode* child : node.ChildList) {
    if (child == nullptr) continue;
    const SymbolId attribute = static_cast<SymbolId>(child->Attribute);
    const CFSNode* functions = attribute == PredId ? child->FindAttribute(GfId) : nullptr;
    if (functions != nullptr) {
      summary.hasPredicate = true;
      summary.functions = functions->Value;
      continue;
    }
    summary.attributes.push_back(attribute);
  }
  return summary;
}

}  // namespace

bool CLFGParser::CheckCompletenessCoherence(CFSNode* node) {
  if (node == nullptr) return true;
  const LevelSummary summary = SummarizeLevel(*node);
  // Without governable functions nothing is governed; the intersection alone
  // would read an empty list as "every attribute".
  std::unique_ptr<ValueList> present;
  if (!governableFunctions.empty()) present = IntersectValues(&governableFunctions, &summary.attributes);
  if (!summary.hasPredicate && present) return false;
  if (summary.hasPredicate) {
    if (!present) return false;
    if (!IsValueSubset(&summary.functions, present.get())) return false;
    if (!IsValueSubset(present.get(), &summary.functions)) return false;
  }
  for (CFSNode* child : node->ChildList) {
    if (child == nullptr || child->Attribute == static_cast<int16_t>(PredId)) continue;
    if (!child->ChildList.empty() && !CheckCompletenessCoherence(child)) return false;
  }
  return true;
}

bool CLFGParser::CheckPendingConstraints(CFSNode* node) {
  if (node == nullptr) return true;
  for (CFSNode* child : node->ChildList) {
    if (child == nullptr) continue;
    for (const WString& text : child->Constraints) {
      if (!EvaluateCondition(text, node, node)) return false;
    }
    if (!CheckPendingConstraints(child)) return false;
  }
  return true;
}
