#include "pictures/png/TPNGPointerList.h"

void TPNGPointerList::SetSize(std::uint32_t n) {
  if (n == 0) {
    items_.clear();
    items_.shrink_to_fit();
  } else {
    items_.resize(n, nullptr);
  }
  for (std::uint32_t i = count_; i < n; ++i) items_[i] = nullptr;
  count_ = n;
}

void TPNGPointerList::Add(void* p) {
  SetSize(count_ + 1);
  items_[count_ - 1] = p;
}

void TPNGPointerList::Insert(void* p, std::uint32_t position) {
  if (position >= count_ && count_ != 0) return;
  if (count_ == 0) position = 0;
  SetSize(count_ + 1);
  for (std::uint32_t i = count_ - 1; i > position; --i) items_[i] = items_[i - 1];
  items_[position] = p;
}

void* TPNGPointerList::Remove(void* p) {
  for (std::uint32_t i = count_; i-- > 0;) {
    if (items_[i] != p) continue;
    for (std::uint32_t j = i; j + 1 < count_; ++j) items_[j] = items_[j + 1];
    --count_;
    return p;
  }
  return nullptr;
}
