#include "core/fs_node.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <memory>
#include <memory_resource>
#include <unordered_map>
#include <vector>

#include "core/slot_registry.h"
#include "core/string_helpers.h"
#include "core/value_sets.h"

int CFSNode::liveInstances = 0;

namespace {

// Every live node. Never destroyed: nodes may still be deleted while the
// program shuts down.
SlotRegistry<CFSNode>& NodeRegistry() {
  static auto* registry = new SlotRegistry<CFSNode>();
  return *registry;
}

uint32_t nodeCounter = 0;

SymbolId AttributeId(const CFSNode& node) { return static_cast<SymbolId>(node.Attribute); }

bool NameStartsWithUnderscore(SymbolId id) {
  const WString name = GetSymbolName(id);
  return !name.empty() && name.front() == u'_';
}

WString JoinValueNames(const std::vector<SymbolId>& values, const WString& separator) {
  WString text;
  for (size_t i = 0; i < values.size(); ++i) {
    if (i > 0) text += separator;
    text += GetSymbolName(values[i]);
  }
  return text;
}

// The frame key of a PRED node: the names of its VALUE, quotes removed, with
// the GF list in angle brackets when the node has a GF child ('give' with SUBJ
// and OBJ gives give<SUBJ,OBJ>). Empty when no key can be made: no values,
// or a text too short to carry its quotes.
WString BuildFrameKey(const CFSNode& valueNode, const CFSNode* gfNode) {
  if (valueNode.Value.empty()) return WString();
  WString key = JoinValueNames(valueNode.Value, u" ");
  if (gfNode != nullptr) {
    key = TrimWString(key);
    if (key.empty()) return WString();
    key.pop_back();
    key += u"<" + JoinValueNames(gfNode->Value, u",") + u">'";
  }
  if (key.size() < 2) return WString();
  return key.substr(1, key.size() - 2);
}

// Gives the frame equation's values to the node its left path names below
// the parent: a new node takes them, an existing one keeps the intersection.
bool ApplyFrameEquation(CFSNode& parent, const CEquation& equation) {
  if (equation.left == nullptr || equation.right == nullptr) return true;
  bool created = false;
  CFSNode* target = parent.FindOrCreatePath(&equation.left->path, created);
  if (target == nullptr) return false;
  if (created) {
    target->Value = equation.right->path;
    return true;
  }
  std::unique_ptr<ValueList> common = IntersectValues(&target->Value, &equation.right->path);
  if (!common) return false;
  target->Value = *common;
  return true;
}

}  // namespace

// Set members are filed under ELEMENT or a numbered name containing it.
bool IsSetMemberAttribute(SymbolId attribute) { return GetSymbolName(attribute).find(u"ELEMENT") != WString::npos; }

CFSNode::CFSNode() : CFSNode(-1, nullptr) {}

CFSNode::CFSNode(int16_t attribute, CFSNode* parent) : Parent(parent), Attribute(attribute) {
  registryIndex_ = NodeRegistry().Add(this);
  NodeId = ++nodeCounter;
  ++liveInstances;
}

CFSNode::~CFSNode() {
  NodeRegistry().Remove(this, registryIndex_, [](CFSNode* node) -> size_t& { return node->registryIndex_; });
  Attribute = -1;
  Parent = nullptr;
  --liveInstances;
}

CFSNode& CFSNode::operator=(const CFSNode& other) {
  if (this == &other) return *this;
  Mark = other.Mark;
  Value = other.Value;
  Attribute = other.Attribute;
  Constraints = other.Constraints;
  ChildList = other.ChildList;
  SetElements = other.SetElements;
  Links = other.Links;
  NodeId = other.NodeId;
  LinkedId = other.LinkedId;
  IsLinkTarget = other.IsLinkTarget;
  IsForwarded = other.IsForwarded;
  Forward = other.Forward;
  GenerationMark = other.GenerationMark;
  HasLinks = other.HasLinks;
  Parent = other.Parent;
  return *this;
}

void CFSNode::ResetIdCounter() { nodeCounter = 0; }

void CFSNode::DeleteAll() { NodeRegistry().DeleteAll(); }

size_t CFSNode::RegisteredCount() { return NodeRegistry().size(); }

CFSNode* CFSNode::AddChild(CFSNode* child, bool toExistingParent) {
  if (child == nullptr) return this;
  if (toExistingParent && child->Parent != nullptr) {
    child->Parent->ChildList.push_back(child);
    return this;
  }
  ChildList.push_back(child);
  child->Parent = this;
  return this;
}

void CFSNode::AddSetElement(CFSNode* node) {
  if (node != nullptr) SetElements.push_back(node);
}

void CFSNode::SetParent(CFSNode* parent) { Parent = parent; }

CFSNode* CFSNode::GetParent(bool skipSetLevels) const {
  if (Parent == nullptr || !skipSetLevels) return Parent;
  const SymbolId parentAttribute = AttributeId(*Parent);
  if (IsSetMemberAttribute(parentAttribute)) {
    return Parent->Parent == nullptr ? nullptr : Parent->Parent->Parent;
  }
  if (parentAttribute == SetId) return Parent->Parent;
  return Parent;
}

bool CFSNode::AddLink(CFSNode* node) {
  if (node == nullptr) return false;
  Links.push_back(node);
  HasLinks = 1;
  return true;
}

void CFSNode::RemoveLink(CFSNode* node) { Links.remove(node); }

CFSNode* CFSNode::FindChildForStep(SymbolId step, bool allowMarked) const {
  for (CFSNode* child : ChildList) {
    if (child == nullptr) continue;
    bool matches = AttributeId(*child) == step;
    if (!matches && step == ElementId) matches = IsSetMemberAttribute(AttributeId(*child));
    if (matches && (allowMarked || child->Mark == 0)) return child;
  }
  return nullptr;
}

CFSNode* CFSNode::FindPath(const std::vector<SymbolId>* path, bool allowMarked) const {
  if (path == nullptr) return nullptr;
  const CFSNode* current = this;
  for (SymbolId step : *path) {
    current = current->FindChildForStep(step, allowMarked);
    if (current == nullptr) return nullptr;
  }
  return const_cast<CFSNode*>(current);
}

CFSNode* CFSNode::FindAttribute(SymbolId attribute) const {
  const std::vector<SymbolId> path{attribute};
  return FindPath(&path, true);
}

CFSNode* CFSNode::FindChildWithAttribute(SymbolId attribute) const {
  for (CFSNode* child : ChildList) {
    if (child != nullptr && AttributeId(*child) == attribute) return child;
  }
  return nullptr;
}

// A node that stands for another by id is replaced by that node (looked up
// from this node's root), then one forward step is taken.
CFSNode* CFSNode::ResolveLinkedAndForwarded(CFSNode* node) {
  if (node->LinkedId != 0) {
    node = FindNodeById(node->LinkedId);
    if (node == nullptr) return nullptr;
  }
  if (node->Forward != nullptr) node = node->Forward;
  return node;
}

CFSNode* CFSNode::FindOrCreatePath(const std::vector<SymbolId>* path, bool& created) {
  created = false;
  if (path == nullptr) return nullptr;
  CFSNode* current = ResolveLinkedAndForwarded(this);
  size_t step = 0;
  for (; step < path->size(); ++step) {
    if (current == nullptr) return nullptr;
    CFSNode* child = current->FindChildWithAttribute((*path)[step]);
    if (child == nullptr) break;
    current = ResolveLinkedAndForwarded(child);
  }
  if (current == nullptr) return nullptr;
  if (step == path->size()) return current;
  created = true;
  for (; step < path->size(); ++step) {
    CFSNode* node = new CFSNode(static_cast<int16_t>((*path)[step]), current);
    current->AddChild(node);
    current = node;
  }
  return current;
}

CFSNode* CFSNode::FindOrCreateAttribute(SymbolId attribute, bool& created) {
  const std::vector<SymbolId> path{attribute};
  return FindOrCreatePath(&path, created);
}

CFSNode* CFSNode::SearchSubtreeForId(uint32_t id) {
  if (NodeId == id) return this;
  for (CFSNode* child : ChildList) {
    if (child == nullptr) continue;
    if (CFSNode* found = child->SearchSubtreeForId(id)) return found;
  }
  for (CFSNode* element : SetElements) {
    if (element == nullptr) continue;
    if (CFSNode* found = element->SearchSubtreeForId(id)) return found;
  }
  return nullptr;
}

CFSNode* CFSNode::FindNodeById(uint32_t id) {
  CFSNode* root = this;
  while (root->Parent != nullptr) root = root->Parent;
  return root->SearchSubtreeForId(id);
}

// The state of one deep copy: the nodes whose copies are being made further
// up the call chain, every copy made so far by its original, and the
// forwarded copies whose forward is set once the whole structure is copied.
// What one Clone call knows while it copies. Every copy is recorded in order;
// the look-up by original is built only when a forward needs it, since most
// structures have none and a hash table per call costs more than the copy.
// The bookkeeping of one Clone. Its lists and index take their memory from
// the walk's own resource (a buffer on the caller's stack first), since a
// clone of a few nodes would otherwise spend most of its time allocating
// and freeing them.
struct CFSNode::CloneWalk {
  explicit CloneWalk(std::pmr::memory_resource* memory)
      : inProgress(memory), copies(memory), copyOf(memory), pending(memory) {}
  std::pmr::vector<const CFSNode*> inProgress;  // the originals whose copies are being made, outermost first
  std::pmr::vector<std::pair<const CFSNode*, CFSNode*>> copies;
  std::pmr::unordered_map<const CFSNode*, CFSNode*> copyOf;  // built on first use, then kept in step
  bool indexed = false;
  struct PendingForward {
    CFSNode* copy;
    const CFSNode* chainEnd;
  };
  std::pmr::vector<PendingForward> pending;

  void Record(const CFSNode* original, CFSNode* copy) {
    copies.emplace_back(original, copy);
    if (indexed) copyOf.emplace(original, copy);
  }
  // The first copy made of the original, or null.
  CFSNode* Find(const CFSNode* original) {
    if (!indexed) {
      copyOf.reserve(copies.size());
      for (const auto& [from, to] : copies) copyOf.emplace(from, to);
      indexed = true;
    }
    const auto known = copyOf.find(original);
    return known != copyOf.end() ? known->second : nullptr;
  }
  bool InProgress(const CFSNode* original) const {
    return std::find(inProgress.begin(), inProgress.end(), original) != inProgress.end();
  }
};

CFSNode* CFSNode::Clone() const {
  std::array<std::byte, 2048> buffer;
  std::pmr::monotonic_buffer_resource memory(buffer.data(), buffer.size());
  CloneWalk walk(&memory);
  CFSNode* copy = CloneGuarded(walk);
  // A forward into the copied structure points at the copy of its target;
  // a forward out of it at a detached copy, made once per target (copying
  // a target may add further pending forwards, hence the index loop).
  for (size_t i = 0; i < walk.pending.size(); ++i) {
    const CloneWalk::PendingForward pending = walk.pending[i];
    CFSNode* known = walk.Find(pending.chainEnd);
    pending.copy->Forward = known != nullptr ? known : pending.chainEnd->CloneGuarded(walk);
  }
  return copy;
}

// A new registered node with this node's attribute, values, id and flags; no
// children, set elements, links, parent or forward yet.
CFSNode* CFSNode::NewCopyOfOwnFields() const {
  CFSNode* copy = new CFSNode(Attribute, nullptr);
  copy->Value = Value;
  copy->IsLinkTarget = IsLinkTarget;
  copy->LinkedId = LinkedId;
  copy->NodeId = NodeId;
  copy->GenerationMark = GenerationMark;
  copy->HasLinks = HasLinks;
  copy->Mark = Mark;
  return copy;
}

// A forward pointer back into a node whose copy is in the making (an
// ancestor) is not followed, which would make the structure contain itself.
CFSNode* CFSNode::CloneGuarded(CloneWalk& walk) const {
  walk.inProgress.push_back(this);
  CFSNode* copy = NewCopyOfOwnFields();
  walk.Record(this, copy);
  copy->ChildList.reserve(ChildList.size());
  for (const CFSNode* child : ChildList) {
    if (child == nullptr) continue;
    CFSNode* childCopy = child->CloneGuarded(walk);
    childCopy->Parent = copy;
    copy->ChildList.push_back(childCopy);
  }
  copy->Constraints = Constraints;
  copy->Parent = Parent;
  for (const CFSNode* element : SetElements) {
    if (element != nullptr) copy->SetElements.push_back(element->CloneGuarded(walk));
  }
  copy->IsForwarded = IsForwarded;
  if (Forward != nullptr && IsForwarded != 0) {
    const CFSNode* end = ForwardChainEnd();
    if (end != nullptr && !walk.InProgress(end)) walk.pending.push_back({copy, end});
  }
  walk.inProgress.pop_back();
  return copy;
}

// The end of this node's forward chain. A chain that ends in a node
// forwarding to itself, or that runs in a cycle, has no end and gives null.
const CFSNode* CFSNode::ForwardChainEnd() const {
  std::unordered_set<const CFSNode*> seen{this};
  const CFSNode* reached = Forward;
  while (reached->Forward != nullptr) {
    if (!seen.insert(reached).second || reached->Forward == reached) return nullptr;
    reached = reached->Forward;
  }
  return reached;
}

void CFSNode::ForwardTo(CFSNode* target) {
  CFSNode* end = target;
  std::unordered_set<const CFSNode*> seen{this};
  while (end != nullptr && end->Forward != nullptr && end->Forward != this && seen.insert(end).second) {
    end = end->Forward;
  }
  if (end == this) end = nullptr;
  Forward = end;
  IsForwarded = end != nullptr ? 1 : 0;
}

CFSNode* CFSNode::FollowForward() {
  CFSNode* reached = this;
  std::unordered_set<const CFSNode*> seen;
  while (reached->Forward != nullptr && seen.insert(reached).second) reached = reached->Forward;
  return reached;
}

CFSNode* CFSNode::CopyLocatingWithStack(const CFSNode* target, CFSNode*& targetCopy, std::vector<CFSNode*>& inStack,
                                        std::vector<CFSNode*>& outStack) const {
  CFSNode* copy = CopyLocatingNode(target, targetCopy, inStack, outStack);
  copy->Parent = nullptr;
  return copy;
}

CFSNode* CFSNode::CopyLocatingNode(const CFSNode* target, CFSNode*& targetCopy, std::vector<CFSNode*>& inStack,
                                   std::vector<CFSNode*>& outStack) const {
  CFSNode* copy = NewCopyOfOwnFields();
  if (this == target) targetCopy = copy;
  if (!inStack.empty() && inStack.back() == this) {
    inStack.pop_back();
    outStack.push_back(copy);
  }
  for (const CFSNode* child : ChildList) {
    if (child == nullptr) continue;
    CFSNode* childCopy = child->CopyLocatingNode(target, targetCopy, inStack, outStack);
    childCopy->Parent = copy;
    copy->ChildList.push_back(childCopy);
  }
  copy->Constraints = Constraints;
  copy->Parent = Parent;
  for (const CFSNode* element : SetElements) {
    if (element == nullptr) continue;
    copy->SetElements.push_back(element->CopyLocatingNode(target, targetCopy, inStack, outStack));
  }
  return copy;
}

CFSNode* CFSNode::CopyRecordingCopies(std::unordered_map<const CFSNode*, CFSNode*>& copies) const {
  CFSNode* copy = CopyRecordingNode(copies);
  copy->Parent = nullptr;
  return copy;
}

CFSNode* CFSNode::CopyRecordingNode(std::unordered_map<const CFSNode*, CFSNode*>& copies) const {
  CFSNode* copy = NewCopyOfOwnFields();
  copies[this] = copy;
  for (const CFSNode* child : ChildList) {
    if (child == nullptr) continue;
    CFSNode* childCopy = child->CopyRecordingNode(copies);
    childCopy->Parent = copy;
    copy->ChildList.push_back(childCopy);
  }
  copy->Constraints = Constraints;
  copy->Parent = Parent;
  for (const CFSNode* element : SetElements) {
    if (element != nullptr) copy->SetElements.push_back(element->CopyRecordingNode(copies));
  }
  return copy;
}

bool CFSNode::ValuesEqualTo(const CFSNode& other) const {
  if (Value.size() != other.Value.size()) return false;
  if (IsValueSubset(&Value, &other.Value) && IsValueSubset(&other.Value, &Value)) return true;
  // Attributes named "_..." carry values that only need to be equally many.
  return NameStartsWithUnderscore(AttributeId(*this));
}

bool CFSNode::ChildrenEqualTo(const CFSNode& other) const {
  if (ChildList.size() != other.ChildList.size()) return false;
  for (const CFSNode* child : ChildList) {
    if (child == nullptr) return false;
    const CFSNode* match = other.FindAttribute(AttributeId(*child));
    if (match == nullptr || !child->Equals(match)) return false;
  }
  return true;
}

bool CFSNode::Equals(const CFSNode* other) const {
  if (other == nullptr || Attribute != other->Attribute) return false;
  if (!ValuesEqualTo(*other) || !ChildrenEqualTo(*other)) return false;
  return Constraints == other->Constraints;
}

bool CFSNode::ResolveLinks() {
  if (HasLinks == 0) return true;
  if (Links.empty()) {
    HasLinks = 0;
    return true;
  }
  // RemoveLink below may touch this node's own list when a node is linked to
  // itself, so the walk goes over a snapshot.
  const std::vector<CFSNode*> linked(Links.begin(), Links.end());
  for (CFSNode* node : linked) {
    if (node == nullptr) continue;
    if (!node->Value.empty()) {
      if (!IntersectValues(&node->Value, &Value)) return false;
      node->Value.clear();
    }
    node->Forward = this;
    node->RemoveLink(this);
  }
  Links.clear();
  return true;
}

// Applies the frame of this PRED node to the structure around it; false when
// the PRED has no VALUE or a frame value clashes.
bool CFSNode::ApplyFramesOfPred(const PredFrameMap& frames) {
  const CFSNode* valueNode = FindAttribute(ValueId);
  if (valueNode == nullptr) return false;
  const WString key = BuildFrameKey(*valueNode, FindAttribute(GfId));
  if (key.empty() || Parent == nullptr) return true;
  auto frame = frames.find(key);
  if (frame == frames.end()) return true;
  for (const CEquation* equation : frame->second) {
    if (equation != nullptr && !ApplyFrameEquation(*Parent, *equation)) return false;
  }
  return true;
}

bool CFSNode::ApplyPredFrames(const PredFrameMap& frames) {
  if (AttributeId(*this) == PredId && !ApplyFramesOfPred(frames)) return false;
  bool allApplied = true;
  for (size_t i = 0; i < ChildList.size(); ++i) {
    // Frames may add children to this node, so the list is indexed afresh.
    CFSNode* child = ChildList[i];
    if (child != nullptr && !child->ApplyPredFrames(frames)) allApplied = false;
  }
  return allApplied;
}
