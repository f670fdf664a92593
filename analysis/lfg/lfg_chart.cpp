// The Earley chart of the LFG parser. Every step that extends an edge works
// on a clone of the edge's production (annotations are evaluated into the
// clone's F-structures), so each edge carries its own F-structures and two
// edges over the same rule and span may differ in them.
#include <algorithm>
#include <cstdio>
#include <new>

#include "analysis/lfg/lfg_parser.h"
#include "core/fs_handle.h"
#include "core/parse_clock.h"
#include "core/production.h"
#include "core/sentence_memory.h"
#include "core/string_helpers.h"
#include "platform/message_box.h"
#include "platform/utf8.h"
#include "resources/lfg/grammar.h"
#include "resources/lfg/lexical_entry.h"

namespace {

const WString kStartCategory = u"S";

// Edge origins and ends are 16-bit column numbers.
constexpr size_t kMaxColumns = 0xFFFF;

bool SameMotherName(const CProduction& a, const CProduction& b) {
  return a.mother != nullptr && b.mother != nullptr && a.mother->name == b.mother->name;
}

bool DaughtersEqual(const CProduction& a, const CProduction& b) {
  for (size_t i = 0; i < a.daughters.size(); ++i) {
    if (!a.daughters[i]->IsEqual(b.daughters[i])) return false;
  }
  return true;
}

bool IsComplete(const CProduction& production) {
  return production.HasSingleDaughter() || production.IsDotOnLastDaughter();
}

}  // namespace

bool CLFGParser::StartChart(const std::vector<ChartWord>& words) {
  FreeChart();
  // The sentence's time limit and memory budget start with its chart; the
  // Urdu generator after it measures against the same start.
  ParseStartTime = ParseClock();
  BeginSentenceMemory(ParseStartTime);
  edgeLimitReached = false;
  CFSNode::ResetIdCounter();
  setElementCounter = 1;
  if (words.size() + 1 > kMaxColumns) return false;
  const auto count = static_cast<uint32_t>(words.size() + 1);
  columns.reset(new (std::nothrow) CChartColumn[count]);
  if (!columns) return false;
  columnCount = count;
  for (uint32_t i = 0; i + 1 < count; ++i) columns[i].word = words[i];
  columns[count - 1].word = nullptr;
  return true;
}

void CLFGParser::ProcessEdge(uint32_t columnIndex, CChartEdge* edge, uint32_t index) {
  CProduction* production = edge->production;
  if (production == nullptr) return;
  if (IsComplete(*production)) {
    CompleteEdge(edge, index);
    return;
  }
  const CProductionSymbol* symbol = production->GetSymbolAfterDot();
  if (symbol == nullptr) return;
  if (symbol->kind == 0) {
    Predictor(edge);
    return;
  }
  if (!Scanner(edge, columns[columnIndex].word)) edge->failed = 1;
}

// Edges added to a column while it is worked are worked too; indexes are
// used throughout because adding an edge may move the column's storage.
void CLFGParser::FillChart() {
  for (uint32_t i = 0; i < columnCount; ++i) {
    CChartColumn& column = columns[i];
    column.Reset();
    for (uint32_t j = 0; j < column.edges.size(); ++j) ProcessEdge(i, column.edges[j], j);
  }
  if (edgeLimitReached) {
    ShowMessage(u"The LFG chart reached its limit of " + IntToWString(static_cast<int>(maxChartEdges)) +
                    u" edges; the sentence is not parsed.",
                u"LFG Parser", MessageStyle::Ok);
  }
}

bool CLFGParser::Parse(const std::vector<ChartWord>& words, ParseResultList& results, bool checkCompleteness) {
  if (grammar == nullptr || !StartChart(words)) return false;
  ProductionList starts;
  if (!grammar->CollectProductions(grammar->GetCategoryId(kStartCategory), starts, nullptr)) return false;
  // The grammar hands out registered copies, which the edges take as theirs.
  for (CProduction* start : starts) {
    if (!AddEdge(start, 0, 0, false)) return false;
  }
  FillChart();
  if (edgeLimitReached) return false;
  CollectParses(checkCompleteness, results);
  SelectPreferredParses(results);
  return !results.empty();
}

CChartColumn* CLFGParser::BuildChart(const std::vector<ChartWord>& words) {
  if (grammar == nullptr || !StartChart(words)) return nullptr;
  std::unique_ptr<ProductionList> starts = grammar->GetProductionsByName(kStartCategory);
  if (!starts || starts->empty()) return nullptr;
  for (const CProduction* start : *starts) AddEdge(start->Clone(), 0, 0, false);
  FillChart();
  return columns.get();
}

bool CLFGParser::AddEdge(CProduction* production, uint32_t column, uint32_t origin, bool checkDuplicates) {
  if (column >= columnCount || origin >= columnCount) return false;
  if (checkDuplicates && IsDuplicateEdge(production, column, origin)) return false;
  if (edgeCount_ >= maxChartEdges) {
    edgeLimitReached = true;
    return false;
  }
  columns[column].edges.push_back(
      new CChartEdge(production, static_cast<uint16_t>(origin), static_cast<uint16_t>(column), 0, 0));
  ++edgeCount_;
  return true;
}

// An edge is a duplicate of another in the column with the same mother,
// origin, dot and daughters, F-structures included. Every candidate is
// looked at: candidates with a different mother structure may stand before
// the equal one.
bool CLFGParser::IsDuplicateEdge(const CProduction* production, uint32_t column, uint32_t origin) const {
  if (production == nullptr || column >= columnCount || origin >= columnCount) return false;
  for (const CChartEdge* edge : columns[column].edges) {
    const CProduction* other = edge->production;
    if (other == nullptr || !SameMotherName(*other, *production)) continue;
    if (edge->origin != origin || other->dot != production->dot) continue;
    if (other->daughters.size() != production->daughters.size()) continue;
    if (other->mother->IsEqual(production->mother) && DaughtersEqual(*other, *production)) return true;
  }
  return false;
}

bool CLFGParser::Predictor(CChartEdge* edge) {
  if (edge == nullptr || edge->production == nullptr || grammar == nullptr) return false;
  const CProductionSymbol* symbol = edge->production->GetSymbolAfterDot();
  if (symbol == nullptr) return false;
  ProductionList predicted;
  grammar->CollectPredictedProductions(static_cast<int16_t>(symbol->id), columns[edge->end].word, predicted);
  if (predicted.empty()) return false;
  for (const CProduction* production : predicted) {
    if (production->HasSingleDaughter() && IsDuplicateEdge(production, edge->end, edge->origin)) continue;
    CProduction* clone = production->Clone();
    clone->ResetDot();
    clone->mother->fStructure = new CFSHandle(nullptr, 0.0);
    const bool added = AddEdge(clone, edge->end, edge->end, true);
    Trace(added ? u"Predictor" : u"Not Loaded", clone, edge->end, edge->end);
  }
  return true;
}

bool CLFGParser::Scanner(CChartEdge* edge, ChartWord word) {
  if (edge == nullptr || edge->production == nullptr || word == nullptr) return false;
  std::unique_ptr<LexicalEntryPtrList> entries = FindLexicalEntries(word, edge->production->GetSymbolAfterDot());
  if (!entries) return false;
  for (const CLexicalEntry* entry : *entries) {
    CProduction* clone = edge->production->Clone();
    if (clone == nullptr || !BuildLexicalFStructure(clone, entry, edge->end)) continue;
    clone->GetSymbolAfterDot()->word = entry->word;
    if (!EvaluateAnnotations(clone, clone)) continue;
    clone->MoveDot();
    const bool added = AddEdge(clone, edge->end + 1u, edge->origin, false);
    Trace(added ? u"Scanner" : u"Not Loaded", clone, edge->end + 1u, edge->origin);
  }
  return true;
}

std::unique_ptr<LexicalEntryPtrList> CLFGParser::FindLexicalEntries(ChartWord word,
                                                                    const CProductionSymbol* symbol) const {
  if (word == nullptr || symbol == nullptr || grammar == nullptr) return nullptr;
  const SymbolId category = GetSymbolId(symbol->name, false);
  auto found = std::make_unique<LexicalEntryPtrList>();
  for (CLexicalEntry* entry : *word) {
    if (entry != nullptr && static_cast<SymbolId>(entry->category) == category) found->push_back(entry);
  }
  if (found->empty()) return nullptr;
  return found;
}

bool CLFGParser::CompleteEdge(CChartEdge* edge, uint32_t index) {
  if (edge == nullptr || edge->production == nullptr || edge->production->mother == nullptr) return false;
  if (edge->origin >= columnCount) return false;
  const WString name = edge->production->mother->name;
  CChartColumn& origin = columns[edge->origin];
  if (edge->production->HasSingleDaughter()) {
    // An empty production completes in its own column: the edges waiting for
    // it stand before it there.
    for (uint32_t k = std::min<size_t>(index, origin.edges.size()); k-- > 0;) {
      CChartEdge* waiting = origin.edges[k];
      if (!Completer(edge, waiting->production, name, waiting, true)) break;
    }
    return true;
  }
  const size_t count = origin.edges.size();
  for (size_t k = 0; k < count; ++k) {
    CChartEdge* waiting = origin.edges[k];
    if (!Completer(edge, waiting->production, name, waiting, false)) break;
  }
  return true;
}

bool CLFGParser::Completer(CChartEdge* completed, CProduction* waiting, const WString& name, CChartEdge* waitingEdge,
                           bool backward) {
  if (completed == nullptr || completed->production == nullptr || waiting == nullptr || waitingEdge == nullptr) {
    return true;
  }
  if (waiting->HasSingleDaughter()) return !(backward && SameMotherName(*waiting, *completed->production));
  if (waiting == completed->production) return false;
  if (completed->failed != 0 || waiting->IsDotOnLastDaughter()) return true;
  const CProductionSymbol* symbol = waiting->GetSymbolAfterDot();
  if (symbol == nullptr || symbol->name != name) return true;
  CProduction* clone = waiting->Clone();
  if (clone == nullptr || !EvaluateAnnotations(clone, completed->production)) return true;
  clone->GetSymbolAfterDot()->fillingEdge = completed;
  clone->MoveDot();
  const bool added = AddEdge(clone, completed->end, waitingEdge->origin, false);
  Trace(added ? u"Completer" : u"Not Loaded", clone, completed->end, waitingEdge->origin);
  return true;
}

namespace {

std::string ProductionText(const CProduction& production) {
  std::string text = production.mother != nullptr ? ToUtf8(production.mother->name) : "?";
  text += " ->";
  for (size_t i = 0; i < production.daughters.size(); ++i) {
    if (i == production.dot) text += " @";
    text += " " + ToUtf8(production.daughters[i]->name);
  }
  return text;
}

void PrintEdgeHead(const CChartEdge& edge) {
  std::printf("[%d,%d] %c ", edge.origin, edge.end, edge.failed != 0 ? 'F' : ' ');
}

}  // namespace

void CLFGParser::DumpChart() const {
  for (uint32_t i = 0; i < columnCount; ++i) {
    for (const CChartEdge* edge : columns[i].edges) {
      PrintEdgeHead(*edge);
      std::printf("%s\n", edge->production != nullptr ? ProductionText(*edge->production).c_str() : "");
    }
  }
}

void CLFGParser::DumpCompleteParses() const {
  if (columnCount == 0) return;
  for (const CChartEdge* edge : columns[columnCount - 1].edges) {
    const CProduction* production = edge->production;
    if (production == nullptr || production->mother == nullptr || production->mother->name != kStartCategory) continue;
    if (!production->IsDotOnLastDaughter()) continue;
    PrintEdgeHead(*edge);
    std::printf("\n");
    PrintEdgeTree(edge, 0);
  }
}

void CLFGParser::PrintEdgeTree(const CChartEdge* edge, int depth) const {
  if (edge == nullptr || edge->production == nullptr) return;
  for (const CProductionSymbol* daughter : edge->production->daughters) {
    std::printf("%*s%s", depth * 2, "", daughter->name == u"." ? "." : ToUtf8(daughter->name).c_str());
    if (!daughter->word.empty()) std::printf(" %s", ToUtf8(daughter->word).c_str());
    std::printf("\n");
    PrintEdgeTree(daughter->fillingEdge, depth + 1);
  }
}
