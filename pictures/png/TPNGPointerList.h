// TPNGPointerList: a plain list of pointers it does not own, grown one slot at a time.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/rtl/Object.h"

class TPNGObject;

class TPNGPointerList : public TObject {
 public:
  explicit TPNGPointerList(TPNGObject* owner) : owner_(owner) {}

  std::uint32_t Count() const { return count_; }
  // The count becomes n; new slots hold null.
  void SetSize(std::uint32_t n);
  // Null at or beyond the count.
  void* GetItem(std::uint32_t i) const { return i < count_ ? items_[i] : nullptr; }
  void SetItem(std::uint32_t i, void* p) {
    if (i < count_) items_[i] = p;
  }
  void Add(void* p);
  // Only at a position below the count, or anywhere in an empty list.
  void Insert(void* p, std::uint32_t position);
  // Removes the last slot holding p and returns p; null when absent.
  virtual void* Remove(void* p);
  TPNGObject* Owner() const { return owner_; }

 private:
  TPNGObject* owner_;
  std::uint32_t count_ = 0;
  std::vector<void*> items_;
};
