// Applying a compiled item to real F-structures: Instantiate for a daughter
// with one F-structure, Evaluate for a daughter with several alternatives.
// Both expand attribute paths into nested F-structures and turn set
// membership ("$") into numbered set elements.
#include <algorithm>
#include <limits>
#include <string>

#include "constraints/p_fs_compiler.h"
#include "constraints/p_fs_item.h"
#include "constraints/p_fstructure.h"
#include "constraints/p_symbol_table.h"
#include "core/string_helpers.h"
#include "platform/message_box.h"

namespace {

enum class ApplyWay { kValueByValue, kPathExpansion, kSetElement };

ApplyWay WayOf(uint8_t flags) {
  const uint8_t op = flags & 0x1F;
  if (op == kItemSetMember) return ApplyWay::kSetElement;
  if ((flags & kItemPath) != 0 && op == 0) return ApplyWay::kPathExpansion;
  return ApplyWay::kValueByValue;
}

// The last step of a path takes F-structure values when it names a set
// element (only its first seven characters are compared) or an attribute of
// the attribute-type file.
bool TakesFStructures(const std::string& name) {
  if (name.compare(0, 7, "ELEMENT") == 0) return true;
  const auto& names = P_FSCompiler::AttributeTypeNames();
  return std::find(names.begin(), names.end(), name) != names.end();
}

// A new item of the attribute (flags 0x80) holding one link to a new empty
// F-structure, which is returned in made.
P_FSItemComplex* NewStepItem(uint16_t attribute, P_FStructure*& made) {
  made = new P_FStructure();
  auto* item = new P_FSItemComplex(attribute, kItemFStructureValued);
  item->AddValue(new P_ConValFSLink(made, 0));
  return item;
}

// An F-structure equated with another one through its root continues in the
// first one it is equated with. A root whose first value is bound to no
// F-structure leaves the path where it is.
P_FStructure* EquatedFStructure(P_FStructure* fs) {
  if (fs->root->values.empty()) return fs;
  P_FStructure* equated = fs->root->values.front()->GetBoundFStructure();
  return equated ? equated : fs;
}

// The F-structure of one inner path step, made when missing. A new step
// exists only where the value placed through it holds: its link takes the
// value's context (under the always-true one the step's function would be
// present in every reading). An item of the step whose first value holds no
// F-structure gets a link to the new one through AddItem, so the clash with
// its atomic values shows as a nogood.
P_FStructure* NextStepFStructure(P_FStructure* fs, uint16_t attribute, const P_ConVal& placed) {
  P_FSItem* found = fs->FindItem(attribute);
  if (found) {
    if (P_FStructure* held = FirstValueFStructure(found)) return held;
  }
  P_FStructure* next = nullptr;
  P_FSItemComplex* step = NewStepItem(attribute, next);
  P_ConVal* link = step->values.front();
  link->context = placed.context;
  link->RebuildContextBits();
  if (found) {
    fs->AddItem(step);
  } else {
    fs->items.push_back(step);
  }
  return next;
}

}  // namespace

P_FSItem* P_FSItemComplex::Instantiate(ChoiceLiteral offset, P_FStructure* first, P_FStructure* second) {
  switch (WayOf(flags)) {
    case ApplyWay::kSetElement:
      if (!BecomeSetElement()) return nullptr;
      return Instantiate(offset, first, second);
    case ApplyWay::kPathExpansion: return InstantiatePath(offset, first, second);
    case ApplyWay::kValueByValue: break;
  }
  return InstantiateValues(offset, first, second);
}

P_FSItem* P_FSItemComplex::Evaluate(ChoiceLiteral offset, P_FStructure* fs, std::vector<P_ConVal*> alternatives) {
  switch (WayOf(flags)) {
    case ApplyWay::kSetElement:
      if (!BecomeSetElement()) return nullptr;
      return Evaluate(offset, fs, std::move(alternatives));
    case ApplyWay::kPathExpansion: return EvaluatePath(offset, fs, alternatives);
    case ApplyWay::kValueByValue: break;
  }
  return EvaluateValues(offset, fs, alternatives);
}

bool P_FSItemComplex::BecomeSetElement() {
  if (SetElementCounter == std::numeric_limits<int16_t>::max()) {
    ShowMessage(u"Too many set elements in one sentence; the set member is left out.", u"Constraint System",
                MessageStyle::Ok);
    return false;
  }
  std::string name = attribute != 0 ? P_SymbolTable::GetString(static_cast<int16_t>(attribute)) + " SET ELEMENT"
                                    : std::string("SET ELEMENT");
  name += IntToString(SetElementCounter);
  ++SetElementCounter;
  const uint16_t id = P_SymbolTable::Intern(name);
  if (id == 0) return false;  // the symbol table has said why
  attribute = id;
  flags = static_cast<uint8_t>((flags & 0xE7) | kItemPath);
  return true;
}

P_FSItem* P_FSItemComplex::InstantiateValues(ChoiceLiteral offset, P_FStructure* first, P_FStructure* second) const {
  auto* result = new P_FSItemComplex(attribute, flags);
  for (const P_ConVal* value : values) {
    P_ConVal* made = value->Instantiate(first, second, offset);
    if (made) result->AddValue(made);
  }
  return result;
}

P_FSItem* P_FSItemComplex::EvaluateValues(ChoiceLiteral offset, P_FStructure* fs,
                                          const std::vector<P_ConVal*>& alternatives) {
  auto* result = new P_FSItemComplex(attribute, flags);
  for (P_ConVal* value : values) {
    for (P_ConVal* made : value->Evaluate(fs, alternatives, offset)) result->AddValue(made);
  }
  return result;
}

P_FSItem* P_FSItemComplex::InstantiatePath(ChoiceLiteral offset, P_FStructure* first, P_FStructure* second) const {
  std::string rest = P_SymbolTable::GetString(static_cast<int16_t>(attribute));
  const uint16_t firstId = P_SymbolTable::Intern(SplitFirstWord(rest));
  // The mother's item of the first step is reused when it holds an
  // F-structure; otherwise a new item is made, which the caller's AddItem
  // joins to an item of atomic values there (the clash then shows).
  P_FSItem* result = first ? first->FindItem(firstId) : nullptr;
  P_FStructure* working = result ? FirstValueFStructure(result) : nullptr;
  if (working) {
    for (const P_ConVal* value : values) {
      P_ConVal* made = value->Instantiate(first, second, offset);
      if (!made) continue;
      made->RebuildContextBits();
      PlaceValueAtPath(working, rest, made);
      delete made;
    }
    return result;
  }
  // A new first step exists only where its equation holds: one F-structure
  // per value, linked under the value's context. A link under the empty
  // context would make the step's function present in every reading, also
  // in the alternatives that never state it.
  auto* step = new P_FSItemComplex(firstId, kItemFStructureValued);
  for (const P_ConVal* value : values) {
    P_ConVal* made = value->Instantiate(first, second, offset);
    if (!made) continue;
    auto* link = new P_ConValFSLink(new P_FStructure(), 0);
    link->context = made->context;
    link->RebuildContextBits();
    made->RebuildContextBits();
    PlaceValueAtPath(link->boundFStructure, rest, made);
    delete made;
    step->AddValue(link);
  }
  if (step->values.empty()) step->AddValue(new P_ConValFSLink(new P_FStructure(), 0));
  return step;
}

P_FSItem* P_FSItemComplex::EvaluatePath(ChoiceLiteral offset, P_FStructure* fs,
                                        const std::vector<P_ConVal*>& alternatives) {
  std::string rest = P_SymbolTable::GetString(static_cast<int16_t>(attribute));
  const uint16_t firstId = P_SymbolTable::Intern(SplitFirstWord(rest));
  auto* result = new P_FSItemComplex(firstId, kItemFStructureValued);
  for (P_ConVal* value : values) {
    for (P_ConVal* made : value->Evaluate(fs, alternatives, offset)) {
      // One F-structure per evaluated value, holding under its context.
      auto* link = new P_ConValFSLink(new P_FStructure(), 0);
      link->context = made->context;
      link->RebuildContextBits();
      PlaceValueAtPath(link->boundFStructure, rest, made);
      delete made;
      result->AddValue(link);
    }
  }
  return result;
}

void P_FSItemComplex::PlaceValueAtPath(P_FStructure* fs, std::string path, const P_ConVal* value) const {
  if (!fs || !value) return;
  while (path.find(' ') != std::string::npos) {
    const uint16_t step = P_SymbolTable::Intern(SplitFirstWord(path));
    fs = NextStepFStructure(EquatedFStructure(fs), step, *value);
  }
  auto* last = new P_FSItemComplex(P_SymbolTable::Intern(path), TakesFStructures(path) ? kItemFStructureValued : 0);
  last->AddValue(value->Clone());
  fs->AddItem(last);
  fs->ResolveIndexPaths();
}
