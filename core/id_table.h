// Element ids to records. Ids are looked up far more often than anything else the toolkit
// does (several times for every element placed or event delivered), so the table is a flat
// open-addressed one over a power-of-two size: a multiply and a probe or two, where a
// node-based map divides by a prime and follows a pointer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace tk {

struct Element;

class IdTable {
 public:
  // The record under `id`, or nullptr.
  Element* Find(int id) const {
    if (count_ == 0) return nullptr;
    for (size_t i = Home(id);; i = (i + 1) & mask_) {
      const Slot& s = slots_[i];
      if (!s.used) return nullptr;
      if (s.id == id) return s.element;
    }
  }
  size_t count(int id) const { return Find(id) != nullptr ? 1 : 0; }
  Element* at(int id) const {
    Element* e = Find(id);
    if (e == nullptr) throw std::out_of_range("no element with this id");
    return e;
  }
  size_t size() const { return count_; }

  // The slot of `id`, made (holding nullptr) when there is none.
  Element*& operator[](int id) {
    if ((count_ + 1) * 4 > slots_.size() * 3) Grow();
    size_t i = Home(id);
    for (; slots_[i].used; i = (i + 1) & mask_)
      if (slots_[i].id == id) return slots_[i].element;
    slots_[i] = {nullptr, id, true};
    ++count_;
    return slots_[i].element;
  }

  void erase(int id) {
    if (count_ == 0) return;
    size_t i = Home(id);
    for (; slots_[i].id != id; i = (i + 1) & mask_)
      if (!slots_[i].used) return;
    if (!slots_[i].used) return;
    // Later entries of the same run move back into the gap, so no probe ever stops short.
    for (size_t j = (i + 1) & mask_; slots_[j].used; j = (j + 1) & mask_) {
      const size_t home = Home(slots_[j].id);
      const bool between = i <= j ? (i < home && home <= j) : (i < home || home <= j);
      if (between) continue;
      slots_[i] = slots_[j];
      i = j;
    }
    slots_[i] = Slot{};
    --count_;
  }

  void clear() {
    slots_.clear();
    mask_ = 0;
    count_ = 0;
  }

 private:
  struct Slot {
    Element* element = nullptr;
    int id = 0;
    bool used = false;
  };

  size_t Home(int id) const {
    return (static_cast<uint64_t>(static_cast<uint32_t>(id)) * 0x9E3779B97F4A7C15ull >> 32) & mask_;
  }

  void Grow() {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(old.empty() ? 64 : old.size() * 2, Slot{});
    mask_ = slots_.size() - 1;
    count_ = 0;
    for (const Slot& s : old)
      if (s.used) (*this)[s.id] = s.element;
  }

  std::vector<Slot> slots_;
  size_t mask_ = 0;
  size_t count_ = 0;
};

}  // namespace tk
