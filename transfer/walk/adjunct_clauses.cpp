#include "transfer/walk/adjunct_clauses.h"

#include <algorithm>
#include <vector>

#include "core/fs_node.h"
#include "core/symbol_table.h"

namespace {

// The relative pronoun that is the clause's subject or object, or null.
CFSNode* RelativePronounOf(const CFSNode& clause, SymbolId prontype, SymbolId rel) {
  for (const char16_t* function : {u"SUBJ", u"OBJ"}) {
    CFSNode* argument = clause.FindAttribute(GetSymbolId(function, false));
    if (argument == nullptr) continue;
    const CFSNode* type = argument->FindAttribute(prontype);
    if (type != nullptr && type->Value.size() == 1 && type->Value.front() == rel) return argument;
  }
  return nullptr;
}

void GiveGender(CFSNode& pronoun, const std::vector<SymbolId>& gender, SymbolId gend) {
  bool created = false;
  pronoun.FindOrCreateAttribute(gend, created)->Value = gender;
}

// The ids the walk compares with; kNoSymbol for a name the table lacks.
struct Names {
  SymbolId adjunct = GetSymbolId(u"ADJUNCT", false);
  SymbolId gend = GetSymbolId(u"GEND", false);
  SymbolId prontype = GetSymbolId(u"PRONTYPE", false);
  SymbolId rel = GetSymbolId(u"rel", false);
  SymbolId subjCase = GetSymbolId(u"SUBJ_CASE", false);
  SymbolId aspect = GetSymbolId(u"ASPECT", false);
  SymbolId perf = GetSymbolId(u"perf", false);
};

bool IsPerfective(const CFSNode& clause, const Names& names) {
  const CFSNode* aspect = clause.FindAttribute(names.aspect);
  if (aspect == nullptr) return false;
  for (SymbolId value : aspect->Value) {
    if (value == names.perf) return true;
  }
  return false;
}

void DropSubjectCase(CFSNode& clause, const Names& names) {
  CFSNode* subjectCase = clause.FindAttribute(names.subjCase);
  if (subjectCase == nullptr || IsPerfective(clause, names)) return;
  std::vector<CFSNode*>& siblings = clause.ChildList;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), subjectCase), siblings.end());
  subjectCase->Parent = nullptr;  // the per-sentence registry frees it
}

void Finish(CFSNode* node, const Names& names) {
  if (node == nullptr) return;
  const CFSNode* gender = node->FindAttribute(names.gend);
  const CFSNode* adjuncts = node->FindAttribute(names.adjunct);
  const CFSNode* set = adjuncts != nullptr ? adjuncts->FindAttribute(SetId) : nullptr;
  if (set != nullptr) {
    for (CFSNode* member : set->ChildList) {
      if (member == nullptr) continue;
      DropSubjectCase(*member, names);
      CFSNode* pronoun = RelativePronounOf(*member, names.prontype, names.rel);
      if (pronoun != nullptr && gender != nullptr && !gender->Value.empty()) {
        GiveGender(*pronoun, gender->Value, names.gend);
      }
    }
  }
  for (CFSNode* child : node->ChildList) Finish(child, names);
}

}  // namespace

void FinishAdjunctClauses(CFSNode* root) {
  if (root == nullptr) return;
  Finish(root, Names{});
}
