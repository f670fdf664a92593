// F-structure nodes: the attribute-value trees in which parsers, mapper,
// generator and front end hold every F-structure outside the constraint
// solver. A node is one attribute (a global symbol id) with an atomic value
// set and sub-structures.
//
// Nodes are made with new, which takes them from the sentence arena, and
// enter a program-wide registry; the per-sentence reset frees them all at
// once with DeleteAll before it releases the arena. A node never deletes the
// nodes it points to. A node deleted on its own (temporary clones) leaves
// the registry, so nothing is freed twice.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/equation.h"
#include "core/sentence_arena.h"
#include "core/symbol_table.h"
#include "core/wide_string.h"

// The frame map of ApplyPredFrames: a PRED key such as give<SUBJ,OBJ> to the
// equations that every entry of that frame shares.
using PredFrameMap = std::unordered_map<WString, std::vector<CEquation*>>;

// True for the attributes of set members: ELEMENT and the numbered names
// that contain it.
bool IsSetMemberAttribute(SymbolId attribute);

class CFSNode : public SentenceArenaObject {
 public:
  CFSNode();
  CFSNode(int16_t attribute, CFSNode* parent);
  ~CFSNode();
  CFSNode(const CFSNode&) = delete;
  // Member-wise copy of every field (pointers, not the nodes behind them).
  // The registry entry stays this node's own.
  CFSNode& operator=(const CFSNode& other);

  // Node ids restart at 1 with every parse.
  static void ResetIdCounter();
  // Frees every registered node and empties the registry.
  static void DeleteAll();
  static size_t RegisteredCount();

  // Appends the child and makes this node its parent. With
  // toExistingParent set, a child that already has a parent is appended to
  // that parent instead. A null child is ignored. Returns this node.
  CFSNode* AddChild(CFSNode* child, bool toExistingParent = false);
  // Appends the node to SetElements; its parent is left as it is.
  void AddSetElement(CFSNode* node);
  void SetParent(CFSNode* parent);
  // The node's parent, or null. With skipSetLevels, the levels that only
  // hold a set are passed over so that the answer is the structure that owns
  // the set: under a member level (an attribute whose name contains
  // "ELEMENT", as FindPath reads it) the parent's grandparent, under a SET
  // level the parent's parent. A missing link on the way gives null.
  CFSNode* GetParent(bool skipSetLevels) const;
  // Records a node that shares this node's value; false for a null node.
  bool AddLink(CFSNode* node);
  void RemoveLink(CFSNode* node);

  // Follows the path child by child, first match at each step. A step of
  // ElementId also matches any child whose attribute name contains
  // "ELEMENT" (numbered set members). Marked children are passed over
  // unless allowMarked. Null path or failed step: null; empty path: this.
  CFSNode* FindPath(const std::vector<SymbolId>* path, bool allowMarked) const;
  // The first child with the attribute, marked children included.
  CFSNode* FindAttribute(SymbolId attribute) const;
  // Follows the path by attribute, stepping through linked ids and forward
  // pointers, and creates the missing tail; created tells whether the
  // returned node was made now. Null for a null path or a dangling link id.
  CFSNode* FindOrCreatePath(const std::vector<SymbolId>* path, bool& created);
  // FindOrCreatePath with the one-step path [attribute].
  CFSNode* FindOrCreateAttribute(SymbolId attribute, bool& created);
  // Searches the whole structure (from the root above this node) for the
  // node with the id; null when there is none.
  CFSNode* FindNodeById(uint32_t id);

  // Deep copy that keeps node ids; the copy's parent is this node's parent.
  // A flagged forward pointer whose chain ends inside the copied structure
  // points at the copy of that end, so the copy shares values within itself
  // as the original does; a chain that ends outside gets a detached copy of
  // its end; a chain that ends in an ancestor of the forwarded node or runs
  // in a cycle gives no forward.
  CFSNode* Clone() const;
  // Deep copy without parent, forward or links that also hands out the copy
  // of target and turns the source nodes popped from the top of inStack, in
  // the order the copy meets them, into their copies pushed on outStack.
  // Stacks have their top at the back.
  CFSNode* CopyLocatingWithStack(const CFSNode* target, CFSNode*& targetCopy, std::vector<CFSNode*>& inStack,
                                 std::vector<CFSNode*>& outStack) const;

  // Deep copy without parent, forward or links (as CopyLocatingWithStack)
  // that records, for this node and every node below it, its copy.
  CFSNode* CopyRecordingCopies(std::unordered_map<const CFSNode*, CFSNode*>& copies) const;

  // Structural equality: attribute, values (as sets; attributes named "_..."
  // need only equally many values), children by attribute, constraint texts.
  bool Equals(const CFSNode* other) const;
  // Forwards this node to the end of target's forward chain (the chain is
  // followed while the next node is not this one; a cycle stops it) and sets
  // IsForwarded; a null target, or a chain that comes back to this node
  // alone, clears the forward.
  void ForwardTo(CFSNode* target);
  // The end of this node's forward chain: this node when it is not
  // forwarded; the last node before a cycle closes.
  CFSNode* FollowForward();

  // Merges the linked nodes into this one; false on a value clash.
  bool ResolveLinks();
  // Adds the frame equations of every PRED below and at this node to the
  // structure; false when a value clashes anywhere.
  bool ApplyPredFrames(const PredFrameMap& frames);

  // The members stand by size, so that a node wastes no padding: a sentence
  // holds hundreds of thousands of them.
  std::vector<SymbolId> Value;       // atomic values; empty means unconstrained
  std::vector<WString> Constraints;  // equation texts kept by the LFG parser
  std::vector<CFSNode*> ChildList;
  std::vector<CFSNode*> SetElements;
  std::list<CFSNode*> Links;  // nodes sharing this node's value
  CFSNode* Forward = nullptr;
  CFSNode* Parent = nullptr;
  uint32_t NodeId = 0;
  uint32_t LinkedId = 0;   // NodeId of the node this one stands for, or 0
  int16_t Attribute = -1;  // -1 (65535 as u16) when there is none
  uint8_t Mark = 0;        // consumed by the generator; FindPath may skip it
  uint8_t IsLinkTarget = 0;
  uint8_t IsForwarded = 0;     // Clone follows Forward only when set
  uint8_t GenerationMark = 0;  // the generator's consumed flag
  uint8_t HasLinks = 0;

  static int liveInstances;

 private:
  CFSNode* NewCopyOfOwnFields() const;
  struct CloneWalk;
  CFSNode* CloneGuarded(CloneWalk& walk) const;
  const CFSNode* ForwardChainEnd() const;
  CFSNode* CopyRecordingNode(std::unordered_map<const CFSNode*, CFSNode*>& copies) const;
  CFSNode* CopyLocatingNode(const CFSNode* target, CFSNode*& targetCopy, std::vector<CFSNode*>& inStack,
                            std::vector<CFSNode*>& outStack) const;
  CFSNode* FindChildForStep(SymbolId step, bool allowMarked) const;
  CFSNode* FindChildWithAttribute(SymbolId attribute) const;
  CFSNode* ResolveLinkedAndForwarded(CFSNode* node);
  CFSNode* SearchSubtreeForId(uint32_t id);
  bool ValuesEqualTo(const CFSNode& other) const;
  bool ChildrenEqualTo(const CFSNode& other) const;
  bool ApplyFramesOfPred(const PredFrameMap& frames);

  size_t registryIndex_ = 0;
};
