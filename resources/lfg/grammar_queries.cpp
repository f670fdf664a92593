// What the LFG chart parser and the Urdu generator ask of a built grammar,
// and the one change after construction: splitting disjunctive item texts
// into alternative productions.
#include <unordered_set>
#include <utility>

#include "core/fs_node.h"
#include "core/string_helpers.h"
#include "resources/lfg/grammar.h"
#include "resources/lfg/lexical_entry.h"

namespace {

// Brackets an alternative that lost them: "x" becomes "[x]".
WString WrapItemText(WString text) {
  if (text.empty() || (text.front() != u'[' && text.front() != u'~')) text.insert(text.begin(), u'[');
  if (text.back() != u']') text += u']';
  return text;
}

bool HasEveryAttribute(const CFSNode& structure, const std::set<SymbolId>& attributes) {
  for (SymbolId attribute : attributes) {
    if (structure.FindAttribute(attribute) == nullptr) return false;
  }
  return true;
}

bool MeetsCategories(const std::set<SymbolId>& lookahead, const std::unordered_set<SymbolId>& categories) {
  for (SymbolId id : lookahead) {
    if (categories.count(id) != 0) return true;
  }
  return false;
}

// The alternatives of "[a | b | c]" after its first one: each trimmed and
// bracketed. The units next to a bar are kept; only blanks are dropped.
std::vector<WString> SplitAlternatives(WString rest) {
  std::vector<WString> alternatives;
  for (size_t bar = rest.find(u'|'); bar != WString::npos; bar = rest.find(u'|')) {
    alternatives.push_back(WrapItemText(TrimWString(rest.substr(0, bar))));
    rest = TrimWString(rest.substr(bar + 1));
  }
  alternatives.push_back(WrapItemText(TrimWString(rest)));
  return alternatives;
}

// Splits the item text of a production in place: the production keeps the
// first alternative and the others are returned, in order. Empty when the
// production, the indexes or the bar position do not fit.
std::vector<WString> SplitDisjunction(CProduction* production, size_t itemIndex, size_t daughterIndex,
                                      const WString& text, size_t barPosition) {
  if (production == nullptr || daughterIndex >= production->daughters.size()) return {};
  if (itemIndex >= production->daughters[daughterIndex]->constraints.size()) return {};
  if (barPosition == 0 || barPosition >= text.size()) return {};
  // The first alternative stays in place, without the opening bracket.
  WString rest = text.substr(barPosition + 1);
  if (!rest.empty() && rest.back() == u']') rest.pop_back();
  production->daughters[daughterIndex]->constraints[itemIndex] =
      WrapItemText(TrimWString(text.substr(1, barPosition - 1)));
  return SplitAlternatives(std::move(rest));
}

// A copy of the production with another text in one item.
std::unique_ptr<CProduction> CopyWithItem(const CProduction& production, size_t itemIndex, size_t daughterIndex,
                                          WString text) {
  std::unique_ptr<CProduction> copy = production.Copy();
  copy->daughters[daughterIndex]->constraints[itemIndex] = std::move(text);
  return copy;
}

// The first item text of a production that lists alternatives, as
// (daughter, item, position of the bar); false when there is none.
bool FindDisjunction(const CProduction& production, size_t& daughterIndex, size_t& itemIndex, WString& text,
                     size_t& bar) {
  for (size_t j = 0; j < production.daughters.size(); ++j) {
    const std::vector<WString>& items = production.daughters[j]->constraints;
    for (size_t k = 0; k < items.size(); ++k) {
      text = TrimWString(items[k]);
      bar = text.find(u'|');
      if (bar == WString::npos || bar == 0) continue;
      daughterIndex = j;
      itemIndex = k;
      return true;
    }
  }
  return false;
}

// Calls expand with the first disjunction of each production that has one.
// The list is taken by value: the copies that expand adds to the grammar
// are not visited, and the grammar's own list may grow meanwhile.
template <typename Expand>
void ExpandFirstDisjunctions(const ProductionList productions, Expand expand) {
  for (CProduction* production : productions) {
    size_t daughter = 0, item = 0, bar = 0;
    WString text;
    if (FindDisjunction(*production, daughter, item, text, bar)) expand(production, item, daughter, text, bar);
  }
}

}  // namespace

const ProductionList* CGrammar::Slot(int16_t categoryId) const {
  if (categoryId <= 0 || static_cast<size_t>(categoryId) >= table_.size()) return nullptr;
  return &table_[static_cast<size_t>(categoryId)];
}

bool CGrammar::GetProductions(int16_t categoryId, ProductionList& out) const {
  const ProductionList* slot = Slot(categoryId);
  out = slot != nullptr ? *slot : ProductionList();
  return !out.empty();
}

bool CGrammar::FindProductions(int16_t categoryId, ProductionList& out, const CFSNode* structure) const {
  const ProductionList* slot = Slot(categoryId);
  if (slot == nullptr) return false;
  const size_t before = out.size();
  for (CProduction* production : *slot) {
    if (structure != nullptr && !HasEveryAttribute(*structure, production->motherAttributes)) continue;
    out.push_back(production);
  }
  return out.size() > before;
}

bool CGrammar::CollectProductions(int16_t categoryId, ProductionList& out, const CFSNode* structure) const {
  ProductionList own;
  if (!FindProductions(categoryId, own, structure)) return !out.empty();
  for (const CProduction* production : own) out.push_back(production->Clone());
  return !out.empty();
}

bool CGrammar::CollectPredictedProductions(int16_t categoryId, const std::vector<CLexicalEntry*>* entries,
                                           ProductionList& out) const {
  if (entries == nullptr) return CollectProductions(categoryId, out, nullptr);
  ProductionList productions;
  if (!GetProductions(categoryId, productions)) return false;
  AppendPredicted(productions, *entries, out);
  return !out.empty();
}

bool CGrammar::CollectPredictedProductionsByName(const WString& name, const std::vector<CLexicalEntry*>* entries,
                                                 ProductionList& out) const {
  const std::unique_ptr<ProductionList> productions = GetProductionsByName(name);
  if (productions == nullptr || productions->empty()) return false;
  if (entries == nullptr) {
    out.insert(out.end(), productions->begin(), productions->end());
  } else {
    AppendPredicted(*productions, *entries, out);
  }
  return !out.empty();
}

void CGrammar::AppendPredicted(const ProductionList& productions, const std::vector<CLexicalEntry*>& entries,
                               ProductionList& out) {
  std::unordered_set<SymbolId> categories;
  for (const CLexicalEntry* entry : entries) {
    if (entry != nullptr) categories.insert(static_cast<SymbolId>(entry->category));
  }
  for (CProduction* production : productions) {
    if (MeetsCategories(production->lookahead, categories)) out.push_back(production);
  }
}

std::unique_ptr<ProductionList> CGrammar::GetProductionsByName(const WString& name) const {
  if (store_ == nullptr) return nullptr;
  auto productions = std::make_unique<ProductionList>();
  const auto [first, last] = store_->equal_range(TrimWString(name));
  for (auto entry = first; entry != last; ++entry) productions->push_back(entry->second.get());
  return productions;
}

int16_t CGrammar::GetCategoryId(const WString& name) { return symbols_.GetId(name, true); }

bool CGrammar::GetProductionsUsingCategory(uint16_t categoryId, std::vector<uint32_t>& out) const {
  if (rhsIndex_ == nullptr || categoryId >= rhsIndex_->size()) return false;
  const std::set<uint32_t>& numbers = (*rhsIndex_)[categoryId];
  if (numbers.empty()) return false;
  out.insert(out.end(), numbers.begin(), numbers.end());
  return !out.empty();
}

bool CGrammar::ExpandDisjunctions() {
  // Every slot is visited: a category without productions (used but never
  // defined) does not hide the ones after it.
  for (size_t id = 1; id < table_.size(); ++id) {
    ExpandFirstDisjunctions(
        table_[id], [this](CProduction* production, size_t item, size_t daughter, const WString& text, size_t bar) {
          ExpandDisjunction(production, item, daughter, text, bar);
        });
  }
  return true;
}

bool CGrammar::ExpandDisjunction(CProduction* production, size_t itemIndex, size_t daughterIndex, const WString& text,
                                 size_t barPosition) {
  std::vector<WString> alternatives = SplitDisjunction(production, itemIndex, daughterIndex, text, barPosition);
  if (alternatives.empty()) return false;
  const int16_t motherId = symbols_.GetId(production->mother->name, true);
  for (WString& alternative : alternatives) {
    std::unique_ptr<CProduction> copy = CopyWithItem(*production, itemIndex, daughterIndex, std::move(alternative));
    FileProduction(motherId, copy.get());
    alternatives_.push_back(std::move(copy));
  }
  return true;
}

std::vector<const CProduction*> CGrammar::AllProductions() const {
  std::vector<const CProduction*> all;
  if (store_ != nullptr) {
    for (const auto& [mother, production] : *store_) all.push_back(production.get());
  }
  for (const auto& production : alternatives_) all.push_back(production.get());
  return all;
}

bool CGrammar::ExpandStoreDisjunctions() {
  if (store_ == nullptr) return false;
  ProductionList productions;
  for (const auto& [name, production] : *store_) productions.push_back(production.get());
  ExpandFirstDisjunctions(
      productions, [this](CProduction* production, size_t item, size_t daughter, const WString& text, size_t bar) {
        ExpandStoreDisjunction(production, item, daughter, text, bar);
      });
  return true;
}

bool CGrammar::ExpandStoreDisjunction(CProduction* production, size_t itemIndex, size_t daughterIndex,
                                      const WString& text, size_t barPosition) {
  if (store_ == nullptr) return false;
  std::vector<WString> alternatives = SplitDisjunction(production, itemIndex, daughterIndex, text, barPosition);
  if (alternatives.empty()) return false;
  // A multimap puts an equal key after the ones it holds: the copies follow
  // the mother's other productions.
  const WString mother = production->mother->name;
  for (WString& alternative : alternatives) {
    store_->emplace(mother, CopyWithItem(*production, itemIndex, daughterIndex, std::move(alternative)));
  }
  return true;
}
