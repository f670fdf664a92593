#include "analysis/xml/lfg_tree_printers.h"

#include <algorithm>
#include <vector>

#include "analysis/lfg/lfg_parser.h"
#include "analysis/lfg/lfg_start_edges.h"
#include "core/fs_handle.h"
#include "core/production.h"
#include "core/string_helpers.h"
#include "core/symbol_table.h"
#include "core/tree_item.h"
#include "platform/message_box.h"
#include "resources/lfg/grammar.h"

namespace {

constexpr char16_t kValueSeparator[] = u" ----- ";

bool IsDotMarker(const CProductionSymbol& symbol) { return !symbol.name.empty() && symbol.name.front() == u'.'; }

bool IsGeneratedCategory(const CLFGParser& parser, const CProductionSymbol& symbol) {
  if (parser.grammar == nullptr || symbol.kind != 0) return false;
  const WString& prefix = parser.grammar->GetPrefix();
  return !prefix.empty() && symbol.name.compare(0, prefix.size(), prefix) == 0;
}

WString DaughterLabel(const CProductionSymbol& daughter) {
  if (daughter.kind == 1 && !daughter.word.empty()) return daughter.name + kValueSeparator + daughter.word;
  return daughter.name;
}

WString AttributeName(const CFSNode& node) { return GetSymbolName(static_cast<SymbolId>(node.Attribute)); }

// Prints F-structure nodes, keeping the nodes of the current path: a node
// met again below itself (a structure that contains itself) gets its item
// but not its content a second time.
class FStructurePrinter {
 public:
  void Node(const CFSNode& node, TreeItem& parent) {
    WString text = AttributeName(node);
    for (SymbolId value : node.Value) text += kValueSeparator + GetSymbolName(value);
    TreeItem& item = parent.AddChild(text);
    item.Expanded = true;
    Content(node, item);
  }

  // The node's children below the item, then its set elements below an
  // item "SET".
  void Content(const CFSNode& node, TreeItem& item) {
    if (std::find(path_.begin(), path_.end(), &node) != path_.end()) return;
    path_.push_back(&node);
    for (const CFSNode* child : node.ChildList) {
      if (child != nullptr) Node(*child, item);
    }
    if (!node.SetElements.empty()) {
      TreeItem& set = item.AddChild(u"SET");
      set.Expanded = true;
      for (const CFSNode* element : node.SetElements) {
        if (element != nullptr) Node(*element, set);
      }
    }
    path_.pop_back();
  }

 private:
  std::vector<const CFSNode*> path_;
};

}  // namespace

int PrintCStructures(const CLFGParser& parser, TreeItem& tree) {
  int count = 0;
  for (const CChartEdge* edge : CompleteStartEdges(parser)) {
    TreeItem& heading = tree.AddChild(u"C-Structure # " + IntToWString(++count));
    PrintCStructureDaughters(parser, *edge, heading);
  }
  return count;
}

void PrintCStructureDaughters(const CLFGParser& parser, const CChartEdge& edge, TreeItem& parent) {
  if (edge.production == nullptr) return;
  for (const CProductionSymbol* daughter : edge.production->daughters) {
    if (daughter == nullptr || IsDotMarker(*daughter)) continue;
    if (IsGeneratedCategory(parser, *daughter)) {
      if (daughter->fillingEdge != nullptr) PrintCStructureDaughters(parser, *daughter->fillingEdge, parent);
      continue;
    }
    TreeItem& item = parent.AddChild(DaughterLabel(*daughter));
    item.Expanded = true;
    if (daughter->kind == 0 && daughter->fillingEdge != nullptr) {
      PrintCStructureDaughters(parser, *daughter->fillingEdge, item);
    }
  }
}

int PrintFStructures(CLFGParser& parser, TreeItem& tree) {
  int count = 0;
  for (CChartEdge* edge : CompleteStartEdges(parser)) {
    if (!AcceptStartStructure(parser, *edge, true)) continue;
    TreeItem& heading = tree.AddChild(u"F-Structure # " + IntToWString(++count));
    FStructurePrinter().Content(*CompleteStartStructure(*edge), heading);
  }
  if (count == 0) ShowMessage(u"Sentence could not be parsed", u"LFG Parser", MessageStyle::Ok);
  return count;
}

void PrintFStructureNode(const CFSNode& node, TreeItem& parent) { FStructurePrinter().Node(node, parent); }
