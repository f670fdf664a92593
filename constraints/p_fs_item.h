// F-structure items: one attribute of an F-structure with the constraint
// values that the equations give it. The description compiler builds them,
// the item registry keeps and dumps them, and the F-structures of a parse
// hold clones of them (P_FStructure).
//
// Flags of a complex item:
//   0x08 "$" (member of a set)     0x10 "=c" (constraint)    0x18 negated
//   0x20 the left side is '!'      0x40 the attribute is a path of attributes
//   0x80 the attribute takes F-structure values
// The type code flags & 0x3F picks one of the six AppendValuesToIfType
// operations; a simple item reports flags 0 (a "=" item on '^').
//
// Values are owned by the item that lists them. AppendValuesToIfType and
// GetValues of a complex item hand out the item's own value objects; a holder
// that gave its values away is emptied with ClearValues before it is deleted.
// GetValues of a simple item makes a new value instead; readers that only
// look at the list give it back through ReleaseHandedOutValues.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <ostream>
#include <string>
#include <vector>

#include "constraints/dump_words.h"
#include "constraints/p_con_val.h"
#include "constraints/solver_walks.h"
#include "core/feature_set.h"

class P_FStructure;

constexpr uint8_t kItemSetMember = 0x08;
constexpr uint8_t kItemConstraint = 0x10;
constexpr uint8_t kItemNegated = 0x18;
constexpr uint8_t kItemOnDaughter = 0x20;
constexpr uint8_t kItemPath = 0x40;
constexpr uint8_t kItemFStructureValued = 0x80;

class P_FSItem {
 public:
  P_FSItem() = default;
  explicit P_FSItem(uint16_t attribute_id) : attribute(attribute_id) {}
  virtual ~P_FSItem() = default;
  P_FSItem& operator=(const P_FSItem&) = delete;

  // Orders by attribute, compared as signed 16-bit numbers.
  bool operator<(const P_FSItem& other) const {
    return static_cast<int16_t>(attribute) < static_cast<int16_t>(other.attribute);
  }

  // New items owned by the caller.
  virtual P_FSItem* ToComplexCopy() = 0;
  virtual P_FSItem* CopyWithContext(ContextList context) const = 0;
  virtual P_FSItem* Clone() const = 0;
  // Takes the value over when stored (true); a caller keeps a refused value.
  virtual bool AddValue(P_ConVal* value) = 0;
  virtual int GetValueCount() const = 0;
  virtual bool Equals(const P_FSItem* other) const = 0;
  virtual uint16_t GetValue() const = 0;
  virtual uint8_t GetFlags() const = 0;
  virtual bool ContainsValue(const P_ConVal* value) const = 0;
  virtual std::ostream& Print(std::ostream& out) const = 0;
  virtual bool AppendValuesToIfType00(P_FSItem* target) = 0;
  virtual bool AppendValuesToIfType08(P_FSItem* target) = 0;
  virtual bool AppendValuesToIfType10(P_FSItem* target) = 0;
  virtual bool AppendValuesToIfType18(P_FSItem* target) = 0;
  virtual bool AppendValuesToIfType30(P_FSItem* target) = 0;
  virtual bool AppendValuesToIfType38(P_FSItem* target) = 0;

  // Applying an annotation to real F-structures. Neutral here (null); the
  // item classes that apply them override these.
  virtual P_FSItem* Evaluate(ChoiceLiteral offset, P_FStructure* fs, std::vector<P_ConVal*> alternatives);
  virtual P_FSItem* Instantiate(ChoiceLiteral offset, P_FStructure* first, P_FStructure* second);

  virtual P_FSItem* AsDefiningItem() = 0;
  virtual P_FSItem* AsConstrainingItem() = 0;
  virtual P_FSItem* AsEmptyAttributeItem() = 0;
  virtual std::list<P_ConVal*> GetValues() const = 0;
  // Gives back a list that GetValues handed out: frees the values that were
  // made for it, leaves the item's own values alone.
  virtual void ReleaseHandedOutValues(std::list<P_ConVal*>& values) const;

  // Nogoods and context restriction of the solver. Neutral here (no nogoods,
  // nothing kept, nothing narrowed); the item classes override them.
  virtual std::list<CFeatureSet> CollectNogoods();
  std::list<CFeatureSet> CollectNogoodsAgainst(P_FSItem* other);
  virtual std::list<CFeatureSet> CollectNogoodsAgainst(P_FSItem* other, P_UnificationWalk& walk);
  // A new item holding what holds under the context (null for none).
  P_FSItem* RestrictToContext(const ContextList& context);
  // The same within one restriction walk, which keeps shared F-structures shared.
  virtual P_FSItem* RestrictToContextIn(const ContextList& context, P_RestrictionWalk& walk);
  virtual void NarrowValueContexts(ContextList& context);

  virtual P_FStructure* GetAnchor() const = 0;
  virtual void ReleaseFStructures() = 0;
  virtual void ClearValues() = 0;
  virtual void Serialize(DumpWords& words, uint32_t& index) const = 0;
  // Reads the record after its tag word. False when the words end early or a
  // value tag is not 1 to 4: the dump is then to be rejected.
  virtual bool Deserialize(const DumpWords& words, uint32_t& index) = 0;

  uint16_t attribute = 0;

 protected:
  P_FSItem(const P_FSItem&) = default;
};

class P_FSItemComplex : public P_FSItem {
 public:
  P_FSItemComplex() = default;
  P_FSItemComplex(uint16_t attribute_id, uint8_t item_flags) : P_FSItem(attribute_id), flags(item_flags) {}
  // Copies attribute and flags and clones every value.
  P_FSItemComplex(const P_FSItemComplex& other);
  // Destroys each listed value once, even when it is listed twice.
  ~P_FSItemComplex() override;

  P_FSItem* ToComplexCopy() override;
  P_FSItem* CopyWithContext(ContextList context) const override;
  P_FSItem* Clone() const override;
  bool AddValue(P_ConVal* value) override;
  int GetValueCount() const override { return static_cast<int>(values.size()); }
  bool Equals(const P_FSItem* other) const override;
  uint16_t GetValue() const override { return 0; }
  uint8_t GetFlags() const override { return flags; }
  bool ContainsValue(const P_ConVal* value) const override;
  std::ostream& Print(std::ostream& out) const override;
  bool AppendValuesToIfType00(P_FSItem* target) override { return AppendValuesIfType(0x00, target); }
  bool AppendValuesToIfType08(P_FSItem* target) override { return AppendValuesIfType(0x08, target); }
  bool AppendValuesToIfType10(P_FSItem* target) override { return AppendValuesIfType(0x10, target); }
  bool AppendValuesToIfType18(P_FSItem* target) override { return AppendValuesIfType(0x18, target); }
  bool AppendValuesToIfType30(P_FSItem* target) override { return AppendValuesIfType(0x30, target); }
  bool AppendValuesToIfType38(P_FSItem* target) override { return AppendValuesIfType(0x38, target); }
  P_FSItem* AsDefiningItem() override;
  P_FSItem* AsConstrainingItem() override;
  P_FSItem* AsEmptyAttributeItem() override;
  std::list<P_ConVal*> GetValues() const override { return values; }
  P_FStructure* GetAnchor() const override { return GetAnchorPointer(); }
  void ReleaseFStructures() override;
  void ClearValues() override { values.clear(); }
  void Serialize(DumpWords& words, uint32_t& index) const override;
  bool Deserialize(const DumpWords& words, uint32_t& index) override;
  virtual P_FStructure* GetAnchorPointer() const { return nullptr; }

  // Applying the item to real F-structures (p_fs_item_instantiate.cpp). A
  // set-element item ("$") renames itself first; null only when that name
  // cannot be made.
  P_FSItem* Evaluate(ChoiceLiteral offset, P_FStructure* fs, std::vector<P_ConVal*> alternatives) override;
  P_FSItem* Instantiate(ChoiceLiteral offset, P_FStructure* first, P_FStructure* second) override;
  // Places a clone of the value at the path (attribute names separated by
  // single blanks) inside the F-structure, making the F-structures of the
  // steps that are not there yet.
  void PlaceValueAtPath(P_FStructure* fs, std::string path, const P_ConVal* value) const;

  // Nogoods and restriction (p_fs_item_nogoods.cpp).
  std::list<CFeatureSet> CollectNogoods() override;
  using P_FSItem::CollectNogoodsAgainst;
  std::list<CFeatureSet> CollectNogoodsAgainst(P_FSItem* other, P_UnificationWalk& walk) override;
  P_FSItem* RestrictToContextIn(const ContextList& context, P_RestrictionWalk& walk) override;
  void NarrowValueContexts(ContextList& context) override;

  // Numbers set elements; 1 at start-up and after every sentence.
  static void ResetSetElementCounter();

  uint8_t flags = 0;
  std::list<P_ConVal*> values;

 private:
  bool AppendValuesIfType(uint8_t type, P_FSItem* target);
  // Gives the item the attribute of the next set element; false when the
  // name cannot be made.
  bool BecomeSetElement();
  P_FSItem* InstantiateValues(ChoiceLiteral offset, P_FStructure* first, P_FStructure* second) const;
  P_FSItem* EvaluateValues(ChoiceLiteral offset, P_FStructure* fs, const std::vector<P_ConVal*>& alternatives);
  P_FSItem* InstantiatePath(ChoiceLiteral offset, P_FStructure* first, P_FStructure* second) const;
  P_FSItem* EvaluatePath(ChoiceLiteral offset, P_FStructure* fs, const std::vector<P_ConVal*>& alternatives);
};

// A constraint tested later against the F-structure it speaks of. The anchor
// is not owned.
class P_FSItemComplexAnchored : public P_FSItemComplex {
 public:
  P_FSItemComplexAnchored() = default;
  // The item's attribute, flags and copies of its values; anchored at second
  // when the item is on '!' (0x20), else at first.
  P_FSItemComplexAnchored(const P_FSItem* item, P_FStructure* first, P_FStructure* second);
  P_FSItemComplexAnchored(const P_FSItemComplexAnchored& other) = default;

  P_FSItem* Clone() const override;
  void ReleaseFStructures() override;
  P_FStructure* GetAnchorPointer() const override { return anchor; }

  P_FStructure* anchor = nullptr;
};

// A plain "=" equation with one atomic value.
class P_FSItemSimple : public P_FSItem {
 public:
  P_FSItemSimple() = default;
  P_FSItemSimple(uint16_t attribute_id, uint16_t value_id) : P_FSItem(attribute_id), value(value_id) {}
  P_FSItemSimple(const P_FSItemSimple& other) = default;

  P_FSItem* ToComplexCopy() override;
  P_FSItem* CopyWithContext(ContextList context) const override;
  P_FSItem* Clone() const override;
  bool AddValue(P_ConVal*) override { return false; }
  int GetValueCount() const override { return 1; }
  bool Equals(const P_FSItem* other) const override;
  uint16_t GetValue() const override { return value; }
  uint8_t GetFlags() const override { return 0; }
  bool ContainsValue(const P_ConVal*) const override { return false; }
  std::ostream& Print(std::ostream& out) const override;
  bool AppendValuesToIfType00(P_FSItem* target) override;
  bool AppendValuesToIfType08(P_FSItem*) override { return false; }
  bool AppendValuesToIfType10(P_FSItem*) override { return false; }
  bool AppendValuesToIfType18(P_FSItem*) override { return false; }
  bool AppendValuesToIfType30(P_FSItem*) override { return false; }
  bool AppendValuesToIfType38(P_FSItem*) override { return false; }
  P_FSItem* Evaluate(ChoiceLiteral offset, P_FStructure* fs, std::vector<P_ConVal*> alternatives) override;
  P_FSItem* Instantiate(ChoiceLiteral offset, P_FStructure* first, P_FStructure* second) override;
  P_FSItem* AsDefiningItem() override { return this; }
  P_FSItem* AsConstrainingItem() override { return nullptr; }
  P_FSItem* AsEmptyAttributeItem() override { return nullptr; }
  // One new plain value (context [0]) that the caller owns.
  std::list<P_ConVal*> GetValues() const override;
  void ReleaseHandedOutValues(std::list<P_ConVal*>& values) const override;
  using P_FSItem::CollectNogoodsAgainst;
  std::list<CFeatureSet> CollectNogoodsAgainst(P_FSItem* other, P_UnificationWalk& walk) override;
  P_FSItem* RestrictToContextIn(const ContextList& context, P_RestrictionWalk& walk) override;
  P_FStructure* GetAnchor() const override { return nullptr; }
  void ReleaseFStructures() override {}
  void ClearValues() override {}
  void Serialize(DumpWords& words, uint32_t& index) const override;
  bool Deserialize(const DumpWords& words, uint32_t& index) override;

  uint16_t value = 0;
};

// The values of any item, for reading while the object lives: what a simple
// item's GetValues made is freed at the end, a complex item's own values are
// left alone.
class ItemValues {
 public:
  explicit ItemValues(const P_FSItem* item) : item_(item), values_(item->GetValues()) {}
  ~ItemValues() { item_->ReleaseHandedOutValues(values_); }
  ItemValues(const ItemValues&) = delete;
  ItemValues& operator=(const ItemValues&) = delete;

  const std::list<P_ConVal*>& list() const { return values_; }
  std::list<P_ConVal*>::const_iterator begin() const { return values_.begin(); }
  std::list<P_ConVal*>::const_iterator end() const { return values_.end(); }
  bool empty() const { return values_.empty(); }
  size_t size() const { return values_.size(); }
  P_ConVal* front() const { return values_.front(); }

 private:
  const P_FSItem* item_;
  std::list<P_ConVal*> values_;
};

// The F-structure bound to the item's first value; null when the item has no
// value or its first value is not bound to one.
P_FStructure* FirstValueFStructure(const P_FSItem* item);

// The F-structure a value stands for: the bound F-structure of a link whose
// attribute is 0. A link with an attribute names a path inside another
// F-structure (an INDEX link left unresolved), not a value of its own; the
// passes that descend into values do not follow it, which also keeps them
// from looping through a link back to an F-structure above.
inline P_FStructure* ValueFStructure(const P_ConVal* value) {
  return value->GetFSAttribute() == 0 ? value->GetBoundFStructure() : nullptr;
}

// A constraining item written with "=c" (flags & 0x1F is 0x10); every other
// constraining item is a negative one.
inline bool IsPositiveConstraint(const P_FSItem* item) { return (item->GetFlags() & 0x1F) == kItemConstraint; }

// Numbers the set elements of one sentence (see ResetSetElementCounter).
extern int16_t SetElementCounter;

// A new empty item of the class that the record tag names (1 simple,
// 2 complex); null for any other tag.
P_FSItem* NewItemForTag(uint16_t tag);
