// The depth-first walk over the English structure: the work stack, the
// visit, return and ancestor stacks of each work state, re-positioning, and
// the choice of entries at one node.
#include <utility>

#include "core/fs_handle.h"
#include "core/fs_node.h"
#include "core/parse_result.h"
#include "core/string_helpers.h"
#include "core/text_reading.h"
#include "core/trace_log.h"
#include "transfer/mapping/map_lex_entry.h"
#include "transfer/mapping/map_lex_headword.h"
#include "transfer/walk/mapper_engine.h"

namespace {

SymbolId AttributeOf(const CFSNode* node) { return static_cast<SymbolId>(node->Attribute); }

// The word of a PRED node (its VALUE's first value) and its position in the
// sentence (the decimal name of its INDEX's first value; 0 without INDEX).
SymbolId WordOf(const CFSNode& pred) {
  const CFSNode* value = pred.FindAttribute(ValueId);
  if (value == nullptr || value->Value.empty()) return kNoSymbol;
  return value->Value.front();
}

int PositionOf(const CFSNode& pred) {
  const CFSNode* index = pred.FindAttribute(IndexId);
  if (index == nullptr || index->Value.empty()) return 0;
  return ParseDigits(WideToNarrow(GetSymbolName(index->Value.front())));
}

// Frees a combined headword when the node is done with it, unless it is the
// engine's shared default headword.
class CombinedHeadword {
 public:
  CombinedHeadword(CMapperEngine& engine, CMapLexHeadword* headword, bool shared)
      : engine_(engine), headword_(headword), shared_(shared) {}
  ~CombinedHeadword() {
    if (!shared_) engine_.FreeHeadwordEntry(headword_);
  }
  CombinedHeadword(const CombinedHeadword&) = delete;
  CombinedHeadword& operator=(const CombinedHeadword&) = delete;
  CMapLexHeadword* get() const { return headword_; }

 private:
  CMapperEngine& engine_;
  CMapLexHeadword* headword_;
  bool shared_;
};

bool HasNoEntries(const CMapLexHeadword& headword) {
  return headword.GetEntryCount() == 0 && headword.defaultEntry == nullptr;
}

}  // namespace

bool CMapperEngine::TransferNode(WorkStack& workStack, std::vector<CFSHandle*>& finished, const CNamedIdList& tokens) {
  workStatesThisAnalysis_ = 0;
  repositionsThisAnalysis_ = 0;
  limitReached_ = false;
  while (!workStack.empty()) {
    std::unique_ptr<CMapperWorkState> state = std::move(workStack.back());
    workStack.pop_back();
    if (limitReached_ || !CountWorkState()) continue;
    insertCache_ = state->savedInsertCache;
    WalkState(*state, workStack, finished, tokens);
  }
  return true;
}

bool CMapperEngine::CountWorkState() {
  if (++workStatesThisAnalysis_ <= kMaxWorkStatesPerAnalysis) return true;
  limitReached_ = true;
  WriteTraceLog(u"Mapper: more than " + IntToWString(static_cast<int>(kMaxWorkStatesPerAnalysis)) +
                u" work states for one analysis; the targets finished so far are kept");
  return false;
}

void CMapperEngine::WalkState(CMapperWorkState& state, WorkStack& workStack, std::vector<CFSHandle*>& finished,
                              const CNamedIdList& tokens) {
  bool lastAskedReposition = false;
  while (!state.visits.empty() && !limitReached_) {
    CFSNode* node = PopNode(state.visits);
    state.source->focus = node;
    bool stop = false;
    while (node == nullptr) {  // a marker: the children of an ancestor are done
      if (state.visits.empty() || state.returns.empty()) {
        stop = true;
        break;
      }
      state.target->focus = PopNode(state.returns);
      PopNode(state.ancestors);
      node = PopNode(state.visits);
      if (node != nullptr) state.source->focus = node;
    }
    if (stop) break;
    CTransferFlags flags;
    flags.Reset();
    MapNode(state, workStack, flags, tokens);
    lastAskedReposition = HandleReposition(state, workStack, flags);
  }
  if (!lastAskedReposition && !limitReached_) {
    RecordDroppedWords(state);
    finished.push_back(state.target);
  }
}

bool CMapperEngine::HandleReposition(CMapperWorkState& state, WorkStack& workStack, const CTransferFlags& flags) {
  if (flags.RepositionRequested == 0 || static_cast<int16_t>(flags.Value) <= 0) return false;
  if (++repositionsThisAnalysis_ > kMaxRepositionsPerAnalysis) {
    limitReached_ = true;
    WriteTraceLog(u"Mapper: more than " + IntToWString(static_cast<int>(kMaxRepositionsPerAnalysis)) +
                  u" re-positions for one analysis; the targets finished so far are kept");
    return true;
  }
  std::unique_ptr<CMapperWorkState> restarted = flags.ValueIsNumber == 0 && flags.Value == RootId
                                                    ? RestartAtRoot(state)
                                                    : ClimbToAttribute(state, flags.Value, flags.ValueIsNumber != 0);
  if (restarted) workStack.push_back(std::move(restarted));
  return true;
}

std::unique_ptr<CMapperWorkState> CMapperEngine::ClimbToAttribute(CMapperWorkState& state, uint16_t value,
                                                                  bool valueIsNumber) {
  CFSNode* reached = state.source->focus;
  if (reached == nullptr) return nullptr;
  if (valueIsNumber) {
    int count = static_cast<int16_t>(value);
    while (reached->Parent != nullptr && count >= 1) {
      reached = reached->Parent;
      const SymbolId attribute = AttributeOf(reached);
      if (attribute != SetId && !IsSetMemberAttribute(attribute)) --count;
    }
  } else {
    while (AttributeOf(reached) != value) {
      CFSNode* parent = reached->GetParent(true);
      if (parent == nullptr) break;
      reached = parent;
    }
  }
  if (AttributeOf(reached) == RootId) return RestartAtRoot(state);
  // Unwind the levels below the reached node; its own level stays (return
  // target, marker and ancestor entry), its children are walked again.
  while (!state.ancestors.empty()) {
    CFSNode* ancestor = state.ancestors.back();
    state.source->focus = ancestor;
    if (AttributeOf(ancestor) == AttributeOf(reached)) {
      while (!state.visits.empty() && state.visits.back() != nullptr) state.visits.pop_back();
      PushChildren(state.visits, ancestor);
      return nullptr;
    }
    state.ancestors.pop_back();
    state.target->focus = PopNode(state.returns);
    while (!state.visits.empty()) {
      if (PopNode(state.visits) == nullptr) break;
    }
  }
  return nullptr;
}

// Ends the state's walk and returns a copy that walks the whole structure
// again from the roots.
std::unique_ptr<CMapperWorkState> CMapperEngine::RestartAtRoot(CMapperWorkState& state) {
  state.visits.clear();
  state.returns.clear();
  state.ancestors.clear();
  state.source->focus = state.source->root;
  state.target->focus = state.target->root;
  auto restarted = CloneWorkState(state);
  PushChildren(restarted->visits, state.source->root);
  return restarted;
}

std::unique_ptr<CMapperWorkState> CMapperEngine::CloneWorkState(const CMapperWorkState& state) {
  NodeStack returns;
  CFSHandle* target = state.target->CloneTranslatingStack(state.target->focus, state.returns, returns);
  target->weight = state.target->weight;
  auto copy = std::make_unique<CMapperWorkState>(state.source, target);
  copy->visits = state.visits;
  copy->returns = std::move(returns);
  copy->ancestors = state.ancestors;  // source nodes, shared by every copy
  copy->savedInsertCache = insertCache_;
  copy->savedCursor = state.savedCursor;
  copy->carried = state.carried;
  copy->coveredBelow = state.coveredBelow;
  return copy;
}

bool CMapperEngine::DescendInto(CMapperWorkState& state, CFSNode* returnTarget) {
  CFSNode* source = state.source->focus;
  if (source == nullptr || (source->ChildList.empty() && source->SetElements.empty())) return false;
  state.returns.push_back(returnTarget);
  state.ancestors.push_back(source);
  state.visits.push_back(nullptr);
  PushChildren(state.visits, source);
  return true;
}

void CMapperEngine::PushChildren(NodeStack& stack, const CFSNode* node) {
  if (node == nullptr) return;
  for (CFSNode* child : node->ChildList) {
    if (child != nullptr) stack.push_back(child);
  }
}

bool CMapperEngine::MapNode(CMapperWorkState& state, WorkStack& workStack, CTransferFlags& flags,
                            const CNamedIdList& tokens) {
  CFSNode* source = state.source->focus;
  CFSNode* target = state.target->focus;
  if (source == nullptr) return true;
  const bool isWord = AttributeOf(source) == PredId;
  const int applied = isWord ? MapWordNode(state, workStack, flags, tokens) : MapAttributeNode(state, workStack, flags);
  if (isWord) RecordWordVisit(*source, target);
  if (applied == 0) DescendInto(state, target);
  return true;
}

// A node other than PRED: the mapping rules of its attribute. -1 when the
// node was passed through (descended) without rules.
int CMapperEngine::MapAttributeNode(CMapperWorkState& state, WorkStack& workStack, CTransferFlags& flags) {
  const CFSNode* source = state.source->focus;
  CMapLexHeadword* found = LookupHeadword(AttributeOf(source), false);
  if (found == nullptr && IsSetMemberAttribute(AttributeOf(source))) found = LookupHeadword(ElementId, false);
  CombinedHeadword headword(*this, found, false);
  if (found == nullptr || HasNoEntries(*found)) {
    DescendInto(state, state.target->focus);
    return -1;
  }
  EntryList candidates;
  CollectMatchingElements(*found, state, candidates);
  int applied = ApplyCandidates(candidates, nullptr, state, workStack, flags);
  if (applied == 0)
    applied = ApplyCandidates(found->unconditionalEntries, found->defaultEntry, state, workStack, flags);
  return applied;
}

// A PRED node: the entries of its word in the domain and general lexicons,
// or the default entry that keeps the word.
int CMapperEngine::MapWordNode(CMapperWorkState& state, WorkStack& workStack, CTransferFlags& flags,
                               const CNamedIdList& tokens) {
  const CFSNode* source = state.source->focus;
  const SymbolId wordId = WordOf(*source);
  const WString word = GetSymbolName(wordId);
  const int position = PositionOf(*source);
  CMapLexHeadword* found = LookupHeadword(wordId, true);
  const bool isDefault = found == nullptr;
  if (isDefault) found = GetDefaultEntryForWord(word);
  CombinedHeadword headword(*this, found, isDefault);
  if (!isDefault && HasNoEntries(*found)) {
    DescendInto(state, state.target->focus);
    return -1;
  }
  // The default entry copies the English GF list when there is one.
  CMapLexEntry* defaultEntry = isDefault ? found->entries.front() : nullptr;
  const bool withGf = isDefault && source->FindAttribute(GfId) != nullptr;
  if (withGf) defaultEntry->statements.push_back(std::move(gfStatement_));
  int applied = 0;
  if (!found->conditionalEntries.empty()) {
    EntryList candidates;
    CollectMatchingElementsPerGroup(*found, state, candidates);
    if (candidates.size() >= 2 && !generateAll_) ChooseBySense(word, candidates, position, tokens);
    applied = ApplyCandidates(candidates, nullptr, state, workStack, flags);
  }
  if (applied == 0) applied = ApplyUnconditionalEntries(*found, word, position, state, workStack, flags, tokens);
  if (withGf) {
    gfStatement_ = std::move(defaultEntry->statements.back());
    defaultEntry->statements.pop_back();
  }
  return applied;
}

int CMapperEngine::ApplyUnconditionalEntries(const CMapLexHeadword& headword, const WString& word, int position,
                                             CMapperWorkState& state, WorkStack& workStack, CTransferFlags& flags,
                                             const CNamedIdList& tokens) {
  EntryList candidates = headword.unconditionalEntries;
  bool ordered = false;
  if (!generateAll_ && candidates.size() >= 2) ordered = ChooseBySense(word, candidates, position, tokens);
  if (!ordered && headword.defaultEntry != nullptr) {
    const int applied = ApplyCandidates({}, headword.defaultEntry, state, workStack, flags);
    if (applied != 0) return applied;
  }
  return ApplyCandidates(candidates, headword.defaultEntry, state, workStack, flags);
}

void CMapperEngine::RecordWordVisit(const CFSNode& sourcePred, const CFSNode* target) {
  const SymbolId word = WordOf(sourcePred);
  if (target != nullptr && word != kNoSymbol) englishWordOfTarget_.emplace(target->NodeId, GetSymbolName(word));
}

const WString* CMapperEngine::EnglishWordOf(uint32_t targetNodeId) const {
  const auto found = englishWordOfTarget_.find(targetNodeId);
  return found != englishWordOfTarget_.end() ? &found->second : nullptr;
}
