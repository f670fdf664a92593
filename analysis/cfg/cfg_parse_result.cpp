// CCfgParser: the solved F-structure of the constraint system turned into a
// CFSNode tree under "ROOT", wrapped in a CParseResult.
#include <algorithm>
#include <string>
#include <utility>

#include "analysis/cfg/cfg_parser.h"
#include "analysis/cfg/cfg_utilities.h"
#include "constraints/p_fs_item.h"
#include "constraints/p_fstructure.h"
#include "constraints/p_symbol_table.h"
#include "core/fs_handle.h"
#include "core/fs_node.h"
#include "core/string_helpers.h"
#include "core/symbol_table.h"
#include "core/trace_log.h"
#include "resources/english/e_lexicon.h"

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
  // The tree that the parse checked; a second result gets a tree of its own.
  CFSHandle* handle = tree_ != nullptr ? std::exchange(tree_, nullptr) : ConvertFStructure(solved_);
  // A conversion cut short by the time limit or the memory budget is no
  // analysis; its nodes and handle go with the per-sentence reset.
  if (conversionOutOfTime_) {
    timedOut_ = true;
    WriteTraceLog(u"The F-structure tree was not finished within the sentence's time or memory");
    return nullptr;
  }
  auto* result = new CParseResult(nullptr, nullptr);
  result->Names = tokenRecords_;
  result->FStructure = handle;
  return result;
}

// A structure reached twice (the subject that is also the controlled subject
// of an infinitive) is held by several F-structures: the clause's own item,
// the items of the F-structures identified with it, and the link that the
// control equation copied. Every F-structure converted into one node is part
// of the same functional structure, so each place that reaches one of them
// shows all of them. Converting again with the structures joined so far can
// join further ones (their sub-structures meet in one node), so the
// conversion repeats until nothing new is joined; the nodes of the earlier
// rounds are freed with the others by the per-sentence reset.
CFSHandle* CCfgParser::ConvertFStructure(P_FStructure* fs) {
  auto* handle = new CFSHandle();
  structureClass_.clear();
  structureClasses_.clear();
  conversionOutOfTime_ = false;
  clashingAttribute_.clear();
  while (!conversionOutOfTime_) {
    const size_t revision = structureRevision_;
    convertedInto_.clear();
    handle->root = ConvertFStructureNode(fs, nullptr);
    JoinStructuresOfEachNode();
    if (structureRevision_ == revision) break;
  }
  convertedInto_.clear();
  if (handle->root != nullptr) handle->root->Attribute = static_cast<int16_t>(GetSymbolId(u"ROOT", true));
  handle->Normalize();
  return handle;
}

CFSNode* CCfgParser::ConvertFStructureNode(P_FStructure* fs, CFSNode* node) {
  if (fs == nullptr) return nullptr;
  if (node == nullptr) node = new CFSNode();
  if (conversionOutOfTime_ || OutOfBudget()) {
    conversionOutOfTime_ = true;
    return node;
  }
  // Every F-structure that this node shows, each once: the members of fs's
  // class and the F-structures linked at their roots. One structure is often
  // reached through several of them; converting it once per way would
  // multiply the work with every level of the structure.
  const std::vector<P_FStructure*> shown = StructuresShownBy(fs);
  convertPath_.insert(convertPath_.end(), shown.begin(), shown.end());
  for (P_FStructure* member : shown) {
    convertedInto_.emplace_back(node, member);
    ConvertItems(member, node);
  }
  convertPath_.resize(convertPath_.size() - shown.size());
  return node;
}

// The F-structures shown by the node of fs, in the order of their items:
// each member of fs's class (fs first) followed by the F-structures linked
// at its root, depth first. An F-structure already being converted above
// (met again below itself) is left out.
std::vector<P_FStructure*> CCfgParser::StructuresShownBy(P_FStructure* fs) {
  std::vector<P_FStructure*> shown;
  const auto isOnPath = [this](const P_FStructure* f) {
    return std::find(convertPath_.begin(), convertPath_.end(), f) != convertPath_.end();
  };
  const auto isShown = [&shown](const P_FStructure* f) {
    return std::find(shown.begin(), shown.end(), f) != shown.end();
  };
  std::vector<P_FStructure*> pending;
  for (P_FStructure* member : SameStructureAs(fs)) {
    if (isOnPath(member)) continue;
    pending.push_back(member);
    while (!pending.empty()) {
      P_FStructure* next = pending.back();
      pending.pop_back();
      if (isShown(next)) continue;
      shown.push_back(next);
      const std::list<P_ConVal*>& links = next->root->values;
      for (auto link = links.rbegin(); link != links.rend(); ++link) {
        P_FStructure* bound = (*link)->GetBoundFStructure();
        if (bound != nullptr && !isShown(bound)) pending.push_back(bound);
      }
    }
  }
  return shown;
}

// The items of one F-structure (its own, not those of linked ones) into the
// node.
void CCfgParser::ConvertItems(P_FStructure* fs, CFSNode* node) {
  for (P_FSItem* item : fs->items) {
    if (conversionOutOfTime_) return;
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
}

// The class of fs: the F-structures known to be one functional structure
// with it. Copies that the restriction made of one F-structure start in one
// class.
size_t CCfgParser::StructureClassOf(P_FStructure* fs) {
  const P_FStructure* origin = fs->restrictedFrom != nullptr ? fs->restrictedFrom : fs;
  auto found = structureClass_.find(origin);
  if (found == structureClass_.end()) {
    found = structureClass_.emplace(origin, structureClasses_.size()).first;
    structureClasses_.emplace_back();
  }
  std::vector<P_FStructure*>& members = structureClasses_[found->second];
  if (std::find(members.begin(), members.end(), fs) == members.end()) {
    if (!members.empty()) ++structureRevision_;
    members.push_back(fs);
    if (fs != origin) structureClass_.emplace(fs, found->second);
  }
  return found->second;
}

// The members of fs's class, fs first.
std::vector<P_FStructure*> CCfgParser::SameStructureAs(P_FStructure* fs) {
  std::vector<P_FStructure*> members = structureClasses_[StructureClassOf(fs)];
  std::stable_partition(members.begin(), members.end(), [fs](const P_FStructure* m) { return m == fs; });
  return members;
}

// Joins the classes of the F-structures converted into the same node.
void CCfgParser::JoinStructuresOfEachNode() {
  std::map<CFSNode*, size_t> classOfNode;
  for (const auto& [node, fs] : convertedInto_) {
    const size_t own = StructureClassOf(fs);
    const auto [first, inserted] = classOfNode.emplace(node, own);
    if (inserted || first->second == own) continue;
    // Every member of the node's class moves into this F-structure's class.
    const size_t from = first->second;
    for (auto& [key, cls] : structureClass_) {
      if (cls == from) cls = own;
    }
    for (P_FStructure* member : structureClasses_[from]) structureClasses_[own].push_back(member);
    structureClasses_[from].clear();
    for (auto& [other, cls] : classOfNode) {
      if (cls == from) cls = own;
    }
    ++structureRevision_;
  }
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
      continue;
    }
    // Structures the solver kept apart meet here as one (the two halves of
    // a control equation): values that have nothing in common clash.
    const bool hadValues = !child->Value.empty();
    child->Value = IntersectIdVectors(child->Value, symbols);
    if (hadValues && child->Value.empty() && clashingAttribute_.empty()) clashingAttribute_ = NarrowToWide(name);
  }
  // An attribute whose values added nothing stays out of the tree (its node
  // is freed with the others by the per-sentence reset).
  if (isNew && (!child->ChildList.empty() || !child->Value.empty())) node->AddChild(child);
}
