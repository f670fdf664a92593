// A program-wide list of the live objects of one per-sentence class, freed
// together after each sentence. Each object keeps its own slot in the list,
// so an object deleted on its own leaves in constant time (the last entry
// moves into its slot).
#pragma once

#include <cstddef>
#include <vector>

template <typename T>
class SlotRegistry {
 public:
  static constexpr size_t kNoSlot = static_cast<size_t>(-1);

  // Enters the object and returns its slot.
  size_t Add(T* object) {
    objects_.push_back(object);
    return objects_.size() - 1;
  }

  // Takes the object out; `slot` is the object's slot, which the moved
  // object's slot member (`SlotOf`) is updated to.
  template <typename SlotOf>
  void Remove(T* object, size_t slot, SlotOf slotOf) {
    if (slot >= objects_.size() || objects_[slot] != object) return;
    T* last = objects_.back();
    objects_[slot] = last;
    slotOf(last) = slot;
    objects_.pop_back();
  }

  // Deletes every object. Each destructor calls Remove, so the loop always
  // deletes the current last entry and never walks a changing sequence.
  void DeleteAll() {
    while (!objects_.empty()) delete objects_.back();
  }

  size_t size() const { return objects_.size(); }

 private:
  std::vector<T*> objects_;
};
