// The productions read back from the cfg file: annotated daughters, numbers,
// the production table by mother id, and the two indexes of the generator
// (productions by daughter category, attributes required of the mother).
#include <algorithm>
#include <utility>

#include "core/string_helpers.h"
#include "core/symbol_table.h"
#include "core/trace_log.h"
#include "resources/lfg/grammar.h"
#include "resources/lfg/lexicon.h"

namespace {

bool IsTerminalName(const WString& text) { return !text.empty() && text[0] >= u'a' && text[0] <= u'z'; }

// The state of one annotation: the token gathered so far, the left text of
// the item's operator and the item's equation (none before its operator).
struct AnnotationState {
  WString token;
  WString left;
  std::unique_ptr<CEquation> equation;
  bool inBraces = false;
};

void LogRejectedItem(const WString& why, const CProductionSymbol& daughter, const WString& annotation) {
  WriteTraceLog(u"Grammar annotation item " + why + u" rejected on " + daughter.name + u": " + annotation);
}

void StartEquation(AnnotationState& state, WChar op) {
  state.left = state.token;
  state.equation = std::make_unique<CEquation>();
  state.equation->op = op;
  state.equation->left = CLexicon::ParseOperand(state.left).release();
  state.token.clear();
}

// Ends one item. Every item gets its own equation: an item without an
// operator, without a right side or without a left side is rejected whole.
void EndItem(AnnotationState& state, CProductionSymbol& daughter, const WString& annotation) {
  std::unique_ptr<CEquation> equation = std::move(state.equation);
  const WString right = std::move(state.token);
  state.token.clear();
  if (right.empty()) {
    if (equation != nullptr) LogRejectedItem(u"without a right side", daughter, annotation);
    return;
  }
  if (equation == nullptr) {
    LogRejectedItem(u"without an operator", daughter, annotation);
    return;
  }
  if (equation->op == u'c') {
    daughter.constraints.push_back(u"[" + state.left + u" =c " + right + u"]");
    return;
  }
  equation->right = CLexicon::ParseOperand(right).release();
  if (equation->left == nullptr || equation->right == nullptr) {
    LogRejectedItem(u"with an empty side", daughter, annotation);
    return;
  }
  daughter.equations.push_back(equation.release());
}

// A bracketed constraint from its '[' or '~' to the ']' that closes it, kept
// whole as an item text. Returns the position of that ']' (or the end).
size_t ReadBracketedText(AnnotationState& state, CProductionSymbol& daughter, const WString& annotation, size_t start) {
  int depth = annotation[start] == u'[' ? 1 : 0;
  state.token += annotation[start];
  for (size_t i = start + 1; i < annotation.size(); ++i) {
    const WChar c = annotation[i];
    state.token += c;
    if (c == u'[') ++depth;
    if (c != u']' || --depth != 0) continue;
    daughter.constraints.push_back(std::move(state.token));
    state.token.clear();
    return i;
  }
  return annotation.size();
}

}  // namespace

std::unique_ptr<ProductionStore> CGrammar::BuildProductions(const RawProductionList& productions) {
  auto store = std::make_unique<ProductionStore>();
  for (const auto& raw : productions) {
    auto production = std::make_unique<CProduction>();
    production->mother = new CProductionSymbol();
    production->mother->name = raw->Lhs->Text;
    production->lookahead = raw->Lookahead;
    for (const CRawSymbol* symbol : raw->Rhs) {
      auto daughter = std::make_unique<CProductionSymbol>();
      daughter->name = TrimWString(symbol->Text);
      daughter->kind = IsTerminalName(daughter->name) ? 1 : 0;
      if (symbol->Flag == 0) CompileAnnotation(*daughter, symbol->Annotation);
      production->daughters.push_back(daughter.release());
    }
    const WString name = production->mother->name;
    store->emplace(name, std::move(production));
  }
  return store;
}

void CGrammar::CompileAnnotation(CProductionSymbol& daughter, const WString& annotation) {
  AnnotationState state;
  for (size_t i = 0; i < annotation.size(); ++i) {
    const WChar c = annotation[i];
    if (c == u'\t' || c == u' ') {
      if (!state.token.empty()) state.token += c;
    } else if (c == u'$') {
      StartEquation(state, u'$');
    } else if (c == u'=') {
      const bool constraining = i + 1 < annotation.size() && annotation[i + 1] == u'c';
      if (constraining) ++i;
      StartEquation(state, constraining ? u'c' : u'=');
    } else if (c == u',' && !state.inBraces) {
      EndItem(state, daughter, annotation);
    } else if (c == u'[' || c == u'~') {
      i = ReadBracketedText(state, daughter, annotation, i);
    } else {
      if (c == u'{') state.inBraces = true;
      if (c == u'}') state.inBraces = false;
      state.token += c;
    }
  }
  if (!state.token.empty() || state.equation != nullptr) EndItem(state, daughter, annotation);
}

void CGrammar::FileProduction(int16_t motherId, CProduction* production) {
  if (motherId <= 0) return;
  const auto slot = static_cast<size_t>(motherId);
  if (table_.size() <= slot) table_.resize(slot + 1);
  table_[slot].push_back(production);
}

bool CGrammar::AssignIds(CProduction& production) {
  const int16_t motherId = symbols_.GetId(production.mother->name, true);
  production.mother->id = static_cast<SymbolId>(motherId);
  for (CProductionSymbol* daughter : production.daughters) {
    if (daughter->name == u".") continue;
    daughter->id = daughter->kind == 1 ? GetSymbolId(daughter->name, true)
                                       : static_cast<SymbolId>(symbols_.GetId(daughter->name, true));
  }
  return motherId > 0;
}

void CGrammar::BuildProductionTable() {
  uint32_t counter = 1;
  for (auto& [name, production] : *store_) {
    production->number = ++counter;
    if (AssignIds(*production)) FileProduction(static_cast<int16_t>(production->mother->id), production.get());
  }
  // Every id has its slot, so every query below the id limit is in range.
  table_.resize(std::max(table_.size(), static_cast<size_t>(symbols_.GetIdLimit())));
}

// A category used but never defined means rules are missing: the rules
// or macros were cut or damaged, and the grammar is refused.
void CGrammar::WarnUndefinedCategories() {
  for (size_t id = 1; id < table_.size(); ++id) {
    if (!table_[id].empty()) continue;
    const WString name = symbols_.GetName(static_cast<int16_t>(id));
    WriteTraceLog(u"Grammar category used but never defined: " + name);
    if (damage_.empty()) damage_ = u"the category " + name + u" is used but never defined";
  }
}

bool CGrammar::BuildRhsIndex() {
  for (const ProductionList& slot : table_) {
    for (const CProduction* production : slot) {
      for (const CProductionSymbol* daughter : production->daughters) {
        if (daughter->kind == 0 && daughter->name != u".") AddRhsOccurrence(daughter->id, production->number);
      }
    }
  }
  return true;
}

bool CGrammar::AddRhsOccurrence(uint16_t categoryId, uint32_t productionNumber) {
  if (rhsIndex_ == nullptr || categoryId >= rhsIndex_->size()) return false;
  (*rhsIndex_)[categoryId].insert(productionNumber);
  return false;
}

bool CGrammar::IndexMotherAttributes() {
  for (const ProductionList& slot : table_) {
    for (CProduction* production : slot) {
      for (const CProductionSymbol* daughter : production->daughters) {
        if (daughter->equations.empty()) continue;
        const CEquationOperand* left = daughter->equations.front()->left;
        if (left == nullptr || left->kind != '^' || left->path.empty()) continue;
        production->AddMotherAttribute(left->path.front());
      }
    }
  }
  return true;
}
