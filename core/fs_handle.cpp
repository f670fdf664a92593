#include "core/fs_handle.h"

#include <algorithm>
#include <unordered_map>

#include "core/fs_node.h"
#include "core/slot_registry.h"
#include "core/symbol_table.h"

int CFSHandle::liveInstances = 0;

namespace {

// Every live handle. Never destroyed, like the node registry.
SlotRegistry<CFSHandle>& HandleRegistry() {
  static auto* registry = new SlotRegistry<CFSHandle>();
  return *registry;
}

// The key a child sorts by: its attribute, except that the members of a set
// (ELEMENT1, ELEMENT2, ...) share one key. Their names are numbered on from
// sentence to sentence and get whatever symbol ids are free, so sorting
// them by id would order a sentence's adjuncts by what came before it.
int SortKey(const CFSNode& node) {
  if (node.Attribute >= 0 && IsSetMemberAttribute(static_cast<SymbolId>(node.Attribute))) return ElementId;
  return node.Attribute;
}

// Ascending key with null entries last; stable, so equal keys keep the
// order in which they were added.
void SortByAttribute(std::vector<CFSNode*>& nodes) {
  std::stable_sort(nodes.begin(), nodes.end(), [](const CFSNode* a, const CFSNode* b) {
    if (a == nullptr) return false;
    if (b == nullptr) return true;
    return SortKey(*a) < SortKey(*b);
  });
}

void NormalizeNode(CFSNode& node) {
  for (CFSNode* child : node.ChildList) {
    if (child == nullptr) continue;
    child->Parent = &node;
    NormalizeNode(*child);
  }
  for (CFSNode* element : node.SetElements) {
    if (element == nullptr) continue;
    element->Parent = &node;
    NormalizeNode(*element);
  }
  SortByAttribute(node.ChildList);
  SortByAttribute(node.SetElements);
}

}  // namespace

CFSHandle::CFSHandle() { Register(); }

CFSHandle::CFSHandle(CFSNode* node, double nodeWeight) : root(node), focus(node), weight(nodeWeight) { Register(); }

// A handle that could not be registered still works; it is just not freed
// by DeleteAll.
void CFSHandle::Register() noexcept {
  ++liveInstances;
  try {
    registryIndex_ = HandleRegistry().Add(this);
  } catch (...) {
    registryIndex_ = SlotRegistry<CFSHandle>::kNoSlot;
  }
}

CFSHandle::~CFSHandle() {
  HandleRegistry().Remove(this, registryIndex_, [](CFSHandle* handle) -> size_t& { return handle->registryIndex_; });
  root = nullptr;
  focus = nullptr;
  --liveInstances;
}

void CFSHandle::DeleteAll() { HandleRegistry().DeleteAll(); }

size_t CFSHandle::RegisteredCount() { return HandleRegistry().size(); }

CFSHandle* CFSHandle::Clone() const {
  auto* copy = new CFSHandle();
  if (root != nullptr) copy->root = root->Clone();
  return copy;
}

CFSHandle* CFSHandle::CloneAndLocate(const CFSNode* node, const std::vector<CFSNode*>& stack,
                                     std::vector<CFSNode*>& outStack) const {
  auto* copy = new CFSHandle();
  if (root == nullptr) return copy;
  // The copy meets the outermost node first; reversed, the stack has its
  // bottom (the outermost node) on top.
  std::vector<CFSNode*> pending(stack.rbegin(), stack.rend());
  CFSNode* located = nullptr;
  copy->root = root->CopyLocatingWithStack(node, located, pending, outStack);
  copy->focus = located;
  return copy;
}

CFSHandle* CFSHandle::CloneTranslatingStack(const CFSNode* node, const std::vector<CFSNode*>& stack,
                                            std::vector<CFSNode*>& outStack) const {
  auto* copy = new CFSHandle();
  std::unordered_map<const CFSNode*, CFSNode*> copies;
  if (root != nullptr) copy->root = root->CopyRecordingCopies(copies);
  auto copyOf = [&copies](const CFSNode* original) -> CFSNode* {
    auto found = copies.find(original);
    return found == copies.end() ? nullptr : found->second;
  };
  copy->focus = copyOf(node);
  for (const CFSNode* entry : stack) outStack.push_back(copyOf(entry));
  return copy;
}

CFSNode* CFSHandle::FindPath(const std::vector<SymbolId>* path) const {
  if (root == nullptr || path == nullptr) return nullptr;
  return root->FindPath(path, true);
}

bool CFSHandle::AddSetElement(const CFSNode* node) {
  if (node == nullptr) return false;
  if (root == nullptr) root = new CFSNode(static_cast<int16_t>(kNoSymbol), nullptr);
  root->SetElements.push_back(node->Clone());
  return true;
}

void CFSHandle::Normalize() {
  if (root != nullptr) NormalizeNode(*root);
}

bool CFSHandle::Equals(const CFSHandle* other) const {
  if (other == nullptr) return false;
  if (root == nullptr || other->root == nullptr) return root == other->root;
  return root->Equals(other->root);
}

bool CFSHandle::ApplyPredFrames(const PredFrameMap& frames) {
  if (root == nullptr) return false;
  return root->ApplyPredFrames(frames);
}
