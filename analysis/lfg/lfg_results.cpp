// Collection and preference of the analyses in a filled chart.
#include <algorithm>
#include <unordered_set>
#include <vector>

#include "analysis/lfg/lfg_parser.h"
#include "analysis/lfg/lfg_start_edges.h"
#include "core/cs_node.h"
#include "core/fs_handle.h"
#include "core/parse_result.h"
#include "core/production.h"

namespace {

// The number of governable functions the root's PRED asks for, or -1 when
// it has no PRED with a GF list.
int Valency(const CParseResult& result) {
  if (result.FStructure == nullptr || result.FStructure->root == nullptr) return -1;
  const CFSNode* pred = result.FStructure->root->FindAttribute(PredId);
  const CFSNode* functions = pred != nullptr ? pred->FindAttribute(GfId) : nullptr;
  return functions != nullptr ? static_cast<int>(functions->Value.size()) : -1;
}

std::vector<CParseResult*> SelectByValency(const ParseResultList& results) {
  std::vector<CParseResult*> selected;
  int largest = 0;
  for (CParseResult* result : results) {
    const int valency = Valency(*result);
    if (valency < 0 || valency < largest) continue;
    if (valency > largest) selected.clear();
    largest = valency;
    selected.push_back(result);
  }
  if (selected.empty()) selected.assign(results.begin(), results.end());
  return selected;
}

// Compares the word categories of two analyses position by position over the
// positions both token lists hold: negative when candidate's category is
// smaller at the first difference, positive when larger, 0 when none differs.
int CompareWordCategories(const CParseResult& candidate, const CParseResult& kept, size_t positions) {
  const size_t common = std::min({positions, candidate.Names.Items.size(), kept.Names.Items.size()});
  for (size_t i = 0; i < common; ++i) {
    const int a = candidate.Names.Items[i]->Id;
    const int b = kept.Names.Items[i]->Id;
    if (a != b) return a > b ? 1 : -1;
  }
  return 0;
}

}  // namespace

bool CLFGParser::CollectParseOfEdge(CChartEdge* edge, bool checkCompleteness, ParseResultList& results) {
  if (edge == nullptr || !AcceptStartStructure(*this, *edge, checkCompleteness)) return false;
  CFSNode* root = CompleteStartStructure(*edge);
  if (ContainsFStructure(results, root)) return false;
  auto* handle = new CFSHandle(root, 1.0);
  handle->Normalize();
  auto* result = new CParseResult(handle, nullptr);
  result->CStructure = new CCSHandle(BuildCStructure(edge->production, &result->Names));
  results.push_back(result);
  return true;
}

// The token list of each result is filled with its words and their
// categories, so that the preference by categories has something to compare.
void CLFGParser::CollectParses(bool checkCompleteness, ParseResultList& results) {
  results.clear();
  if (columnCount == 0) return;
  for (CChartEdge* edge : columns[columnCount - 1].edges) CollectParseOfEdge(edge, checkCompleteness, results);
}

bool CLFGParser::SelectPreferredParses(ParseResultList& results) {
  if (results.empty()) return true;
  const std::vector<CParseResult*> byValency = SelectByValency(results);
  const size_t positions = columnCount > 0 ? columnCount - 1 : 0;
  std::vector<CParseResult*> kept{byValency.front()};
  for (size_t i = 1; i < byValency.size(); ++i) {
    const int order = CompareWordCategories(*byValency[i], *kept.front(), positions);
    if (order < 0) continue;
    if (order > 0) kept.clear();
    kept.push_back(byValency[i]);
  }
  // The results that were not kept belong to no one else: free them.
  const std::unordered_set<CParseResult*> keep(kept.begin(), kept.end());
  for (CParseResult* result : results) {
    if (keep.count(result) == 0) delete result;
  }
  results.assign(kept.begin(), kept.end());
  return true;
}

bool CLFGParser::ContainsFStructure(const ParseResultList& results, const CFSNode* node) const {
  if (node == nullptr) return false;
  return std::any_of(results.begin(), results.end(), [node](const CParseResult* result) {
    return result != nullptr && result->FStructure != nullptr && result->FStructure->root != nullptr &&
           result->FStructure->root->Equals(node);
  });
}
