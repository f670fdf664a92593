// Choosing and applying the entries at one node: the matching conditional
// entries (all of them, or one per '@' group), their order by word sense,
// and the split of the walk into work states when more than one applies.
#include <map>
#include <utility>

#include "core/fs_handle.h"
#include "core/fs_node.h"
#include "transfer/mapping/map_lex_entry.h"
#include "transfer/mapping/map_lex_headword.h"
#include "transfer/walk/mapper_engine.h"

namespace {

bool HasSubStructure(const CFSNode* node) {
  return node != nullptr && (!node->ChildList.empty() || !node->SetElements.empty());
}

// Makes the state the engine's active one while an entry is applied to it.
class ActiveStateScope {
 public:
  ActiveStateScope(const CMapperWorkState*& slot, const CMapperWorkState* state) : slot_(slot), saved_(slot) {
    slot_ = state;
  }
  ~ActiveStateScope() { slot_ = saved_; }
  ActiveStateScope(const ActiveStateScope&) = delete;
  ActiveStateScope& operator=(const ActiveStateScope&) = delete;

 private:
  const CMapperWorkState*& slot_;
  const CMapperWorkState* saved_;
};

}  // namespace

bool CMapperEngine::ApplyEntryOn(const CMapLexEntry* entry, CMapperWorkState& state, CTransferFlags& flags) {
  ActiveStateScope scope(activeState_, &state);
  if (!ApplyEntry(entry, state.source, state.target, flags)) return false;
  RecordAccounted(*entry, state);
  return true;
}

// After an entry applied: walk the node's sub-structure next, or, when the
// entry said NULL, skip it. Either way the walk then returns to the target
// focus of before the entry, so that the node's siblings are mapped where
// the node was, also when the entry moved the focus; a node without
// sub-structure gets that focus back at once.
void CMapperEngine::ContinueOn(CMapperWorkState& state, const CTransferFlags& flags, CFSNode* targetBefore) {
  CFSNode* source = state.source->focus;
  if (flags.NullFlag != 0 && HasSubStructure(source)) {
    state.returns.push_back(targetBefore);
    state.ancestors.push_back(source);
    state.visits.push_back(nullptr);
    return;
  }
  if (!DescendInto(state, targetBefore)) state.target->focus = targetBefore;
}

int CMapperEngine::ApplyCandidates(const EntryList& candidates, CMapLexEntry* defaultEntry, CMapperWorkState& state,
                                   WorkStack& workStack, CTransferFlags& flags) {
  CFSNode* targetBefore = state.target->focus;
  if (candidates.empty()) {
    if (defaultEntry == nullptr || !ApplyEntryOn(defaultEntry, state, flags)) return 0;
    ContinueOn(state, flags, targetBefore);
    return 1;
  }
  std::unique_ptr<CMapperWorkState> untouched = CloneWorkState(state);
  const InsertCache cacheBefore = insertCache_;
  int count = 0;
  if (ApplyEntryOn(candidates.front(), state, flags)) {
    ContinueOn(state, flags, targetBefore);
    count = 1;
  }
  if (candidates.size() > 1 || count == 0)
    PushAlternatives(candidates, *untouched, workStack, flags, count, cacheBefore);
  if (count == 0 && defaultEntry != nullptr) {
    CFSNode* untouchedTarget = untouched->target->focus;
    if (ApplyEntryOn(defaultEntry, *untouched, flags)) {
      ContinueOn(*untouched, flags, untouchedTarget);
      untouched->savedInsertCache = insertCache_;
      workStack.push_back(std::move(untouched));
    }
  }
  return count;
}

// The candidates after the first, each on its own copy of the untouched
// state, while the limit of candidates per node allows and no entry said
// BREAK. Each copy walks on with its own flags and its own insert cache.
void CMapperEngine::PushAlternatives(const EntryList& candidates, CMapperWorkState& untouched, WorkStack& workStack,
                                     CTransferFlags& flags, int& count, const InsertCache& cacheBefore) {
  const InsertCache cacheAfterFirst = insertCache_;
  for (size_t i = 1; i < candidates.size(); ++i) {
    if (flags.BreakFlag != 0 || count >= candidatesPerNode_) break;
    std::unique_ptr<CMapperWorkState> copy = CloneWorkState(untouched);
    insertCache_ = cacheBefore;
    CTransferFlags copyFlags;
    CFSNode* copyTarget = copy->target->focus;
    const bool applied = ApplyEntryOn(candidates[i], *copy, copyFlags);
    if (copyFlags.BreakFlag != 0) flags.SetBreakFlag(1);
    if (applied) {
      ContinueOn(*copy, copyFlags, copyTarget);
      ++count;
      copy->savedInsertCache = insertCache_;
      workStack.push_back(std::move(copy));
    }
    insertCache_ = cacheAfterFirst;
  }
}

void CMapperEngine::CollectMatchingElements(const CMapLexHeadword& headword, const CMapperWorkState& state,
                                            EntryList& out) {
  for (CMapLexEntry* entry : headword.conditionalEntries) {
    if (MatchCondition(entry->condition, state.source->focus, state.target->focus)) out.push_back(entry);
  }
}

void CMapperEngine::CollectMatchingElementsPerGroup(const CMapLexHeadword& headword, const CMapperWorkState& state,
                                                    EntryList& out) {
  std::map<int, CMapLexEntry*> kept;
  int counter = 1;
  for (CMapLexEntry* entry : headword.conditionalEntries) {
    if (!MatchCondition(entry->condition, state.source->focus, state.target->focus)) continue;
    const int key = entry->number != 0 ? entry->number : counter;
    auto existing = kept.find(key);
    if (existing == kept.end()) {
      kept.emplace(key, entry);
    } else if (entry->number != 0 && entry->breakFlag) {
      existing->second = entry;
    }
    if (entry->breakFlag) break;
    ++counter;
  }
  for (const auto& [key, entry] : kept) out.push_back(entry);
}

bool CMapperEngine::ChooseBySense(const WString& word, EntryList& candidates, int position,
                                  const CNamedIdList& tokens) {
  std::vector<std::unique_ptr<CSenseCandidate>> owned;
  std::vector<CSenseCandidate*> senses;
  for (CMapLexEntry* entry : candidates) {
    owned.push_back(std::make_unique<CSenseCandidate>(static_cast<uint32_t>(entry->number), entry));
    senses.push_back(owned.back().get());
  }
  const bool ordered = disambiguator_.Disambiguate(word, senses, tokens, position);
  candidates.clear();
  for (CSenseCandidate* sense : senses) {
    sense->entry->weight = sense->score;
    candidates.push_back(sense->entry);
  }
  return ordered;
}
