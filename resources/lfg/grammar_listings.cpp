// Developer listings of the grammar: what the compiler read, how many
// productions each category has, the productions with their annotations, a
// bounded walk of the derivations from "S", and the ids of the categories.
// Nothing in the translation calls them; grammar writers reach them through
// the translator's developer option (see grammar_listings.h).
#include <vector>

#include "core/file_writer.h"
#include "core/string_helpers.h"
#include "platform/utf8.h"
#include "resources/lfg/grammar.h"

namespace {

// The derivation walk stops after this many productions: the grammar is
// recursive, and the walk keeps no record of what it has listed.
constexpr size_t kDerivationStackLimit = 300;

bool IsRuleEnd(const CProductionSymbol& symbol) { return symbol.name == u"."; }

WString NameWithId(const WString& name, SymbolId id) { return name + u"(" + IntToWString(id) + u")"; }

// "M(id) -> D(id) D(id) " without the rule end.
WString DerivationText(const CProduction& production) {
  WString text = NameWithId(production.mother->name, production.mother->id) + u" -> ";
  for (const CProductionSymbol* daughter : production.daughters) {
    if (!IsRuleEnd(*daughter)) text += NameWithId(daughter->name, daughter->id) + u" ";
  }
  return text;
}

// "<name>:<equations>[ , <item text>]...; " for one daughter.
WString AnnotatedDaughterText(const CProductionSymbol& daughter) {
  WString text = daughter.name + u":";
  for (size_t i = 0; i < daughter.equations.size(); ++i) {
    if (i > 0) text += u", ";
    text += daughter.equations[i]->ToString();
  }
  for (const WString& item : daughter.constraints) text += u" , " + item;
  return text + u"; ";
}

void PrintUtf8(std::FILE* out, const WString& text) { std::fputs(ToUtf8(text).c_str(), out); }

}  // namespace

void CGrammar::PrintRawProductions(const RawProductionList& productions, std::FILE* out) {
  for (const auto& production : productions) {
    PrintUtf8(out, u"\n" + (production->Lhs != nullptr ? production->Lhs->Text : WString()) + u" ==> ");
    for (const CRawSymbol* symbol : production->Rhs) {
      PrintUtf8(out, u"\t\t" + symbol->Text + u" " + symbol->Annotation + u" \n");
    }
  }
  std::fflush(out);
}

void CGrammar::PrintProductionCounts(std::FILE* out) const {
  if (store_ != nullptr) {
    for (auto entry = store_->begin(); entry != store_->end(); entry = store_->upper_bound(entry->first)) {
      const auto count = static_cast<int>(store_->count(entry->first));
      PrintUtf8(out, u"\n" + entry->first + u": " + IntToWString(count) + u"\n");
    }
  }
  PrintUtf8(out, u"\n");
  std::fflush(out);
}

void CGrammar::WriteProductionListing(const std::string& path) const {
  CFileWriter writer(path);
  if (!writer.IsOpen() || store_ == nullptr) return;
  for (const auto& [name, production] : *store_) {
    WString line = production->mother->name + u" ==> ";
    const std::vector<CProductionSymbol*>& daughters = production->daughters;
    for (size_t i = 0; i + 1 < daughters.size(); ++i) line += AnnotatedDaughterText(*daughters[i]);
    writer.Write(line + u"\r\n");
  }
}

void CGrammar::WriteDerivationStack(const std::string& path) const {
  CFileWriter writer(path);
  if (!writer.IsOpen()) return;
  std::unique_ptr<ProductionList> start = GetProductionsByName(u"S");
  std::vector<const CProduction*> stack;  // top at the back
  if (start != nullptr) stack.assign(start->begin(), start->end());
  for (size_t written = 0; written < kDerivationStackLimit && !stack.empty(); ++written) {
    const CProduction* production = stack.back();
    stack.pop_back();
    writer.Write(DerivationText(*production) + u"\r\n");
    for (const CProductionSymbol* daughter : production->daughters) {
      if (daughter->kind != 0 || IsRuleEnd(*daughter) || daughter->name == production->mother->name) continue;
      const ProductionList* slot = Slot(static_cast<int16_t>(daughter->id));
      if (slot != nullptr) stack.insert(stack.end(), slot->begin(), slot->end());
    }
  }
}

void CGrammar::WriteProductionNumbers(const std::string& path) const {
  CFileWriter writer(path);
  if (!writer.IsOpen() || store_ == nullptr) return;
  for (const auto& [name, production] : *store_) {
    writer.Write(production->mother->name + u"\t" + IntToWString(production->mother->id) + u"\r\n");
  }
}

void CGrammar::WriteNumberedProductions(const std::string& path) const {
  CFileWriter writer(path);
  if (!writer.IsOpen()) return;
  for (size_t slot = 0; slot < table_.size(); ++slot) {
    for (const CProduction* production : table_[slot]) {
      writer.Write(IntToWString(static_cast<int>(slot)) + u". " + DerivationText(*production) + u"\r\n");
    }
  }
}

void CGrammar::DeleteRawProductions(std::unique_ptr<RawProductionList> productions) {
  if (productions == nullptr) return;
  for (auto& production : *productions) production.reset();
  productions.reset();
}
