// Scanning a terminal: the word from the node's PRED (or the terminal's own
// name), its entries from the Urdu lexicon or from the word generator, and
// one advanced edge per entry whose equations fit the structure.
#include <algorithm>
#include <memory>
#include <vector>

#include "analysis/lfg/chart_edge.h"
#include "analysis/lfg/lfg_parser.h"
#include "core/fs_node.h"
#include "core/production.h"
#include "core/symbol_table.h"
#include "resources/lfg/lexical_entry.h"
#include "resources/lfg/lexicon.h"
#include "transfer/generation/entry_value_check.h"
#include "transfer/generation/urdu_sentence_generator.h"
#include "transfer/generation/word_forms.h"

namespace {

// The word of a PRED: the names of its VALUE joined with blanks; a word
// written between apostrophes loses them.
WString WordOfPredValue(const CFSNode& valueNode) {
  WString word;
  for (size_t i = 0; i < valueNode.Value.size(); ++i) {
    if (i > 0) word += u' ';
    word += GetSymbolName(valueNode.Value[i]);
  }
  if (word.size() >= 2 && word.front() == u'\'' && word.back() == u'\'') word = word.substr(1, word.size() - 2);
  return word;
}

// Gives the consumed flag to every ancestor up to the first that has it.
void ConsumeAncestors(CFSNode* node) {
  for (CFSNode* ancestor = node != nullptr ? node->GetParent(false) : nullptr;
       ancestor != nullptr && ancestor->GenerationMark == 0; ancestor = ancestor->GetParent(false)) {
    ancestor->GenerationMark = 1;
  }
}

// Gives the consumed flag to every ancestor that lacks it.
void ConsumeEveryAncestor(CFSNode* node) {
  for (CFSNode* ancestor = node != nullptr ? node->GetParent(false) : nullptr; ancestor != nullptr;
       ancestor = ancestor->GetParent(false)) {
    ancestor->GenerationMark = 1;
  }
}

bool StartsWithPred(const CEquation& equation) {
  return equation.left != nullptr && !equation.left->path.empty() && equation.left->path.front() == PredId;
}

}  // namespace

void CUrduSentenceGenerator::Scan(CChartEdge* edge, CProductionSymbol* terminal) {
  if (terminal->equations.empty()) return;
  UnifyEquation(terminal->equations.front(), edge, terminal, true, false);
  if (terminal->generatorNode == nullptr) return;
  terminal->generatorNode->GenerationMark = 1;
  ScanTerminal(edge, terminal);
}

// An entry fits the PRED's frame when its own PRED lists the same governable
// functions: every value after the lemma is among the GF values and every
// GF value is among the entry's. An entry without a PRED equation with a
// right side never fits.
bool CUrduSentenceGenerator::PassesFrameFilter(const CLexicalEntry& entry, const CFSNode* gfNode) const {
  if (entry.equations.empty() || entry.equations.front() == nullptr || entry.equations.front()->right == nullptr) {
    return false;
  }
  const std::vector<SymbolId>& frame = entry.equations.front()->right->path;
  for (size_t i = 1; i < frame.size(); ++i) {
    if (std::find(gfNode->Value.begin(), gfNode->Value.end(), frame[i]) == gfNode->Value.end()) return false;
  }
  for (SymbolId function : gfNode->Value) {
    if (std::find(frame.begin(), frame.end(), function) == frame.end()) return false;
  }
  return true;
}

// The entry's conditions and its equations other than PRED, on the node.
bool CUrduSentenceGenerator::ApplyEntry(const CLexicalEntry& entry, CFSNode* node) {
  for (const WString& condition : entry.constraints) {
    if (lfgParser_ == nullptr || !lfgParser_->EvaluateCondition(condition, node, node)) return false;
  }
  for (const CEquation* equation : entry.equations) {
    if (equation == nullptr || StartsWithPred(*equation)) continue;
    if (!ApplyEquation(equation, node, node, false)) return false;
  }
  return true;
}

bool CUrduSentenceGenerator::ScanTerminal(CChartEdge* edge, CProductionSymbol* terminal) {
  CFSNode* node = terminal->generatorNode;
  if (node == nullptr) return false;
  node->GenerationMark = 1;
  // 1. The word.
  const bool headless = headlessPredicates_.count(terminal->id) != 0;
  WString word = terminal->name;
  if (!headless) {
    CFSNode* pred = node->FindAttribute(PredId);
    CFSNode* value = pred != nullptr ? pred->FindAttribute(ValueId) : nullptr;
    if (value == nullptr) return false;
    pred->GenerationMark = 1;
    value->GenerationMark = 1;
    word = WordOfPredValue(*value);
  }
  // 2. The lexicon's entries of the terminal's category, kept when they fit
  // the PRED's frame.
  bool inLexicon = false;
  std::vector<CLexicalEntry*> entries;
  if (urduLexicon_ != nullptr) {
    if (auto found = urduLexicon_->LookupWordWithCategory(word, terminal->name, &inLexicon)) entries = *found;
  }
  const CFSNode* pred = node->FindAttribute(PredId);
  const CFSNode* gfNode = pred != nullptr ? pred->FindAttribute(GfId) : nullptr;
  if (!headless && gfNode != nullptr) {
    std::erase_if(entries, [&](const CLexicalEntry* entry) { return !PassesFrameFilter(*entry, gfNode); });
  }
  // 3. A word the lexicon does not hold at all is inflected by the rules.
  WordForms wordForms;
  if (entries.empty()) {
    if (inLexicon) return false;
    wordForms = InflectWord(node, terminal->name, word);
    entries = wordForms.Entries();
    if (entries.empty()) {
      ConsumeAncestors(node);
      return true;
    }
  }
  // 4. and 5. One advanced edge per entry that fits.
  if (entries.size() == 1) {
    const CLexicalEntry& entry = *entries.front();
    if (!ApplyEntry(entry, node)) return false;
    if (CheckConstraints(edge->fStructure, node, terminal, false) &&
        ApplyDaughterEquations(*terminal, edge->fStructure, node, false)) {
      CProduction* advanced = edge->production->Clone();
      advanced->GetSymbolAfterDot()->word = entry.word;
      advanced->MoveDot();
      AddEdge(agenda_, new CChartEdge(edge->fStructure, advanced, edge->origin, edge->end + 1, 1, 0), true);
    }
    ConsumeAncestors(node);
    return true;
  }
  // An entry bound in a copy has already flagged every ancestor of its node,
  // so only a scan that bound none flags the node's own ancestors.
  if (!ScanEachEntry(edge, entries)) ConsumeAncestors(node);
  // 6. The entries are released when wordForms goes.
  return true;
}

// The node a copy of the edge binds its daughter at the dot to, read off the
// edge itself, when the binding only follows a path ("(^ path) = !" or no
// equation); null otherwise.
const CFSNode* CUrduSentenceGenerator::BindingByPath(const CChartEdge& edge) {
  const CProductionSymbol* daughter = edge.production != nullptr ? edge.production->GetSymbolAfterDot() : nullptr;
  if (daughter == nullptr || edge.fStructure == nullptr) return nullptr;
  if (daughter->equations.empty()) return edge.fStructure;
  const CEquation* binding = daughter->equations.front();
  if (binding == nullptr || binding->left == nullptr || binding->right == nullptr || binding->op != u'=' ||
      binding->right->kind != '!' || !binding->right->path.empty()) {
    return nullptr;
  }
  return binding->left->path.empty() ? edge.fStructure : edge.fStructure->FindPath(&binding->left->path, true);
}

// Each entry works on its own copy of the edge and its structure: the
// daughter at the dot is bound afresh in the copy. The copies are made from
// one snapshot of the edge, taken when the first entry needs a copy. Which
// entries ask for values the bound node excludes is read off the edge
// before that, while nothing has changed it; those get no copy. True when
// some entry was bound.
bool CUrduSentenceGenerator::ScanEachEntry(CChartEdge* edge, const std::vector<CLexicalEntry*>& entries) {
  const CFSNode* boundNode = BindingByPath(*edge);
  std::vector<char> clashes(entries.size(), 0);
  for (size_t i = 0; i < entries.size() && boundNode != nullptr; ++i) {
    clashes[i] = EntryValuesClash(*entries[i], *boundNode) ? 1 : 0;
  }
  std::unique_ptr<CChartEdge> base;
  bool boundAny = false;
  for (size_t i = 0; i < entries.size(); ++i) {
    const CLexicalEntry* entry = entries[i];
    if (clashes[i] != 0) {
      // The copy's binding would have flagged its ancestors, up through
      // those above the edge's node, which copies share with the edge.
      boundAny = true;
      ConsumeEveryAncestor(edge->fStructure);
      continue;
    }
    if (base == nullptr) base.reset(edge->Clone());
    std::unique_ptr<CChartEdge> copy(base->Clone());
    CProductionSymbol* daughter = copy->production->GetSymbolAfterDot();
    daughter->generatorNode = nullptr;
    if (!BindDaughter(copy.get()) || daughter->generatorNode == nullptr) continue;
    CFSNode* bound = daughter->generatorNode;
    boundAny = true;
    bound->GenerationMark = 1;
    ConsumeEveryAncestor(bound);
    if (!ApplyEntry(*entry, bound)) continue;
    if (!CheckConstraints(copy->fStructure, bound, daughter, false)) continue;
    if (!ApplyDaughterEquations(*daughter, copy->fStructure, bound, false)) continue;
    daughter->word = entry->word;
    copy->production->MoveDot();
    copy->origin = edge->origin;
    copy->end = static_cast<uint16_t>(edge->end + 1);
    AddEdge(agenda_, copy.release(), true);
  }
  return boundAny;
}
