// TStringList.
#include "platform/rtl/TStringList.h"

#include <algorithm>
#include <numeric>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/StringRoutines.h"

void TStringList::CheckIndex(int index) const {
  if (index < 0 || index >= GetCount())
    throw EStringListError("List index out of bounds (%d)", {TVarRec(index)});
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::SetUpdateState(bool updating) {
  if (updating) {
    if (OnChanging) OnChanging(this);
  } else if (OnChange) {
    OnChange(this);
  }
}

int TStringList::CompareStrings(const AnsiString& a, const AnsiString& b) const {
  return caseSensitive_ ? AnsiCompareStr(a, b) : AnsiCompareText(a, b);
}

AnsiString TStringList::Get(int index) const {
  CheckIndex(index);
  return items_[static_cast<std::size_t>(index)].string;
}

TObject* TStringList::GetObject(int index) const {
  CheckIndex(index);
  return items_[static_cast<std::size_t>(index)].object;
}

void TStringList::InsertItem(int index, const AnsiString& s, TObject* object) {
  Changing();
  items_.insert(items_.begin() + index, Item{s, object});
  Changed();
}

int TStringList::Add(const AnsiString& s) {
  int index;
  if (!sorted_) {
    index = GetCount();
  } else if (Find(s, index)) {
    switch (Duplicates) {
      case dupIgnore:
        return index;
      case dupError:
        throw EStringListError("String list does not allow duplicates");
      case dupAccept:
        break;
    }
  }
  InsertItem(index, s, nullptr);
  return index;
}

void TStringList::Insert(int index, const AnsiString& s) {
  if (sorted_) throw EStringListError("Operation not allowed on sorted list");
  if (index < 0 || index > GetCount())
    throw EStringListError("List index out of bounds (%d)", {TVarRec(index)});
  InsertItem(index, s, nullptr);
}

void TStringList::Delete(int index) {
  CheckIndex(index);
  Changing();
  items_.erase(items_.begin() + index);
  Changed();
}

void TStringList::Clear() {
  if (items_.empty()) return;
  Changing();
  items_.clear();
  Changed();
}

void TStringList::Put(int index, const AnsiString& s) {
  if (sorted_) throw EStringListError("Operation not allowed on sorted list");
  CheckIndex(index);
  Changing();
  items_[static_cast<std::size_t>(index)].string = s;
  Changed();
}

void TStringList::PutObject(int index, TObject* object) {
  CheckIndex(index);
  Changing();
  items_[static_cast<std::size_t>(index)].object = object;
  Changed();
}

void TStringList::Exchange(int index1, int index2) {
  CheckIndex(index1);
  CheckIndex(index2);
  Changing();
  std::swap(items_[static_cast<std::size_t>(index1)], items_[static_cast<std::size_t>(index2)]);
  Changed();
}

bool TStringList::Find(const AnsiString& s, int& index) {
  int lo = 0, hi = GetCount() - 1;
  bool found = false;
  while (lo <= hi) {
    int mid = lo + (hi - lo) / 2;
    int c = CompareStrings(items_[static_cast<std::size_t>(mid)].string, s);
    if (c < 0) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
      if (c == 0) {
        found = true;
        if (Duplicates != dupAccept) lo = mid;  // any match will do; stop here
        if (Duplicates != dupAccept) break;
      }
    }
  }
  index = lo;
  return found;
}

int TStringList::IndexOf(const AnsiString& s) {
  if (!sorted_) return TStrings::IndexOf(s);
  int index;
  return Find(s, index) ? index : -1;
}

void TStringList::CustomSort(const TStringListSortCompare& compare) {
  if (GetCount() < 2) return;
  Changing();
  // Sort a permutation with the caller's comparison of indexes into the unsorted list.
  std::vector<int> order(items_.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(this, a, b) < 0; });
  std::vector<Item> sorted;
  sorted.reserve(items_.size());
  for (int i : order) sorted.push_back(items_[static_cast<std::size_t>(i)]);
  items_.swap(sorted);
  Changed();
}

void TStringList::Sort() {
  CustomSort([](TStringList* list, int a, int b) {
    return list->CompareStrings(list->items_[static_cast<std::size_t>(a)].string,
                                list->items_[static_cast<std::size_t>(b)].string);
  });
}

void TStringList::SetSorted(bool sorted) {
  if (sorted == sorted_) return;
  if (sorted) Sort();
  sorted_ = sorted;
}

void TStringList::SetCaseSensitive(bool caseSensitive) {
  if (caseSensitive == caseSensitive_) return;
  caseSensitive_ = caseSensitive;
  if (sorted_) Sort();
}

void TStringList::SetCapacity(int capacity) {
  if (capacity > GetCount()) items_.reserve(static_cast<std::size_t>(capacity));
}
