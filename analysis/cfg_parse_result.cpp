// CCfgParser: the solved F-structure of the constraint system turned into a
// CFSNode tree under "ROOT", wrapped in a CParseResult.
#include <algorithm>
#include <string>

#include "analysis/cfg_parser.h"
#include "analysis/cfg_utilities.h"
#include "constraints/p_fs_item.h"
#include "constraints/p_fstructure.h"
#include "constraints/p_symbol_table.h"
#include "core/fs_handle.h"
#include "core/fs_node.h"
#include "core/string_helpers.h"
#include "core/symbol_table.h"
#include "resources/e_lexicon.h"

namespace {

// The node's child with the attribute, made when there is none.
CFSNode* ChildOf(CFSNode* node, SymbolId attribute) {
  const std::vector<SymbolId> path{attribute};
  bool created = false;
  return node->FindOrCreatePath(&path, created);
}

void AppendUnlessPresent(std::vector<SymbolId>& values, SymbolId symbol) {
  if (!VectorContainsId(values, symbol)) values.push_back(symbol);
}

std::string ConstraintText(uint16_t id) { return P_SymbolTable::GetString(static_cast<int16_t>(id)); }

SymbolId GlobalSymbol(const std::string& text) { return GetSymbolId(NarrowToWide(text), true); }

std::string WithoutQuotes(const std::string& text) {
  return text.size() < 2 ? std::string() : text.substr(1, text.size() - 2);
}

}  // namespace

CParseResult* CCfgParser::GetParseResult() {
  if (!lastParseSucceeded_ || solved_ == nullptr) return nullptr;
  auto* result = new CParseResult(nullptr, nullptr);
  result->Names = tokenRecords_;
  result->FStructure = ConvertFStructure(solved_);
  return result;
}

CFSHandle* CCfgParser::ConvertFStructure(P_FStructure* fs) {
  auto* handle = new CFSHandle();
  handle->root = ConvertFStructureNode(fs, nullptr);
  if (handle->root != nullptr) handle->root->Attribute = static_cast<int16_t>(GetSymbolId(u"ROOT", true));
  handle->Normalize();
  return handle;
}

CFSNode* CCfgParser::ConvertFStructureNode(P_FStructure* fs, CFSNode* node) {
  if (fs == nullptr) return nullptr;
  if (node == nullptr) node = new CFSNode();
  // An F-structure met again below itself is not walked twice.
  if (std::find(convertPath_.begin(), convertPath_.end(), fs) != convertPath_.end()) return node;
  convertPath_.push_back(fs);
  for (P_FSItem* item : fs->CollectAllItems()) {
    const ItemValues values(item);
    if (values.empty()) continue;
    if (item->attribute == SymbolTablePredId) {
      ConvertPred(node, values.front());
    } else if (item->attribute == SymbolTableGfId) {
      ConvertGf(node, values.front());
    } else if (item->attribute == SymbolTableIndexId) {
      ConvertIndex(node, values.front());
    } else {
      ConvertAttribute(node, item->attribute, values.list());
    }
  }
  convertPath_.pop_back();
  return node;
}

// PRED VALUE: the word of the reading whose number the value is, or a word
// that a grammar annotation gave in quotes.
void CCfgParser::ConvertPred(CFSNode* node, const P_ConVal* value) {
  CFSNode* word = ChildOf(ChildOf(node, PredId), ValueId);
  const uint16_t x = value->GetPlainValue();
  if (x >= kReadingNumberBase && static_cast<size_t>(x - kReadingNumberBase) < readingSymbols_.size()) {
    AppendUnlessPresent(word->Value, readingSymbols_[x - kReadingNumberBase]);
    return;
  }
  const std::string text = WithoutQuotes(ConstraintText(x));
  if (!text.empty()) AppendUnlessPresent(word->Value, GlobalSymbol(text));
}

// PRED GF: the governable functions of the frame whose number the value
// spells.
void CCfgParser::ConvertGf(CFSNode* node, const P_ConVal* value) {
  CFSNode* functions = ChildOf(ChildOf(node, PredId), GfId);
  const int frame = ParseDigits(ConstraintText(value->GetPlainValue()));
  for (uint16_t id : GetSubcatFrameRef(frame)) AppendUnlessPresent(functions->Value, GlobalSymbol(ConstraintText(id)));
}

// PRED INDEX: the token position, as decimal text.
void CCfgParser::ConvertIndex(CFSNode* node, const P_ConVal* value) {
  CFSNode* index = ChildOf(ChildOf(node, PredId), IndexId);
  const auto position = static_cast<int16_t>(value->GetPlainValue());
  AppendUnlessPresent(index->Value, GlobalSymbol(IntToString(position)));
}

void CCfgParser::ConvertAttribute(CFSNode* node, uint16_t attribute, const std::list<P_ConVal*>& values) {
  const std::string name = ConstraintText(attribute);
  if (name.empty() || name[0] == '_') return;
  const SymbolId id = GlobalSymbol(name);
  CFSNode* child = node->FindAttribute(id);
  const bool isNew = child == nullptr;
  if (isNew) child = new CFSNode(static_cast<int16_t>(id), node);
  for (const P_ConVal* value : values) {
    if (P_FStructure* bound = value->GetBoundFStructure()) {
      if (value->GetFSAttribute() == 0) ConvertFStructureNode(bound, child);
      continue;
    }
    std::vector<SymbolId> symbols;
    const uint16_t x = value->GetPlainValue();
    if (x != 0) {
      const std::string text = ConstraintText(x);
      symbols.push_back(GlobalSymbol(!text.empty() && text[0] == '\'' ? WithoutQuotes(text) : text));
    } else {
      for (uint16_t listed : value->GetValueList()) symbols.push_back(GlobalSymbol(ConstraintText(listed)));
    }
    if (symbols.empty()) continue;
    if (isNew) {
      child->Value.insert(child->Value.end(), symbols.begin(), symbols.end());
    } else {
      child->Value = IntersectIdVectors(child->Value, symbols);
    }
  }
  // An attribute whose values added nothing stays out of the tree (its node
  // is freed with the others by the per-sentence reset).
  if (isNew && (!child->ChildList.empty() || !child->Value.empty())) node->AddChild(child);
}
