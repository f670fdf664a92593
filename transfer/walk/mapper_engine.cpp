#include "transfer/walk/mapper_engine.h"

#include <utility>

#include "analysis/lfg/lfg_parser.h"
#include "core/config_store.h"
#include "core/fs_handle.h"
#include "core/fs_node.h"
#include "core/parse_result.h"
#include "core/string_helpers.h"
#include "core/target_group.h"
#include "transfer/mapping/map_lex_entry.h"
#include "transfer/mapping/map_lex_headword.h"
#include "transfer/mapping/map_lexicon.h"
#include "transfer/mapping/map_rule_element.h"
#include "transfer/walk/adjunct_clauses.h"

namespace {

// An assignment statement between two paths of the given kinds.
std::unique_ptr<CMapRuleElement> MakeAssignment(std::vector<SymbolId> left, char rightKind,
                                                std::vector<SymbolId> right) {
  auto element = std::make_unique<CMapRuleElement>();
  element->op = CMapRuleElement::kAssign;
  element->leftPath = CMapPath{CMapRuleElement::kTargetKind, std::move(left)};
  element->rightPath = CMapPath{rightKind, std::move(right)};
  return element;
}

// The character-rewriting rules wrap a word in "<" and ">", mark silent
// endings with "*" and end every word with a blank; none of that belongs in
// a PRED value.
WString CleanRewrittenWord(const WString& rewritten) {
  WString clean;
  for (WChar unit : rewritten) {
    if (unit != u'<' && unit != u'>' && unit != u'*') clean.push_back(unit);
  }
  return TrimWString(clean);
}

}  // namespace

CMapperEngine::CMapperEngine(const std::string& transRulesFile, CLexicon* englishLexicon, CLFGParser* parser)
    : englishLexicon_(englishLexicon), lfgParser_(parser), transRules_(transRulesFile) {
  disambiguator_.ReadConfiguration();
  generateAll_ = GetConfigValue("GenerateAllPossibleVariationsForMapper", true) == "yes";
  // The entry made for a word that no lexicon knows: PRED = the word.
  defaultHeadword_ = std::make_unique<CMapLexHeadword>(PredId);
  auto entry = std::make_unique<CMapLexEntry>();
  auto wordStatement = MakeAssignment({PredId}, CMapRuleElement::kValueKind, {});
  wordStatement_ = wordStatement.get();
  entry->AddStatement(std::move(wordStatement));
  defaultHeadword_->AddEntry(entry.release());
  // Added to that entry when the English PRED has a GF list: copies it.
  gfStatement_ = MakeAssignment({PredId, GfId}, CMapRuleElement::kSourceKind, {PredId, GfId});
}

CMapperEngine::~CMapperEngine() = default;

void CMapperEngine::UseLexicons(CMapLexicon* rules, CMapLexicon* lexicon, CMapLexicon* domainLexicon,
                                CMapLexicon* insertRules) {
  rules_ = rules;
  lexicon_ = lexicon;
  domainLexicon_ = domainLexicon;
  insertRules_ = insertRules;
}

std::unique_ptr<TargetGroupList> CMapperEngine::Map(const std::vector<CParseResult*>& results, CMapLexicon* rules,
                                                    CMapLexicon* lexicon, CMapLexicon* insertRules) {
  return Map(results, rules, lexicon, nullptr, insertRules);
}

std::unique_ptr<TargetGroupList> CMapperEngine::Map(const std::vector<CParseResult*>& results, CMapLexicon* rules,
                                                    CMapLexicon* lexicon, CMapLexicon* domainLexicon,
                                                    CMapLexicon* insertRules) {
  if (results.empty() || rules == nullptr || lexicon == nullptr) return nullptr;
  UseLexicons(rules, lexicon, domainLexicon, insertRules);
  insertCache_.clear();
  englishWordOfTarget_.clear();
  droppedOfTarget_.clear();
  auto groups = std::make_unique<TargetGroupList>();
  for (CParseResult* result : results) {
    auto group = std::make_unique<CTargetGroup>();
    CFSHandle* source = result != nullptr ? result->FStructure : nullptr;
    group->Source = source;
    if (source == nullptr || source->root == nullptr) {
      groups->push_back(std::move(group));
      continue;
    }
    source->focus = source->root;
    auto* target = new CFSHandle(new CFSNode(static_cast<int16_t>(RootId), nullptr), 1.0);
    auto state = std::make_unique<CMapperWorkState>(source, target);
    state->SaveCursor(true);
    PushChildren(state->visits, source->root);
    WorkStack workStack;
    workStack.push_back(std::move(state));
    std::vector<CFSHandle*> finished;
    TransferNode(workStack, finished, result->Names);
    for (CFSHandle* candidate : finished) {
      if (!ApplyFinalRules(source, candidate)) continue;
      FinishAdjunctClauses(candidate->root);
      if (lfgParser_ != nullptr && !lfgParser_->CheckCompletenessCoherence(candidate->root)) continue;
      AddUniqueResult(group->Targets, candidate);
    }
    groups->push_back(std::move(group));
  }
  return groups;
}

bool CMapperEngine::ApplyFinalRules(CFSHandle* source, CFSHandle* target) {
  if (rules_ == nullptr || source == nullptr || target == nullptr) return false;
  const CMapLexHeadword* final = rules_->FindHeadword(FinalId);
  if (final == nullptr || final->entries.empty()) return true;
  activeState_ = nullptr;
  for (const CMapLexEntry* entry : final->entries) {
    if (!MatchCondition(entry->condition, source->root, target->root)) continue;
    source->focus = source->root;
    target->focus = target->root;
    CTransferFlags flags;
    if (!ApplyEntry(entry, source, target, flags)) return false;
  }
  return true;
}

bool CMapperEngine::AddUniqueResult(std::vector<CFSHandle*>& list, CFSHandle* target) {
  if (target == nullptr) return false;
  for (const CFSHandle* kept : list) {
    if (kept->Equals(target)) return false;
  }
  list.push_back(target);
  return true;
}

CMapLexHeadword* CMapperEngine::GetDefaultEntryForWord(const WString& word) {
  const WString stem = word.substr(0, word.find(u'_'));
  WString rewritten = CleanRewrittenWord(transRules_.Apply(stem));
  if (rewritten.empty()) rewritten = stem;
  wordStatement_->rightPath.ids = {GetSymbolId(rewritten, true)};
  return defaultHeadword_.get();
}

CMapLexHeadword* CMapperEngine::LookupHeadword(SymbolId symbol, bool fromLexicons) {
  auto combined = std::make_unique<CMapLexHeadword>();
  const auto cached = insertCache_.equal_range(symbol);
  if (cached.first != cached.second) combined->headword = cached.first->second->headword;
  for (auto it = cached.first; it != cached.second; ++it) {
    for (CMapLexEntry* entry : it->second->entries) combined->AddEntry(entry);
  }
  const CMapLexHeadword* found = nullptr;
  if (!fromLexicons) {
    if (rules_ != nullptr) found = rules_->FindHeadword(symbol);
  } else {
    if (domainLexicon_ != nullptr) found = domainLexicon_->FindHeadword(symbol);
    if (found == nullptr && lexicon_ != nullptr) found = lexicon_->FindHeadword(symbol);
  }
  if (found == nullptr) {
    FreeHeadwordEntry(combined.release());
    return nullptr;
  }
  combined->headword = found->headword;
  for (CMapLexEntry* entry : found->entries) combined->AddEntry(entry);
  combined->defaultEntry = found->defaultEntry;
  return combined.release();
}

bool CMapperEngine::AddCachedEntry(SymbolId symbol, CMapLexHeadword* headword) {
  if (headword == nullptr) return false;
  const auto cached = insertCache_.equal_range(symbol);
  for (auto it = cached.first; it != cached.second; ++it) {
    if (it->second->headword == headword->headword) return false;
  }
  insertCache_.emplace(symbol, headword);
  return true;
}

bool CMapperEngine::FreeHeadwordEntry(CMapLexHeadword* combined) {
  if (combined == nullptr) return false;
  combined->ReleaseEntries();
  delete combined;
  return true;
}
