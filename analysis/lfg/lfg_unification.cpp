// Unification of F-structure nodes. Children are matched by attribute only;
// atomic values are sets of symbol ids where an empty set means
// "unconstrained". Everything happens in place in the left node, so callers
// unify into clones and drop a clone whose unification failed.
#include <memory>

#include "analysis/lfg/lfg_parser.h"
#include "analysis/lfg/value_set_ops.h"
#include "core/string_helpers.h"
#include "platform/message_box.h"

namespace {

bool AttributeNameStartsWithHash(const CFSNode& node) {
  const WString name = GetSymbolName(static_cast<SymbolId>(node.Attribute));
  return !name.empty() && name.front() == u'#';
}

void ShowSetUnificationFailure(const WString& text) { ShowMessage(text, u"LFG Parser", MessageStyle::Ok); }

}  // namespace

// An atomic value set unifies with a node that has no children: an empty
// value set takes the values, a filled one keeps the intersection. Attributes
// named "#..." take their value once and never narrow it.
bool CLFGParser::UnifyValues(CFSNode& node, const std::vector<SymbolId>& values) {
  if (!node.ChildList.empty()) return false;
  if (node.Value.empty()) {
    node.Value.insert(node.Value.end(), values.begin(), values.end());
    return true;
  }
  if (AttributeNameStartsWithHash(node)) return false;
  std::unique_ptr<ValueList> common = IntersectValues(&node.Value, &values);
  if (!common) return false;
  node.Value = *common;
  return true;
}

bool CLFGParser::UnifyAtomic(CFSNode& node, const CFSNode& fR) {
  if (fR.Value.empty()) return true;
  if (node.Value.empty()) {
    node.Value = fR.Value;
    return true;
  }
  std::unique_ptr<ValueList> common = IntersectValues(&fR.Value, &node.Value);
  if (!common) return false;
  node.Value = *common;
  return true;
}

// The node takes the content of the distributed structure, but keeps what
// places it in its tree: its parent, its attribute (by which the parent finds
// it), its node id (by which linked nodes find it) and whether it is a link
// target. The set elements become its own, so their parent is the node.
void CLFGParser::AdoptDistributedContent(CFSNode& node, const CFSNode& source) {
  CFSNode* parent = node.Parent;
  const int16_t attribute = node.Attribute;
  const uint32_t nodeId = node.NodeId;
  const uint8_t isLinkTarget = node.IsLinkTarget;
  node = source;
  node.Parent = parent;
  node.Attribute = attribute;
  node.NodeId = nodeId;
  node.IsLinkTarget = isLinkTarget;
  for (CFSNode* element : node.SetElements) {
    if (element != nullptr) element->Parent = &node;
  }
}

// A set-valued fR: each element gets its own copy of the left structure
// unified with it, and the left node becomes the set of these copies.
bool CLFGParser::DistributeOverSet(CFSNode** fL, CFSNode* fR) {
  auto distributed = std::make_unique<CFSNode>(static_cast<int16_t>(IndexId), nullptr);
  for (CFSNode* element : fR->SetElements) {
    if (element == nullptr) continue;
    CFSNode* copy = (*fL)->Clone();
    // The unification also copies the element's constraint texts to the
    // copy; copying them once more would only double them.
    if (!UnifySpecial(&copy, element, nullptr, false)) {
      delete copy;
      return false;
    }
    distributed->AddSetElement(copy);
  }
  AdoptDistributedContent(**fL, *distributed);
  return true;
}

bool CLFGParser::UnifyChildren(CFSNode& node, const CFSNode& fR) {
  // A snapshot: unifying below may add children anywhere in the trees.
  const std::vector<CFSNode*> children = fR.ChildList;
  for (CFSNode* child : children) {
    if (child == nullptr) continue;
    CFSNode* match = node.FindAttribute(static_cast<SymbolId>(child->Attribute));
    if (match == nullptr) {
      node.AddChild(child->Clone());
      continue;
    }
    if (!UnifySpecial(&match, child, nullptr, false)) return false;
  }
  return true;
}

bool CLFGParser::UnifySpecial(CFSNode** fL, CFSNode* fR, std::vector<SymbolId>* values, bool distribute) {
  if (fL == nullptr || *fL == nullptr) return false;
  // A node unified with itself is unchanged; going on would copy its own set
  // elements and constraints onto it a second time.
  if (*fL == fR) return true;
  CFSNode& node = **fL;
  if (fR == nullptr && values != nullptr) {
    if (!UnifyValues(node, *values)) return false;
  } else if (values == nullptr && fR != nullptr) {
    const bool atomic = fR->ChildList.empty() && (!distribute || fR->SetElements.empty());
    if (atomic) {
      if (!UnifyAtomic(node, *fR)) return false;
    } else {
      if (distribute && !fR->SetElements.empty() && !DistributeOverSet(fL, fR)) return false;
      if (!UnifyChildren(**fL, *fR)) return false;
    }
  }
  if (!distribute && fR != nullptr) {
    CopySetElements(*fL, fR);
    CopyConstraints(*fL, fR);
  }
  return true;
}

void CLFGParser::CopyConstraints(CFSNode* to, const CFSNode* from) {
  if (to == nullptr || from == nullptr) return;
  const std::vector<WString> texts = from->Constraints;
  to->Constraints.insert(to->Constraints.end(), texts.begin(), texts.end());
}

void CLFGParser::CopySetElements(CFSNode* to, const CFSNode* from) {
  if (to == nullptr || from == nullptr) return;
  const std::vector<CFSNode*> elements = from->SetElements;
  for (const CFSNode* element : elements) {
    if (element != nullptr) to->SetElements.push_back(element->Clone());
  }
}

void CLFGParser::CopyChildren(CFSNode* to, const CFSNode* from) {
  if (to == nullptr || from == nullptr) return;
  const std::vector<CFSNode*> children = from->ChildList;
  for (const CFSNode* child : children) {
    if (child != nullptr) to->AddChild(child->Clone());
  }
}

// Element-wise unification of two sets of equal size; the left node becomes
// an INDEX node (in its own place) whose elements are the unified copies.
bool CLFGParser::UnifySets(CFSNode** fL, CFSNode* fR) {
  if (fL == nullptr || *fL == nullptr || fR == nullptr) return false;
  CFSNode& node = **fL;
  if (!node.ChildList.empty()) {
    ShowSetUnificationFailure(u"fL->ChildList.size()!=0");
    return false;
  }
  if (node.SetElements.size() != fR->SetElements.size()) {
    ShowSetUnificationFailure(u"Set Unification Failed");
    return false;
  }
  auto result = std::make_unique<CFSNode>(static_cast<int16_t>(IndexId), nullptr);
  for (size_t i = 0; i < node.SetElements.size(); ++i) {
    CFSNode* left = node.SetElements[i] != nullptr ? node.SetElements[i]->Clone() : nullptr;
    CFSNode* right = fR->SetElements[i];
    if (left == nullptr || right == nullptr) {
      ShowSetUnificationFailure(u"!vR ==> !result");
      return false;
    }
    if (!UnifySpecial(&left, right, nullptr, false)) {
      ShowSetUnificationFailure(u"!UnifySpecial(fL_element,fR_element,NULL)");
      return false;
    }
    result->AddSetElement(left);
  }
  AdoptDistributedContent(node, *result);
  return true;
}
