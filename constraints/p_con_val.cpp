#include "constraints/p_con_val.h"

#include <algorithm>

#include "constraints/p_symbol_table.h"
#include "core/string_helpers.h"
#include "platform/message_box.h"

namespace {

// A literal is stored as a signed 16-bit word (dumps written when literals
// were bytes hold them sign-extended, which reads back the same).
uint16_t LiteralWord(ChoiceLiteral literal) { return static_cast<uint16_t>(literal); }
ChoiceLiteral WordLiteral(uint16_t word) { return static_cast<ChoiceLiteral>(word); }

void ReportChoiceOverflow(int choice) {
  ShowMessage(u"Choice number " + IntToWString(choice) + u" is beyond the " + IntToWString(kMaxFeatureId) +
                  u" choices of one analysis; the analysis is dropped.",
              u"Constraint System", MessageStyle::Ok);
}

// The value made by Instantiate and Evaluate of an atomic value: the same
// value, its context shifted by k and its bits rebuilt. Null when the shift
// fails.
template <typename Value>
P_ConVal* ShiftedCopy(const Value& source, ChoiceLiteral k) {
  auto* copy = new Value(source);
  if (!copy->ShiftContext(k)) {
    delete copy;
    return nullptr;
  }
  copy->RebuildContextBits();
  return copy;
}

bool Contains(const std::list<uint16_t>& ids, uint16_t id) {
  return std::find(ids.begin(), ids.end(), id) != ids.end();
}

}  // namespace

P_ConVal::P_ConVal() : contextBits(kFeatureSetWords) {}

P_ConVal::~P_ConVal() = default;

bool P_ConVal::ShiftContext(ChoiceLiteral k) {
  ContextList shifted;
  for (ChoiceLiteral literal : context) {
    if (literal == 0) {
      shifted.push_back(0);
      continue;
    }
    const int choice = (literal > 0 ? literal : -literal) + k;
    if (choice < 1 || choice > kMaxFeatureId) {
      ReportChoiceOverflow(choice);
      return false;
    }
    shifted.push_back(static_cast<ChoiceLiteral>(literal > 0 ? choice : -choice));
  }
  shifted.sort();
  context = std::move(shifted);
  return true;
}

void P_ConVal::AppendContext(ContextList other) {
  context.splice(context.end(), other);
  context.sort();
}

void P_ConVal::ConjoinContextBits(CFeatureSet bits) { contextBits = FeatureSetOr(contextBits, bits); }

void P_ConVal::RebuildContextBits() {
  contextBits = BuildFeatureSet(FeatureLiteralList(context.begin(), context.end()));
}

void P_ConVal::WriteContext(DumpWords& words, uint32_t& index) const {
  PutWord(words, index, static_cast<uint16_t>(context.size()));
  for (ChoiceLiteral literal : context) PutWord(words, index, LiteralWord(literal));
}

bool P_ConVal::ReadContext(const DumpWords& words, uint32_t& index) {
  uint16_t count = 0;
  if (!TakeWord(words, index, count) || !WordsLeft(words, index, count)) return false;
  context.clear();
  for (uint16_t i = 0; i < count; ++i) {
    uint16_t word = 0;
    TakeWord(words, index, word);
    context.push_back(WordLiteral(word));
  }
  return true;
}

std::ostream& P_ConVal::PrintContext(std::ostream& out) const {
  out << "context: ";
  for (ChoiceLiteral literal : context) out << static_cast<int>(literal) << " ";
  return out;
}

// --- P_ConValFSLink ---

P_ConValFSLink::P_ConValFSLink(P_FStructure* fs, uint16_t attribute_id)
    : attribute(attribute_id), boundFStructure(fs) {}

void P_ConValFSLink::Serialize(DumpWords& words, uint32_t& index) const {
  PutWord(words, index, 1);
  PutWord(words, index, attribute);
  WriteContext(words, index);
}

bool P_ConValFSLink::Deserialize(const DumpWords& words, uint32_t& index) {
  return TakeWord(words, index, attribute) && ReadContext(words, index);
}

// Links are never equal, not even to themselves: an item may hold several
// links to equal F-structures.
bool P_ConValFSLink::Equals(const P_ConVal*) const { return false; }

// A link prints as a fixed marker rather than its F-structure: following the
// link could print a structure that contains the link itself without end.
std::ostream& P_ConValFSLink::Print(std::ostream& out) const { return out << "NOT IMPLEMENTED"; }

std::list<P_ConVal*> P_ConValFSLink::Evaluate(P_FStructure*, std::vector<P_ConVal*>, ChoiceLiteral) { return {}; }

P_ConVal* P_ConValFSLink::Instantiate(P_FStructure*, P_FStructure*, ChoiceLiteral) const { return nullptr; }

std::string P_ConValFSLink::ToString() const { return P_SymbolTable::GetString(static_cast<int16_t>(attribute)); }

P_ConVal* P_ConValFSLink::Clone() const { return new P_ConValFSLink(*this); }

// --- P_ConValFDLink ---

void P_ConValFDLink::Serialize(DumpWords& words, uint32_t& index) const {
  PutWord(words, index, 2);
  PutWord(words, index, value);
  PutWord(words, index, valueType);
  WriteContext(words, index);
}

bool P_ConValFDLink::Deserialize(const DumpWords& words, uint32_t& index) {
  uint16_t type = 0;
  if (!TakeWord(words, index, value) || !TakeWord(words, index, type)) return false;
  valueType = static_cast<uint8_t>(type & 0xFF);
  return ReadContext(words, index);
}

bool P_ConValFDLink::Equals(const P_ConVal* other) const {
  return ContextEquals(*other) && static_cast<int16_t>(value) == static_cast<int16_t>(other->GetLinkValue()) &&
         valueType == static_cast<uint8_t>(other->GetValueType() & 0xFF);
}

std::ostream& P_ConValFDLink::Print(std::ostream& out) const {
  out << "Printing P_ConValFDLink:\n"
      << "value: " << value << "\n"
      << "value_type: " << static_cast<int>(valueType) << "\n";
  return PrintContext(out) << "\n";
}

std::list<P_ConVal*> P_ConValFDLink::Evaluate(P_FStructure* fs, std::vector<P_ConVal*> linked, ChoiceLiteral k) {
  if ((valueType & kLinkToDaughter) == 0) {
    auto* link = new P_ConValFSLink(fs, value);
    link->context = context;
    link->valueType = valueType;
    if (!link->ShiftContext(k)) {
      delete link;
      return {};
    }
    link->RebuildContextBits();
    return {link};
  }
  // A '!' link stands for each alternative of the daughter: each copy keeps
  // the alternative's own context and adds this link's.
  if (!ShiftContext(k)) return {};
  std::list<P_ConVal*> result;
  for (P_ConVal* alternative : linked) {
    P_ConVal* copy = alternative->Clone();
    copy->SetValue(value);
    copy->SetValueType(valueType);
    copy->AppendContext(context);
    copy->RebuildContextBits();
    result.push_back(copy);
  }
  return result;
}

P_ConVal* P_ConValFDLink::Instantiate(P_FStructure* first, P_FStructure* second, ChoiceLiteral k) const {
  auto* link = new P_ConValFSLink((valueType & kLinkToDaughter) ? second : first, value);
  link->context = context;
  link->valueType = valueType;
  if (!link->ShiftContext(k)) {
    delete link;
    return nullptr;
  }
  link->RebuildContextBits();
  return link;
}

std::string P_ConValFDLink::ToString() const { return P_SymbolTable::GetString(static_cast<int16_t>(value)); }

P_ConVal* P_ConValFDLink::Clone() const { return new P_ConValFDLink(*this); }

// --- P_ConValPlainVal ---

void P_ConValPlainVal::Serialize(DumpWords& words, uint32_t& index) const {
  PutWord(words, index, 3);
  PutWord(words, index, value);
  WriteContext(words, index);
}

bool P_ConValPlainVal::Deserialize(const DumpWords& words, uint32_t& index) {
  return TakeWord(words, index, value) && ReadContext(words, index);
}

bool P_ConValPlainVal::Equals(const P_ConVal* other) const {
  return ContextEquals(*other) && value == other->GetPlainValue();
}

std::ostream& P_ConValPlainVal::Print(std::ostream& out) const {
  out << "Printing P_ConValPlainVal:\n"
      << "value: " << value << "\n";
  return PrintContext(out) << "\n";
}

std::list<P_ConVal*> P_ConValPlainVal::Evaluate(P_FStructure*, std::vector<P_ConVal*>, ChoiceLiteral k) {
  P_ConVal* copy = ShiftedCopy(*this, k);
  if (!copy) return {};
  return {copy};
}

P_ConVal* P_ConValPlainVal::Instantiate(P_FStructure*, P_FStructure*, ChoiceLiteral k) const {
  return ShiftedCopy(*this, k);
}

bool P_ConValPlainVal::Matches(const P_ConVal* other) const {
  const uint16_t plain = other->GetPlainValue();
  if (plain != 0) return value == plain;
  const std::list<uint16_t> list = other->GetValueList();
  return list.empty() || Contains(list, value);
}

std::string P_ConValPlainVal::ToString() const { return P_SymbolTable::GetString(static_cast<int16_t>(value)); }

P_ConVal* P_ConValPlainVal::Clone() const { return new P_ConValPlainVal(*this); }

// --- P_ConValPlainValList ---

void P_ConValPlainValList::Serialize(DumpWords& words, uint32_t& index) const {
  PutWord(words, index, 4);
  PutWord(words, index, static_cast<uint16_t>(values.size()));
  for (uint16_t id : values) PutWord(words, index, id);
  WriteContext(words, index);
}

bool P_ConValPlainValList::Deserialize(const DumpWords& words, uint32_t& index) {
  uint16_t count = 0;
  if (!TakeWord(words, index, count) || !WordsLeft(words, index, count)) return false;
  values.clear();
  for (uint16_t i = 0; i < count; ++i) {
    uint16_t id = 0;
    TakeWord(words, index, id);
    values.push_back(id);
  }
  return ReadContext(words, index);
}

bool P_ConValPlainValList::Equals(const P_ConVal* other) const {
  if (!ContextEquals(*other) || GetValueCount() != other->GetValueCount()) return false;
  return std::all_of(values.begin(), values.end(), [&](uint16_t id) { return other->ContainsValue(id); });
}

bool P_ConValPlainValList::ContainsValue(uint16_t id) const { return Contains(values, id); }

std::ostream& P_ConValPlainValList::Print(std::ostream& out) const {
  out << "Printing P_ConValPlainValList:\n"
      << "values: ";
  for (uint16_t id : values) out << id << " ";
  out << "\n";
  return PrintContext(out);
}

std::list<P_ConVal*> P_ConValPlainValList::Evaluate(P_FStructure*, std::vector<P_ConVal*>, ChoiceLiteral k) {
  P_ConVal* copy = ShiftedCopy(*this, k);
  if (!copy) return {};
  return {copy};
}

P_ConVal* P_ConValPlainValList::Instantiate(P_FStructure*, P_FStructure*, ChoiceLiteral k) const {
  return ShiftedCopy(*this, k);
}

bool P_ConValPlainValList::Matches(const P_ConVal* other) const {
  const uint16_t plain = other->GetPlainValue();
  if (plain != 0) return Contains(values, plain);
  const std::list<uint16_t> list = other->GetValueList();
  if (list.empty()) return true;
  return std::any_of(values.begin(), values.end(), [&](uint16_t id) { return Contains(list, id); });
}

std::string P_ConValPlainValList::ToString() const {
  std::string text = "{";
  bool first = true;
  for (uint16_t id : values) {
    if (!first) text += ",";
    text += P_SymbolTable::GetString(static_cast<int16_t>(id));
    first = false;
  }
  return text + "}";
}

P_ConVal* P_ConValPlainValList::Clone() const { return new P_ConValPlainValList(*this); }

P_ConVal* NewConValForTag(uint16_t tag) {
  switch (tag) {
    case 1: return new P_ConValFSLink();
    case 2: return new P_ConValFDLink();
    case 3: return new P_ConValPlainVal();
    case 4: return new P_ConValPlainValList();
    default: return nullptr;
  }
}
