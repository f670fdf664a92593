#include "constraints/p_fs_item.h"

#include <algorithm>
#include <vector>

int16_t SetElementCounter = 1;

// --- P_FSItem: neutral answers of the solver operations ---

P_FSItem* P_FSItem::Evaluate(ChoiceLiteral, P_FStructure*, std::vector<P_ConVal*>) { return nullptr; }

P_FSItem* P_FSItem::Instantiate(ChoiceLiteral, P_FStructure*, P_FStructure*) { return nullptr; }

void P_FSItem::ReleaseHandedOutValues(std::list<P_ConVal*>& values) const { values.clear(); }

std::list<CFeatureSet> P_FSItem::CollectNogoods() { return {}; }

std::list<CFeatureSet> P_FSItem::CollectNogoodsAgainst(P_FSItem* other) {
  P_UnificationWalk walk;
  return CollectNogoodsAgainst(other, walk);
}

std::list<CFeatureSet> P_FSItem::CollectNogoodsAgainst(P_FSItem*, P_UnificationWalk&) { return {}; }

P_FSItem* P_FSItem::RestrictToContext(const ContextList& context) {
  P_RestrictionWalk walk;
  return RestrictToContextIn(context, walk);
}

P_FSItem* P_FSItem::RestrictToContextIn(const ContextList&, P_RestrictionWalk&) { return nullptr; }

void P_FSItem::NarrowValueContexts(ContextList&) {}

// --- P_FSItemComplex ---

P_FSItemComplex::P_FSItemComplex(const P_FSItemComplex& other) : P_FSItem(other), flags(other.flags) {
  for (const P_ConVal* value : other.values) values.push_back(value->Clone());
}

P_FSItemComplex::~P_FSItemComplex() {
  // A value may be listed twice (it was handed to this item twice); it is
  // destroyed once.
  std::vector<P_ConVal*> owned(values.begin(), values.end());
  std::sort(owned.begin(), owned.end());
  owned.erase(std::unique(owned.begin(), owned.end()), owned.end());
  for (P_ConVal* value : owned) delete value;
}

P_FSItem* P_FSItemComplex::ToComplexCopy() {
  flags |= kItemNegated;
  return new P_FSItemComplex(*this);
}

P_FSItem* P_FSItemComplex::CopyWithContext(ContextList context) const {
  auto* copy = new P_FSItemComplex(*this);
  if (!copy->values.empty()) copy->values.front()->context = std::move(context);
  return copy;
}

P_FSItem* P_FSItemComplex::Clone() const { return new P_FSItemComplex(*this); }

bool P_FSItemComplex::AddValue(P_ConVal* value) {
  values.push_back(value);
  return true;
}

bool P_FSItemComplex::Equals(const P_FSItem* other) const {
  if (attribute != other->attribute || flags != other->GetFlags()) return false;
  if (GetValueCount() != other->GetValueCount()) return false;
  return std::all_of(values.begin(), values.end(), [&](const P_ConVal* value) { return other->ContainsValue(value); });
}

bool P_FSItemComplex::ContainsValue(const P_ConVal* value) const {
  return std::any_of(values.begin(), values.end(), [&](const P_ConVal* own) { return value->Equals(own); });
}

std::ostream& P_FSItemComplex::Print(std::ostream& out) const {
  out << "Printing P_FSItemComplex:\n"
      << "attribute = " << static_cast<int16_t>(attribute) << "\n"
      << "attribute_type = " << static_cast<unsigned>(flags) << "\n";
  for (const P_ConVal* value : values) value->Print(out);
  return out << "\n";
}

bool P_FSItemComplex::AppendValuesIfType(uint8_t type, P_FSItem* target) {
  if ((flags & 0x3F) != type) return false;
  for (P_ConVal* value : values) target->AddValue(value);
  return true;
}

P_FSItem* P_FSItemComplex::AsDefiningItem() { return (flags & kItemNegated) == 0 && attribute != 0 ? this : nullptr; }

P_FSItem* P_FSItemComplex::AsConstrainingItem() {
  const uint8_t kind = flags & kItemNegated;
  return kind == kItemConstraint || kind == kItemNegated ? this : nullptr;
}

P_FSItem* P_FSItemComplex::AsEmptyAttributeItem() {
  if (attribute != 0 || (flags & kItemNegated) != 0 || values.empty()) return nullptr;
  return values.front()->IsNullValue() ? this : nullptr;
}

void P_FSItemComplex::ReleaseFStructures() {
  for (P_ConVal* value : values) value->ClearFStructure();
}

void P_FSItemComplex::Serialize(DumpWords& words, uint32_t& index) const {
  PutWord(words, index, 2);
  PutWord(words, index, flags);
  PutWord(words, index, static_cast<uint16_t>(values.size()));
  for (const P_ConVal* value : values) value->Serialize(words, index);
}

bool P_FSItemComplex::Deserialize(const DumpWords& words, uint32_t& index) {
  uint16_t flagWord = 0;
  uint16_t countWord = 0;
  if (!TakeWord(words, index, flagWord) || !TakeWord(words, index, countWord)) return false;
  flags = static_cast<uint8_t>(flagWord & 0xFF);
  const int16_t count = static_cast<int16_t>(countWord);
  if (count < 0) return false;
  for (int16_t i = 0; i < count; ++i) {
    uint16_t tag = 0;
    if (!TakeWord(words, index, tag)) return false;
    P_ConVal* value = NewConValForTag(tag);
    if (!value) return false;
    values.push_back(value);  // owned from here, also when the record is short
    if (!value->Deserialize(words, index)) return false;
  }
  return true;
}

void P_FSItemComplex::ResetSetElementCounter() { SetElementCounter = 1; }

// --- P_FSItemComplexAnchored ---

P_FSItemComplexAnchored::P_FSItemComplexAnchored(const P_FSItem* item, P_FStructure* first, P_FStructure* second)
    : P_FSItemComplex(item->attribute, item->GetFlags()) {
  std::list<P_ConVal*> source = item->GetValues();
  for (const P_ConVal* value : source) values.push_back(value->Clone());
  item->ReleaseHandedOutValues(source);
  anchor = (flags & kItemOnDaughter) ? second : first;
}

P_FSItem* P_FSItemComplexAnchored::Clone() const { return new P_FSItemComplexAnchored(*this); }

void P_FSItemComplexAnchored::ReleaseFStructures() {
  P_FSItemComplex::ReleaseFStructures();
  anchor = nullptr;
}

// --- P_FSItemSimple ---

namespace {

P_ConValPlainVal* NewPlainValue(uint16_t value, ContextList context) {
  auto* plain = new P_ConValPlainVal(value);
  plain->context = std::move(context);
  return plain;
}

}  // namespace

P_FSItem* P_FSItemSimple::ToComplexCopy() {
  auto* copy = new P_FSItemComplex(attribute, kItemNegated);
  copy->AddValue(NewPlainValue(value, {}));
  return copy;
}

P_FSItem* P_FSItemSimple::CopyWithContext(ContextList context) const {
  if (context == ContextList{0}) return new P_FSItemSimple(*this);
  auto* copy = new P_FSItemComplex(attribute, 0);
  copy->AddValue(NewPlainValue(value, std::move(context)));
  return copy;
}

P_FSItem* P_FSItemSimple::Clone() const { return new P_FSItemSimple(*this); }

bool P_FSItemSimple::Equals(const P_FSItem* other) const {
  return attribute == other->attribute && other->GetValue() == value;
}

std::ostream& P_FSItemSimple::Print(std::ostream& out) const {
  return out << "Printing P_FSItemSimple:\n"
             << "attribute = " << static_cast<int16_t>(attribute) << "\n"
             << "value = " << static_cast<int16_t>(value) << "\n";
}

bool P_FSItemSimple::AppendValuesToIfType00(P_FSItem* target) {
  P_ConVal* plain = NewPlainValue(value, {0});
  if (!target->AddValue(plain)) delete plain;
  return true;
}

P_FSItem* P_FSItemSimple::Evaluate(ChoiceLiteral, P_FStructure*, std::vector<P_ConVal*>) { return Clone(); }

P_FSItem* P_FSItemSimple::Instantiate(ChoiceLiteral, P_FStructure*, P_FStructure*) { return Clone(); }

std::list<P_ConVal*> P_FSItemSimple::GetValues() const { return {NewPlainValue(value, {0})}; }

void P_FSItemSimple::ReleaseHandedOutValues(std::list<P_ConVal*>& values) const {
  for (P_ConVal* made : values) delete made;
  values.clear();
}

std::list<CFeatureSet> P_FSItemSimple::CollectNogoodsAgainst(P_FSItem* other, P_UnificationWalk&) {
  const P_ConValPlainVal own(value);
  std::list<CFeatureSet> nogoods;
  std::list<P_ConVal*> others = other->GetValues();
  for (const P_ConVal* candidate : others) {
    if (candidate->GetBoundFStructure() || !own.Matches(candidate)) {
      nogoods.push_back(FeatureSetOr(own.contextBits, candidate->contextBits));
    }
  }
  other->ReleaseHandedOutValues(others);
  return nogoods;
}

P_FSItem* P_FSItemSimple::RestrictToContextIn(const ContextList&, P_RestrictionWalk&) { return Clone(); }

void P_FSItemSimple::Serialize(DumpWords& words, uint32_t& index) const {
  PutWord(words, index, 1);
  PutWord(words, index, value);
}

bool P_FSItemSimple::Deserialize(const DumpWords& words, uint32_t& index) { return TakeWord(words, index, value); }

P_FSItem* NewItemForTag(uint16_t tag) {
  if (tag == 1) return new P_FSItemSimple();
  if (tag == 2) return new P_FSItemComplex();
  return nullptr;
}
