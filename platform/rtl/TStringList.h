// TStringList: the concrete string list, optionally sorted (binary search, with the
// duplicates rule), case-insensitive unless CaseSensitive, with change events.
#pragma once

#include <functional>
#include <vector>

#include "platform/rtl/TList.h"
#include "platform/rtl/TStrings.h"

class TStringList;
using TStringListSortCompare = std::function<int(TStringList* list, int index1, int index2)>;

class TStringList : public TStrings {
 public:
  int Add(const AnsiString& s) override;
  void Insert(int index, const AnsiString& s) override;  // EStringListError on a sorted list
  void Delete(int index) override;
  void Clear() override;
  void Exchange(int index1, int index2) override;
  int IndexOf(const AnsiString& s) override;
  // Binary search of a sorted list: true with the index when found, else false with the index
  // where it would go.
  virtual bool Find(const AnsiString& s, int& index);
  virtual void Sort();
  virtual void CustomSort(const TStringListSortCompare& compare);
  int Capacity() const override { return static_cast<int>(items_.capacity()); }
  void SetCapacity(int capacity) override;

  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);
  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool caseSensitive);
  TDuplicates Duplicates = dupIgnore;
  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  AnsiString Get(int index) const override;
  int GetCount() const override { return static_cast<int>(items_.size()); }
  TObject* GetObject(int index) const override;
  void Put(int index, const AnsiString& s) override;  // EStringListError on a sorted list
  void PutObject(int index, TObject* object) override;
  void SetUpdateState(bool updating) override;
  int CompareStrings(const AnsiString& a, const AnsiString& b) const override;
  virtual void Changed();
  virtual void Changing();

 private:
  struct Item {
    AnsiString string;
    TObject* object = nullptr;
  };
  void CheckIndex(int index) const;
  void InsertItem(int index, const AnsiString& s, TObject* object);

  std::vector<Item> items_;
  bool sorted_ = false;
  bool caseSensitive_ = false;
};
