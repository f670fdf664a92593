// What each walk accounts for of the English structure: every word (PRED)
// and every negation (NEG +) is either carried into the Urdu structure by
// an entry that writes it, or mapped to nothing on purpose by an entry that
// says OMIT (or writes a word of its own for the node and maps nothing below
// it). The rest is dropped, and a finished target keeps the list of the
// English words it dropped, so that a translation from it can name them.
#include <algorithm>
#include <utility>

#include "core/fs_handle.h"
#include "core/fs_node.h"
#include "core/string_helpers.h"
#include "core/text_reading.h"
#include "transfer/mapping/map_lex_entry.h"
#include "transfer/walk/mapper_engine.h"

namespace {

// The word a dropped negation is named by.
const WString kNegationWord = u"not";

SymbolId AttributeOf(const CFSNode* node) { return static_cast<SymbolId>(node->Attribute); }

SymbolId NegationId() { return GetSymbolId(u"NEG", false); }

bool IsNegation(const CFSNode& node) {
  const SymbolId negation = NegationId();
  if (negation == kNoSymbol || AttributeOf(&node) != negation) return false;
  const SymbolId plus = GetSymbolId(u"+", false);
  return std::find(node.Value.begin(), node.Value.end(), plus) != node.Value.end();
}

// The position of a word in the sentence: the decimal name of its INDEX
// (0 without one).
int PositionOf(const CFSNode* pred) {
  const CFSNode* index = pred != nullptr ? pred->FindAttribute(IndexId) : nullptr;
  if (index == nullptr || index->Value.empty()) return 0;
  return ParseDigits(WideToNarrow(GetSymbolName(index->Value.front())));
}

bool Holds(const std::vector<const CFSNode*>& nodes, const CFSNode* node) {
  return std::find(nodes.begin(), nodes.end(), node) != nodes.end();
}

struct DroppedWord {
  int position;
  WString word;
};

void CollectDropped(const CFSNode* node, const CMapperWorkState& state, std::vector<DroppedWord>& dropped) {
  if (node == nullptr || Holds(state.coveredBelow, node)) return;
  if (AttributeOf(node) == PredId) {
    const CFSNode* value = node->FindAttribute(ValueId);
    if (!Holds(state.carried, node) && value != nullptr && !value->Value.empty()) {
      dropped.push_back({PositionOf(node), GetSymbolName(value->Value.front())});
    }
    return;
  }
  if (IsNegation(*node)) {
    // Named where the clause's verb stands.
    const CFSNode* verb = node->Parent != nullptr ? node->Parent->FindAttribute(PredId) : nullptr;
    if (!Holds(state.carried, node)) dropped.push_back({PositionOf(verb), kNegationWord});
    return;
  }
  for (const CFSNode* child : node->ChildList) CollectDropped(child, state, dropped);
  for (const CFSNode* element : node->SetElements) CollectDropped(element, state, dropped);
}

}  // namespace

void CMapperEngine::RecordAccounted(const CMapLexEntry& entry, CMapperWorkState& state) const {
  const CFSNode* node = state.source != nullptr ? state.source->focus : nullptr;
  if (node == nullptr) return;
  if (entry.OmitsNode()) {
    state.coveredBelow.push_back(node);
    return;
  }
  const SymbolId attribute = AttributeOf(node);
  if (attribute == PredId || IsNegation(*node)) {
    if (entry.WritesAttribute(attribute)) state.carried.push_back(node);
    return;
  }
  // An entry that writes the node's word itself ("my" as the reflexive
  // اپنا) and maps nothing below carries the words below into that word.
  if (entry.MapsNothingBelow() && entry.WritesAttribute(PredId)) state.coveredBelow.push_back(node);
}

void CMapperEngine::RecordDroppedWords(const CMapperWorkState& state) {
  if (state.source == nullptr || state.target == nullptr) return;
  std::vector<DroppedWord> dropped;
  if (state.source->root != nullptr) {
    for (const CFSNode* child : state.source->root->ChildList) CollectDropped(child, state, dropped);
  }
  std::stable_sort(dropped.begin(), dropped.end(),
                   [](const DroppedWord& a, const DroppedWord& b) { return a.position < b.position; });
  std::vector<WString>& words = droppedOfTarget_[state.target];
  words.clear();
  for (DroppedWord& word : dropped) {
    if (std::find(words.begin(), words.end(), word.word) == words.end()) words.push_back(std::move(word.word));
  }
}

const std::vector<WString>* CMapperEngine::DroppedWordsOf(const CFSHandle* target) const {
  const auto found = droppedOfTarget_.find(target);
  return found != droppedOfTarget_.end() ? &found->second : nullptr;
}
