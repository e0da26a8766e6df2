#include "unicode/TUcStringList.h"

#include <utility>

#include "platform/rtl/CharCase.h"
#include "unicode/UcCollate.h"

namespace {

constexpr char16_t kIndexError[] = u"List index out of bounds (%d)";
constexpr char16_t kSortedError[] = u"Operation not allowed on sorted list";
constexpr char16_t kDuplicateError[] = u"String list does not allow duplicates";

}  // namespace

TUcStringList::~TUcStringList() {
  OnChange = nullptr;
  OnChanging = nullptr;
  items_.clear();
}

int TUcStringList::AddObject(const WideString& s, TObject* object) {
  int index = count_;
  if (sorted_ && Find(s, index)) {
    if (duplicates_ == dupIgnore) return index;
    if (duplicates_ == dupError) Error(kDuplicateError, 0);
  }
  InsertItem(index, s, object);
  return index;
}

void TUcStringList::Clear() {
  if (count_ == 0) return;
  Changing();
  items_.clear();
  items_.shrink_to_fit();
  count_ = 0;
  capacity_ = 0;
  Changed();
}

void TUcStringList::Delete(int index) {
  CheckIndex(index, count_);
  Changing();
  items_.erase(items_.begin() + index);
  --count_;
  Changed();
}

void TUcStringList::Exchange(int index1, int index2) {
  CheckIndex(index1, count_);
  CheckIndex(index2, count_);
  if (sorted_) Error(kSortedError, 0);
  Changing();
  ExchangeItems(index1, index2);
  Changed();
}

void TUcStringList::Move(int curIndex, int newIndex) {
  if (sorted_ && curIndex != newIndex) Error(kSortedError, 0);
  TUcStrings::Move(curIndex, newIndex);
}

int TUcStringList::IndexOf(const WideString& s) {
  if (!sorted_) return TUcStrings::IndexOf(s);
  int index = 0;
  return Find(s, index) ? index : -1;
}

int TUcStringList::IndexOfName(const WideString& name) {
  if (!sorted_) return TUcStrings::IndexOfName(name);
  WideString key = name + u"=";
  int index = 0;
  Find(key, index);
  if (index < count_ && CompareStrings(Get(index).SubString(1, key.Length()), key) == 0) return index;
  return -1;
}

void TUcStringList::InsertObject(int index, const WideString& s, TObject* object) {
  if (sorted_) Error(kSortedError, 0);
  CheckIndex(index, count_ + 1);
  InsertItem(index, s, object);
}

bool TUcStringList::Find(const WideString& s, int& index) {
  bool found = false;
  int low = 0, high = count_ - 1;
  while (low <= high) {
    int middle = (low + high) / 2;
    int c = CompareStrings(items_[static_cast<std::size_t>(middle)].FString, s);
    if (c < 0) {
      low = middle + 1;
    } else {
      high = middle - 1;
      if (c == 0) {
        found = true;
        if (duplicates_ != dupAccept) low = middle;
      }
    }
  }
  index = low;
  return found;
}

void TUcStringList::Sort() {
  CustomSort([](TUcStringList* list, int a, int b) {
    return list->CompareStrings(list->items_[static_cast<std::size_t>(a)].FString,
                                list->items_[static_cast<std::size_t>(b)].FString);
  });
}

void TUcStringList::CustomSort(const TUcStringListSortCompare& compare) {
  if (sorted_ || count_ < 2) return;
  Changing();
  QuickSort(0, count_ - 1, compare);
  Changed();
}

void TUcStringList::SetSorted(bool sorted) {
  if (sorted == sorted_) return;
  if (sorted) Sort();
  sorted_ = sorted;
}

void TUcStringList::SetCaseSensitive(bool caseSensitive) {
  if (caseSensitive == caseSensitive_) return;
  caseSensitive_ = caseSensitive;
  if (sorted_) Resort();
}

WideString TUcStringList::Get(int index) const {
  CheckIndex(index, count_);
  return items_[static_cast<std::size_t>(index)].FString;
}

TObject* TUcStringList::GetObject(int index) const {
  CheckIndex(index, count_);
  return items_[static_cast<std::size_t>(index)].FObject;
}

void TUcStringList::Put(int index, const WideString& s) {
  if (sorted_) Error(kSortedError, 0);
  CheckIndex(index, count_);
  Changing();
  items_[static_cast<std::size_t>(index)].FString = s;
  Changed();
}

void TUcStringList::PutObject(int index, TObject* object) {
  CheckIndex(index, count_);
  Changing();
  items_[static_cast<std::size_t>(index)].FObject = object;
  Changed();
}

void TUcStringList::SetCapacityValue(int capacity) {
  if (capacity < count_) return;
  if (capacity < capacity_) items_.shrink_to_fit();
  items_.reserve(static_cast<std::size_t>(capacity));
  capacity_ = capacity;
}

void TUcStringList::SetUpdateState(bool updating) {
  // Changing goes out before the list counts as updating, so a whole block reports one pair.
  if (updating) {
    Changing();
    updating_ = true;
  } else {
    updating_ = false;
    Changed();
  }
}

int TUcStringList::CompareStrings(const WideString& a, const WideString& b) const {
  if (!caseSensitive_) return TUcStrings::CompareStrings(a, b);
  return UcCollate(a.c_str(), a.Length(), b.c_str(), b.Length(), 0);
}

void TUcStringList::Changed() {
  if (!updating_ && OnChange) OnChange(this);
}

void TUcStringList::Changing() {
  if (!updating_ && OnChanging) OnChanging(this);
}

void TUcStringList::InsertItem(int index, const WideString& s, TObject* object) {
  Changing();
  if (count_ == capacity_) Grow();
  items_.insert(items_.begin() + index, TWideStringItem{s, object});
  ++count_;
  Changed();
}

void TUcStringList::CheckIndex(int index, int limit) const {
  if (index < 0 || index >= limit) Error(kIndexError, index);
}

void TUcStringList::Grow() {
  int delta = capacity_ > 64 ? capacity_ / 4 : capacity_ > 8 ? 16 : 4;
  SetCapacityValue(capacity_ + delta);
}

void TUcStringList::ExchangeItems(int index1, int index2) {
  std::swap(items_[static_cast<std::size_t>(index1)], items_[static_cast<std::size_t>(index2)]);
}

void TUcStringList::QuickSort(int l, int r, const TUcStringListSortCompare& compare) {
  int i = 0;
  do {
    i = l;
    int j = r, p = (l + r) / 2;
    do {
      while (compare(this, i, p) < 0) ++i;
      while (compare(this, j, p) > 0) --j;
      if (i <= j) {
        ExchangeItems(i, j);
        if (p == i)
          p = j;
        else if (p == j)
          p = i;
        ++i;
        --j;
      }
    } while (i <= j);
    if (l < j) QuickSort(l, j, compare);
    l = i;
  } while (i < r);
}

// A sorted list whose comparison changed is put in order under the new one.
void TUcStringList::Resort() {
  sorted_ = false;
  Sort();
  sorted_ = true;
}
