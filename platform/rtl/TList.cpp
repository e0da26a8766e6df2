// TList and TThreadList.
#include "platform/rtl/TList.h"

#include <algorithm>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

TList::~TList() { Clear(); }

void TList::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) throw EListError("List index out of bounds (%d)", {TVarRec(index)});
}

void* TList::Get(int index) const {
  CheckIndex(index);
  return items_[static_cast<std::size_t>(index)];
}

void TList::Put(int index, void* item) {
  CheckIndex(index);
  void* old = items_[static_cast<std::size_t>(index)];
  if (old == item) return;
  if (old) Notify(old, lnDeleted);
  items_[static_cast<std::size_t>(index)] = item;
  if (item) Notify(item, lnAdded);
}

int TList::Add(void* item) {
  items_.push_back(item);
  if (item) Notify(item, lnAdded);
  return Count() - 1;
}

void TList::Insert(int index, void* item) {
  if (index < 0 || index > Count()) throw EListError("List index out of bounds (%d)", {TVarRec(index)});
  items_.insert(items_.begin() + index, item);
  if (item) Notify(item, lnAdded);
}

void TList::Delete(int index) {
  CheckIndex(index);
  void* item = items_[static_cast<std::size_t>(index)];
  items_.erase(items_.begin() + index);
  if (item) Notify(item, lnDeleted);
}

int TList::Remove(void* item) {
  int index = IndexOf(item);
  if (index >= 0) Delete(index);
  return index;
}

void* TList::Extract(void* item) {
  int index = IndexOf(item);
  if (index < 0) return nullptr;
  items_.erase(items_.begin() + index);
  Notify(item, lnExtracted);
  return item;
}

void TList::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) return;
  CheckIndex(curIndex);
  CheckIndex(newIndex);
  void* item = items_[static_cast<std::size_t>(curIndex)];
  items_.erase(items_.begin() + curIndex);
  items_.insert(items_.begin() + newIndex, item);
}

void TList::Exchange(int index1, int index2) {
  CheckIndex(index1);
  CheckIndex(index2);
  std::swap(items_[static_cast<std::size_t>(index1)], items_[static_cast<std::size_t>(index2)]);
}

int TList::IndexOf(void* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TList::Clear() {
  // Notify from the end, one at a time, so a notification may look at the list safely.
  while (!items_.empty()) Delete(Count() - 1);
  items_.shrink_to_fit();
}

void TList::Pack() { items_.erase(std::remove(items_.begin(), items_.end(), nullptr), items_.end()); }

void TList::Sort(const TListSortCompare& compare) {
  std::stable_sort(items_.begin(), items_.end(), [&](void* a, void* b) { return compare(a, b) < 0; });
}

void TList::SetCount(int count) {
  if (count < 0) throw EListError("List count out of bounds (%d)", {TVarRec(count)});
  while (Count() > count) Delete(Count() - 1);
  items_.resize(static_cast<std::size_t>(count), nullptr);
}

void TList::SetCapacity(int capacity) {
  if (capacity < Count()) throw EListError("List capacity out of bounds (%d)", {TVarRec(capacity)});
  items_.reserve(static_cast<std::size_t>(capacity));
}

TList* TThreadList::LockList() {
  mutex_.lock();
  return &list_;
}

void TThreadList::UnlockList() { mutex_.unlock(); }

void TThreadList::Add(void* item) {
  std::lock_guard<std::recursive_mutex> guard(mutex_);
  if (Duplicates != dupAccept && list_.IndexOf(item) >= 0) {
    if (Duplicates == dupError)
      throw EListError("Duplicates not allowed in this list ($%p)",
                       {TVarRec(static_cast<const void*>(item))});
    return;
  }
  list_.Add(item);
}

void TThreadList::Remove(void* item) {
  std::lock_guard<std::recursive_mutex> guard(mutex_);
  list_.Remove(item);
}

void TThreadList::Clear() {
  std::lock_guard<std::recursive_mutex> guard(mutex_);
  list_.Clear();
}
