// P_Grammar: construction, the compile passes in their order, the part-of-
// speech and category tables and the queries of the CFG parser.
#include "resources/english/p_grammar.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>

#include "constraints/p_fs_compiler.h"
#include "core/config_store.h"
#include "core/string_helpers.h"
#include "core/symbol_table.h"
#include "platform/file_system.h"
#include "resources/compiled_errors.h"

namespace {

constexpr WChar kCaption[] = u"Grammar Compiler";
constexpr char kStartCategory[] = "S'";
// Category masks hold parts of speech 0 to 63.
constexpr int kMaskBits = 64;

bool IsRuleEnd(const CRawSymbol* symbol) {
  return symbol->Flag != 0 && symbol->Text.size() == 1 && symbol->Text[0] == u'.';
}

void AddName(std::vector<WString>& names, const WString& name, bool& changed) {
  if (std::find(names.begin(), names.end(), name) != names.end()) return;
  names.push_back(name);
  changed = true;
}

}  // namespace

P_Grammar::P_Grammar(const std::string& rulesFileName, const std::string& macrosFileName,
                     const std::string& lfgFileName, const std::string& cfgFileName, int /*unused*/) {
  try {
    if (GetConfigValue("CompileP_Grammar", true) == "yes") {
      Compile(rulesFileName, macrosFileName, lfgFileName, cfgFileName);
    } else {
      ReadDump();
    }
  } catch (const CCompileError& error) {
    Clear();
    failed_ = true;
    failureText_ = error.what();
  }
}

P_Grammar::~P_Grammar() = default;

void P_Grammar::Clear() {
  lhsIndex_.clear();
  productions_.clear();
  startCategoryId_ = kNoCategory;
  categoryNames_.clear();
  categoryIds_.clear();
  posNames_.clear();
  posIds_.clear();
}

void P_Grammar::Compile(const std::string& rules, const std::string& macros, const std::string& lfg,
                        const std::string& cfg) {
  // Faults are reported against the rules file that is edited, not the
  // expanded file made from it.
  rulesFile_ = rules;
  ExpandMacros(rules, macros, lfg, false);
  generatedPrefix_ = kGeneratedPrefix;
  P_RawProductionList list = TokenizeRules(lfg);
  if (list.empty()) FailCompile(u"The grammar holds no rule.", kCaption, "No rules", CompileLocation(rules));
  ExpandRuleGroups(list);
  const std::set<WString> nullable = ComputeNullableCategories(list, CollectEmptyProductionLHS(list));
  ComputeFirstSets(list, nullable);
  ReadPOSList(GetConfigValue("POSs"));
  AddCategoryNames(list);
  BuildCompiledProductions(list);
  BuildLHSIndex();
  PrintProductions(cfg, list);
  WriteNormalizedGrammar(GetConfigValue("ncfgFileName"));
  stamp_ = MakeCompileStamp();
  WriteDump();
}

bool P_Grammar::IsCategoryName(const WString& name) { return name.empty() || name[0] < u'a' || name[0] > u'z'; }

std::string P_Grammar::WStringToString(const WString& text) {
  std::string narrow;
  narrow.reserve(text.size());
  for (WChar unit : text) narrow += static_cast<char>(unit & 0xFF);
  return narrow;
}

WString P_Grammar::StringToWString(const std::string& text) { return NarrowToWide(text); }

// --- Nullable categories and FIRST sets ---

std::set<WString> P_Grammar::CollectEmptyProductionLHS(const P_RawProductionList& list) const {
  std::set<WString> empty;
  for (const auto& p : list) {
    if (p->Rhs.size() == 1 && IsRuleEnd(p->Rhs[0])) empty.insert(p->Lhs->Text);
  }
  return empty;
}

std::set<WString> P_Grammar::ComputeNullableCategories(const P_RawProductionList& list,
                                                       std::set<WString> nullable) const {
  for (bool changed = true; changed;) {
    changed = false;
    for (const auto& p : list) {
      const bool allNullable = std::all_of(p->Rhs.begin(), p->Rhs.end(), [&](const CRawSymbol* s) {
        return IsRuleEnd(s) || nullable.count(s->Text) != 0;
      });
      if (allNullable && nullable.insert(p->Lhs->Text).second) changed = true;
    }
  }
  return nullable;
}

// The expanded grammar has no empty production, so the first daughter alone
// decides what can begin a production; the nullable set stays unused.
void P_Grammar::ComputeFirstSets(P_RawProductionList& list, const std::set<WString>& /*nullable*/) {
  std::map<WString, std::vector<WString>> lhsFirst;
  for (const auto& p : list) lhsFirst[p->Lhs->Text];
  std::vector<std::vector<WString>> productionFirst(list.size());
  for (bool changed = true; changed;) {
    changed = false;
    for (size_t i = 0; i < list.size(); ++i) {
      const CRawProduction& p = *list[i];
      if (p.Rhs.empty() || IsRuleEnd(p.Rhs[0])) continue;
      const WString& first = p.Rhs[0]->Text;
      std::vector<WString>& lhsNames = lhsFirst[p.Lhs->Text];
      if (!IsCategoryName(first)) {
        AddName(productionFirst[i], first, changed);
        AddName(lhsNames, first, changed);
        continue;
      }
      auto found = lhsFirst.find(first);
      if (found == lhsFirst.end()) continue;
      const std::vector<WString> names = found->second;  // lhsNames may be the same list
      for (const WString& name : names) {
        AddName(productionFirst[i], name, changed);
        AddName(lhsNames, name, changed);
      }
    }
  }
  for (size_t i = 0; i < list.size(); ++i) {
    for (const WString& name : productionFirst[i]) {
      const SymbolId id = GetSymbolId(name, true);
      if (id == kNoSymbol) {
        FailCompile(u"The symbol table is full.", kCaption, "Symbol table full", CompileLocation(rulesFile_, name));
      }
      list[i]->Lookahead.insert(id);
    }
  }
}

// --- Part-of-speech and category tables ---

void P_Grammar::ReadPOSList(const std::string& path) {
  if (!ReadPOSNames(path, posNames_, posIds_)) {
    FailCompile(NarrowToWide("The part-of-speech list '" + path + "' could not be opened."), kCaption,
                "POS list missing", CompileLocation(path));
  }
}

bool ReadPOSNames(const std::string& path, std::vector<std::string>& names, std::unordered_map<std::string, int>& ids) {
  names.assign(1, std::string());
  ids.clear();
  FileHandle file(OpenFile(path, "rb"));
  if (!file) return false;
  std::string text;
  for (int c = std::fgetc(file.get()); c != EOF; c = std::fgetc(file.get())) text += static_cast<char>(c);
  // Word by word as a stream reads them: white space after the last word
  // makes one more read, which finds the empty name.
  size_t pos = 0;
  while (true) {
    while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos]))) ++pos;
    const size_t begin = pos;
    while (pos < text.size() && !std::isspace(static_cast<unsigned char>(text[pos]))) ++pos;
    const std::string word = text.substr(begin, pos - begin);
    ids.emplace(word, static_cast<int>(names.size()));  // a repeated name keeps its first id
    names.push_back(word);
    if (pos >= text.size()) return true;
  }
}

void P_Grammar::AddCategoryNames(const P_RawProductionList& list) {
  for (const auto& p : list) {
    const std::string name = WStringToString(p->Lhs->Text);
    if (categoryIds_.count(name)) continue;
    if (categoryNames_.size() >= kNoCategory) {
      FailCompile(u"The grammar has too many categories.", kCaption, "Too many categories",
                  CompileLocation(rulesFile_, p->Lhs->Text));
    }
    categoryIds_.emplace(name, static_cast<int>(categoryNames_.size()));
    categoryNames_.push_back(name);
  }
}

int P_Grammar::GetOrAddPOSId(const std::string& name) {
  auto found = posIds_.find(name);
  if (found != posIds_.end()) return found->second;
  const int id = static_cast<int>(posNames_.size());
  posNames_.push_back(name);
  posIds_.emplace(name, id);
  return id;
}

int P_Grammar::FindCategoryId(const std::string& name) const {
  auto found = categoryIds_.find(name);
  return found == categoryIds_.end() ? kNoCategory : found->second;
}

// --- Compiling the productions ---

namespace {

bool SameDaughterTexts(const CRawProduction& a, const CRawProduction& b) {
  if (a.Rhs.size() != b.Rhs.size()) return false;
  for (size_t i = 0; i < a.Rhs.size(); ++i) {
    if (a.Rhs[i]->Text != b.Rhs[i]->Text) return false;
  }
  return true;
}

std::vector<std::string> NarrowAnnotations(const CRawProduction& p) {
  std::vector<std::string> annotations;
  for (const CRawSymbol* symbol : p.Rhs) {
    if (!IsRuleEnd(symbol)) annotations.push_back(P_Grammar::WStringToString(symbol->Annotation));
  }
  return annotations;
}

std::string DescribeProduction(const CRawProduction& p) {
  std::string text = P_Grammar::WStringToString(p.Lhs->Text) + " ->";
  for (const CRawSymbol* symbol : p.Rhs) text += " " + P_Grammar::WStringToString(symbol->Text);
  return text;
}

}  // namespace

void P_Grammar::BuildCompiledProductions(P_RawProductionList& list) {
  RegroupByLhs(list);
  std::vector<bool> merged(list.size(), false);
  std::vector<std::unique_ptr<CCompiledProduction>> result;
  for (size_t i = 0; i < list.size(); ++i) {
    if (merged[i]) continue;
    const CRawProduction& p = *list[i];
    // Later productions of the group with the same daughters add their
    // annotations as alternatives.
    std::vector<std::vector<std::string>> alternatives{NarrowAnnotations(p)};
    for (size_t j = i + 1; j < list.size() && list[j]->Lhs->Text == p.Lhs->Text; ++j) {
      if (merged[j] || !SameDaughterTexts(p, *list[j])) continue;
      alternatives.push_back(NarrowAnnotations(*list[j]));
      merged[j] = true;
    }
    result.push_back(CompileProduction(p, alternatives, result.size()));
  }
  productions_ = std::move(result);
  const int start = FindCategoryId(kStartCategory);
  if (start == kNoCategory) {
    FailCompile(u"The grammar has no start category S'.", kCaption, "No start category", CompileLocation(rulesFile_));
  }
  startCategoryId_ = static_cast<uint16_t>(start);
}

std::unique_ptr<CCompiledProduction> P_Grammar::CompileProduction(
    const CRawProduction& p, const std::vector<std::vector<std::string>>& alternatives, size_t number) {
  const std::string where = CompileLocation(rulesFile_, NarrowToWide(DescribeProduction(p)));
  if (number >= kNoCategory) {
    FailCompile(u"The grammar has too many productions.", kCaption, "Too many productions", where);
  }
  auto compiled = std::make_unique<CCompiledProduction>();
  compiled->lhs = static_cast<uint16_t>(FindCategoryId(WStringToString(p.Lhs->Text)));
  compiled->number = static_cast<uint16_t>(number);
  for (SymbolId id : p.Lookahead) compiled->firstMask.Set(MaskablePOSId(WStringToString(GetSymbolName(id)), where));
  for (const CRawSymbol* symbol : p.Rhs) {
    if (IsRuleEnd(symbol)) continue;
    CCompiledSymbol daughter;
    const std::string name = WStringToString(symbol->Text);
    daughter.isPOS = IsCategoryName(symbol->Text) ? 0 : 1;
    const int id = daughter.isPOS ? MaskablePOSId(name, where) : FindCategoryId(name);
    if (id == kNoCategory) {
      FailCompile(NarrowToWide("The category " + name + " has no production."), kCaption, "Undefined category", where);
    }
    daughter.id = static_cast<uint16_t>(id);
    compiled->rhs.push_back(std::move(daughter));
  }
  int8_t choiceCount = 0;
  const std::vector<std::vector<uint16_t>> items = P_FSCompiler::CompileRuleAnnotations(alternatives, choiceCount);
  if (P_FSCompiler::LastDescriptionFailed() || choiceCount < 0) {
    FailCompile(
        u"The annotations of a production could not be compiled (symbol table or item table full, "
        u"or too many choices).",
        kCaption, "Annotation not compiled", where);
  }
  for (size_t k = 0; k < compiled->rhs.size() && k < items.size(); ++k) {
    if (std::find(items[k].begin(), items[k].end(), 0) != items[k].end()) {
      FailCompile(u"The item table is full.", kCaption, "Item table full", where);
    }
    compiled->rhs[k].itemIds = items[k];
  }
  compiled->choiceCount = static_cast<uint8_t>(choiceCount);
  return compiled;
}

// The POS id of a name, which must fit a category mask.
int P_Grammar::MaskablePOSId(const std::string& name, const std::string& where) {
  const int id = GetOrAddPOSId(name);
  if (id >= kMaskBits) {
    FailCompile(NarrowToWide("The part of speech " + name + " has id " + std::to_string(id) +
                             "; at most 63 parts of speech fit a category mask."),
                kCaption, "POS id too large", where);
  }
  return id;
}

void P_Grammar::BuildLHSIndex() {
  lhsIndex_.clear();
  for (const auto& production : productions_) lhsIndex_.emplace(production->lhs, production.get());
}

// --- Queries ---

std::string P_Grammar::GetCategoryName(uint16_t id) const {
  return id < categoryNames_.size() ? categoryNames_[id] : std::string();
}

std::string P_Grammar::GetPOSName(uint16_t id) const { return id < posNames_.size() ? posNames_[id] : std::string(); }

std::unique_ptr<CompiledProductionList> P_Grammar::GetProductionsForLHS(uint16_t category) const {
  auto result = std::make_unique<CompiledProductionList>();
  auto [begin, end] = lhsIndex_.equal_range(category);
  for (auto it = begin; it != end; ++it) result->push_back(it->second);
  return result;
}

std::unique_ptr<CompiledProductionList> P_Grammar::GetProductionsForLHSAndMask(uint16_t category,
                                                                               CCategoryMask mask) const {
  auto result = std::make_unique<CompiledProductionList>();
  auto [begin, end] = lhsIndex_.equal_range(category);
  for (auto it = begin; it != end; ++it) {
    if (CategoryMasksIntersect(it->second->firstMask, mask)) result->push_back(it->second);
  }
  return result;
}

CCompiledProduction* P_Grammar::GetProduction(size_t index) const {
  return index < productions_.size() ? productions_[index].get() : nullptr;
}
