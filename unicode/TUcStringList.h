// TUcStringList: the free-standing wide string list that keeps its own items, optionally sorted
// (binary search, a duplicates policy, case-sensitive or not), and reports changes through its
// OnChanging and OnChange events, once per update block.
#pragma once

#include <functional>
#include <vector>

#include "platform/rtl/TList.h"
#include "unicode/TUcStrings.h"

struct TWideStringItem {
  WideString FString;
  TObject* FObject = nullptr;
};

class TUcStringList;
using TUcStringListSortCompare = std::function<int(TUcStringList* list, int index1, int index2)>;

class TUcStringList : public TUcStrings {
 public:
  ~TUcStringList() override;

  int Add(const WideString& s) override { return AddObject(s, nullptr); }
  int AddObject(const WideString& s, TObject* object) override;
  void Clear() override;
  void Delete(int index) override;
  // On a sorted list these raise "Operation not allowed on sorted list" and change nothing.
  void Exchange(int index1, int index2) override;
  void Move(int curIndex, int newIndex) override;
  int IndexOf(const WideString& s) override;
  int IndexOfName(const WideString& name) override;
  void Insert(int index, const WideString& s) override { InsertObject(index, s, nullptr); }
  void InsertObject(int index, const WideString& s, TObject* object) override;
  // The first equal item, or where `s` would go; true when found.
  virtual bool Find(const WideString& s, int& index);
  virtual void Sort();
  virtual void CustomSort(const TUcStringListSortCompare& compare);

  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates duplicates) { duplicates_ = duplicates; }
  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool caseSensitive);
  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  WideString Get(int index) const override;
  int GetCapacity() const override { return capacity_; }
  int GetCount() const override { return count_; }
  TObject* GetObject(int index) const override;
  void Put(int index, const WideString& s) override;
  void PutObject(int index, TObject* object) override;
  // A capacity below the count is ignored.
  void SetCapacityValue(int capacity) override;
  void SetUpdateState(bool updating) override;
  int CompareStrings(const WideString& a, const WideString& b) const override;
  virtual void Changed();
  virtual void Changing();
  virtual void InsertItem(int index, const WideString& s, TObject* object);

 private:
  void CheckIndex(int index, int limit) const;
  void Grow();
  void QuickSort(int l, int r, const TUcStringListSortCompare& compare);
  void ExchangeItems(int index1, int index2);
  void Resort();

  bool updating_ = false;
  std::vector<TWideStringItem> items_;  // room reserved for the capacity
  int count_ = 0;
  int capacity_ = 0;
  bool sorted_ = false;
  TDuplicates duplicates_ = dupIgnore;
  bool caseSensitive_ = false;
};
