// Constraint values: one value of an item under a choice context. The context
// is kept twice, as a list of choice literals (context) and as bits
// (contextBits); the operations below say which of the two they maintain.
//
// The family is applied to every value without asking its class: an operation
// that does not apply to a class answers with a neutral result.
//
// Word records (the item registry dump): the tag, the class's own fields, then
// the context as a count and one sign-extended word per literal.
//   1 P_ConValFSLink       1, attribute, n, literals
//   2 P_ConValFDLink       2, value, valueType, n, literals
//   3 P_ConValPlainVal     3, value, n, literals
//   4 P_ConValPlainValList 4, m, m ids, n, literals
#pragma once

#include <cstdint>
#include <list>
#include <ostream>
#include <string>
#include <vector>

#include "constraints/context_search.h"
#include "constraints/dump_words.h"
#include "core/feature_set.h"

class P_FStructure;

// Bits of valueType of the two link kinds.
constexpr uint8_t kLinkToDaughter = 0x80;  // the right side starts with '!'
constexpr uint8_t kLinkPath = 0x40;        // the right side is a path of attributes

class P_ConVal {
 public:
  P_ConVal();
  virtual ~P_ConVal();
  P_ConVal(const P_ConVal&) = default;
  P_ConVal& operator=(const P_ConVal&) = delete;

  // Renames the choices: +c becomes +(c + k), -c becomes -(c + k), 0 stays;
  // then sorts ascending. A choice that would pass kMaxFeatureId is reported and the
  // context is left unchanged; the answer is then false. Bits are untouched.
  bool ShiftContext(ChoiceLiteral k);
  // Appends the literals (duplicates kept) and sorts ascending.
  void AppendContext(ContextList other);
  // contextBits |= bits.
  void ConjoinContextBits(CFeatureSet bits);
  // contextBits = BuildFeatureSet(context).
  void RebuildContextBits();

  virtual void Serialize(DumpWords& words, uint32_t& index) const = 0;
  // Reads the record after its tag word. False, leaving the value partly
  // filled, when the words end before the record does.
  virtual bool Deserialize(const DumpWords& words, uint32_t& index) = 0;
  virtual bool Equals(const P_ConVal* other) const = 0;
  // The operations below answer neutrally for classes they do not apply to;
  // each class overrides the ones that carry its own data.
  virtual uint16_t GetPlainValue() const { return 0; }
  virtual uint16_t GetLinkValue() const { return 0; }
  virtual uint8_t GetValueType() const { return '?'; }
  virtual int GetValueCount() const { return 0; }
  virtual bool ContainsValue(uint16_t) const { return false; }
  virtual std::ostream& Print(std::ostream& out) const = 0;
  // New values owned by the caller; the vector is only read. Empty also when
  // a shifted choice would pass kMaxFeatureId.
  virtual std::list<P_ConVal*> Evaluate(P_FStructure* fs, std::vector<P_ConVal*> linked, ChoiceLiteral k) = 0;
  // A new value owned by the caller, or null (a link to an F-structure, or a
  // shifted choice that would pass kMaxFeatureId).
  virtual P_ConVal* Instantiate(P_FStructure* first, P_FStructure* second, ChoiceLiteral k) const = 0;
  virtual bool IsNullValue() const = 0;
  virtual void SetValue(uint16_t) {}
  virtual void SetValueType(uint8_t) {}
  virtual P_FStructure* GetFStructure() const { return nullptr; }
  virtual bool Matches(const P_ConVal*) const { return true; }
  virtual std::list<uint16_t> GetValueList() const { return {}; }
  virtual uint16_t GetFSAttribute() const { return 0xFFFF; }
  virtual P_FStructure* GetBoundFStructure() const { return nullptr; }
  virtual std::string ToString() const = 0;
  // A new copy owned by the caller; a link's copy points to the same
  // F-structure.
  virtual P_ConVal* Clone() const = 0;
  virtual void ClearFStructure() {}

  ContextList context;
  CFeatureSet contextBits;

 protected:
  bool ContextEquals(const P_ConVal& other) const { return context == other.context; }
  void WriteContext(DumpWords& words, uint32_t& index) const;
  bool ReadContext(const DumpWords& words, uint32_t& index);
  std::ostream& PrintContext(std::ostream& out) const;
};

// A link bound to an F-structure object. The link does not own the
// F-structure: every P_FStructure of a sentence belongs to the F-structure
// registry (p_fstructure.h), so copies of a link may share it freely.
class P_ConValFSLink : public P_ConVal {
 public:
  P_ConValFSLink() = default;
  P_ConValFSLink(P_FStructure* fs, uint16_t attribute_id);

  void Serialize(DumpWords& words, uint32_t& index) const override;
  bool Deserialize(const DumpWords& words, uint32_t& index) override;
  bool Equals(const P_ConVal* other) const override;
  uint8_t GetValueType() const override { return valueType; }
  std::ostream& Print(std::ostream& out) const override;
  std::list<P_ConVal*> Evaluate(P_FStructure* fs, std::vector<P_ConVal*> linked, ChoiceLiteral k) override;
  P_ConVal* Instantiate(P_FStructure* first, P_FStructure* second, ChoiceLiteral k) const override;
  bool IsNullValue() const override { return attribute == 0; }
  void SetValue(uint16_t id) override { attribute = id; }
  void SetValueType(uint8_t type) override { valueType = type; }
  P_FStructure* GetFStructure() const override { return boundFStructure; }
  uint16_t GetFSAttribute() const override { return attribute; }
  P_FStructure* GetBoundFStructure() const override { return boundFStructure; }
  std::string ToString() const override;
  P_ConVal* Clone() const override;
  void ClearFStructure() override { boundFStructure = nullptr; }

  uint16_t attribute = 0;
  P_FStructure* boundFStructure = nullptr;
  uint8_t valueType = 0;
};

// A link of a functional description: '^' or '!' and an attribute path.
class P_ConValFDLink : public P_ConVal {
 public:
  void Serialize(DumpWords& words, uint32_t& index) const override;
  bool Deserialize(const DumpWords& words, uint32_t& index) override;
  bool Equals(const P_ConVal* other) const override;
  uint16_t GetLinkValue() const override { return value; }
  uint8_t GetValueType() const override { return valueType; }
  std::ostream& Print(std::ostream& out) const override;
  std::list<P_ConVal*> Evaluate(P_FStructure* fs, std::vector<P_ConVal*> linked, ChoiceLiteral k) override;
  P_ConVal* Instantiate(P_FStructure* first, P_FStructure* second, ChoiceLiteral k) const override;
  bool IsNullValue() const override { return value == 0; }
  std::string ToString() const override;
  P_ConVal* Clone() const override;

  uint16_t value = 0;
  uint8_t valueType = 0;
};

// One atomic value.
class P_ConValPlainVal : public P_ConVal {
 public:
  P_ConValPlainVal() = default;
  explicit P_ConValPlainVal(uint16_t id) : value(id) {}

  void Serialize(DumpWords& words, uint32_t& index) const override;
  bool Deserialize(const DumpWords& words, uint32_t& index) override;
  bool Equals(const P_ConVal* other) const override;
  uint16_t GetPlainValue() const override { return value; }
  std::ostream& Print(std::ostream& out) const override;
  std::list<P_ConVal*> Evaluate(P_FStructure* fs, std::vector<P_ConVal*> linked, ChoiceLiteral k) override;
  P_ConVal* Instantiate(P_FStructure* first, P_FStructure* second, ChoiceLiteral k) const override;
  bool IsNullValue() const override { return value == 0; }
  bool Matches(const P_ConVal* other) const override;
  std::string ToString() const override;
  P_ConVal* Clone() const override;

  uint16_t value = 0;
};

// A set of alternative atomic values ("{a,b}").
class P_ConValPlainValList : public P_ConVal {
 public:
  void Serialize(DumpWords& words, uint32_t& index) const override;
  bool Deserialize(const DumpWords& words, uint32_t& index) override;
  bool Equals(const P_ConVal* other) const override;
  int GetValueCount() const override { return static_cast<int>(values.size()); }
  bool ContainsValue(uint16_t id) const override;
  std::ostream& Print(std::ostream& out) const override;
  std::list<P_ConVal*> Evaluate(P_FStructure* fs, std::vector<P_ConVal*> linked, ChoiceLiteral k) override;
  P_ConVal* Instantiate(P_FStructure* first, P_FStructure* second, ChoiceLiteral k) const override;
  bool IsNullValue() const override { return false; }
  bool Matches(const P_ConVal* other) const override;
  std::list<uint16_t> GetValueList() const override { return values; }
  std::string ToString() const override;
  P_ConVal* Clone() const override;

  std::list<uint16_t> values;
};

// A new empty value of the class that the record tag names (1 to 4); null for
// any other tag.
P_ConVal* NewConValForTag(uint16_t tag);
