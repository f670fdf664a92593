#include "analysis/xml/lfg_show_drivers.h"

#include <algorithm>

#include "analysis/lfg/lfg_parser.h"
#include "analysis/lfg/lfg_start_edges.h"
#include "analysis/lfg/set_expansion.h"
#include "analysis/xml/lfg_tree_printers.h"
#include "core/fs_handle.h"
#include "core/production.h"
#include "core/tree_item.h"
#include "platform/message_box.h"
#include "resources/lfg/lexicon_manager.h"

namespace {

void ReportNotParsed() { ShowMessage(u"Sentence could not be parsed", u"Language Parser", MessageStyle::Ok); }

bool CollectFStructures(CLFGParser& parser, const std::vector<ChartWord>& words, bool expand,
                        std::vector<CFSHandle*>& handles) {
  if (parser.BuildChart(words) == nullptr) return false;
  bool found = false;
  for (CChartEdge* edge : CompleteStartEdges(parser)) {
    if (CompleteStartStructure(*edge) == nullptr) continue;
    if (expand) ExpandSetsAndValues(edge->production->mother->fStructure);
    AddDistinctFStructure(handles, CompleteStartStructure(*edge));
    found = true;
  }
  return found;
}

}  // namespace

std::vector<ChartWord> ChartWordsOf(const SentenceEntryLists& entries) {
  std::vector<ChartWord> words;
  for (const LexicalEntryList& list : entries.lists) words.push_back(&list);
  return words;
}

bool ParseAndShowFStructures(CLFGParser& parser, const std::vector<ChartWord>& words, TreeItem& tree) {
  if (parser.BuildChart(words) == nullptr) {
    ReportNotParsed();
    return false;
  }
  return PrintFStructures(parser, tree) > 0;
}

bool ParseAndShowCStructures(CLFGParser& parser, const std::vector<ChartWord>& words, TreeItem& tree) {
  if (parser.BuildChart(words) == nullptr || PrintCStructures(parser, tree) == 0) {
    ReportNotParsed();
    return false;
  }
  return true;
}

bool CollectStartFStructures(CLFGParser& parser, const std::vector<ChartWord>& words,
                             std::vector<CFSHandle*>& handles) {
  return CollectFStructures(parser, words, false, handles);
}

bool CollectExpandedStartFStructures(CLFGParser& parser, const std::vector<ChartWord>& words,
                                     std::vector<CFSHandle*>& handles) {
  return CollectFStructures(parser, words, true, handles);
}

bool AddDistinctFStructure(std::vector<CFSHandle*>& handles, const CFSNode* node) {
  if (node == nullptr) return false;
  auto* copy = new CFSHandle(node->Clone(), 1.0);
  copy->Normalize();
  const bool known = std::any_of(handles.begin(), handles.end(), [copy](const CFSHandle* handle) {
    return handle != nullptr && handle->root != nullptr && handle->root->Equals(copy->root);
  });
  if (known) {
    delete copy;  // its nodes go with the node registry
    return false;
  }
  handles.push_back(copy);
  return true;
}
