#include "analysis/lfg/lfg_start_edges.h"

#include "analysis/lfg/lfg_parser.h"
#include "analysis/lfg/set_expansion.h"
#include "core/fs_handle.h"
#include "core/production.h"

namespace {

const WString kStartCategory = u"S";

bool IsCompleteStartEdge(const CChartEdge& edge) {
  const CProduction* production = edge.production;
  if (production == nullptr || production->mother == nullptr) return false;
  return production->mother->name == kStartCategory && production->IsDotOnLastDaughter() && edge.origin == 0;
}

}  // namespace

std::vector<CChartEdge*> CompleteStartEdges(const CLFGParser& parser) {
  std::vector<CChartEdge*> edges;
  if (parser.columnCount == 0 || parser.columns == nullptr) return edges;
  for (CChartEdge* edge : parser.columns[parser.columnCount - 1].edges) {
    if (edge != nullptr && IsCompleteStartEdge(*edge)) edges.push_back(edge);
  }
  return edges;
}

CFSNode* CompleteStartStructure(const CChartEdge& edge) {
  if (!IsCompleteStartEdge(edge) || edge.production->mother->fStructure == nullptr) return nullptr;
  return edge.production->mother->fStructure->root;
}

bool AcceptStartStructure(CLFGParser& parser, CChartEdge& edge, bool checkCompleteness) {
  CFSNode* root = CompleteStartStructure(edge);
  if (root == nullptr) return false;
  // Every kept constraint is evaluated, so that all of them are looked at.
  bool satisfied = true;
  for (const WString& text : root->Constraints) {
    if (!parser.EvaluateCondition(text, root, root)) satisfied = false;
  }
  if (!satisfied || !parser.CheckPendingConstraints(root)) return false;
  ExpandSetsAndValues(edge.production->mother->fStructure);
  return !checkCompleteness || parser.CheckCompletenessCoherence(root);
}
