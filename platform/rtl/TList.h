// TList, a list of untyped pointers with the classic index rules (EListError "List index out
// of bounds (%d)"), and TThreadList, a list behind a re-entrant lock.
#pragma once

#include <functional>
#include <mutex>
#include <vector>

#include "platform/rtl/Object.h"

enum TListNotification { lnAdded, lnExtracted, lnDeleted };
using TListSortCompare = std::function<int(void* item1, void* item2)>;

class TList : public TObject {
 public:
  ~TList() override;
  int Add(void* item);
  void Insert(int index, void* item);
  void Delete(int index);
  // Removes the first occurrence; returns its former index or -1.
  int Remove(void* item);
  // Removes the first occurrence without the "deleted" notification; returns it or null.
  void* Extract(void* item);
  void Move(int curIndex, int newIndex);
  void Exchange(int index1, int index2);
  int IndexOf(void* item) const;
  virtual void Clear();
  // Drops the null items.
  void Pack();
  void Sort(const TListSortCompare& compare);

  int Count() const { return static_cast<int>(items_.size()); }
  // Growing adds null items; shrinking deletes from the end.
  void SetCount(int count);
  int Capacity() const { return static_cast<int>(items_.capacity()); }
  void SetCapacity(int capacity);
  void* Items(int index) const { return Get(index); }
  void SetItems(int index, void* item) { Put(index, item); }
  void* operator[](int index) const { return Get(index); }
  void* First() const { return Get(0); }
  void* Last() const { return Get(Count() - 1); }

 protected:
  void* Get(int index) const;
  void Put(int index, void* item);
  // Called after an item is added, and before one is extracted or deleted.
  virtual void Notify(void* /*ptr*/, TListNotification /*action*/) {}

 private:
  void CheckIndex(int index) const;
  std::vector<void*> items_;
};

enum TDuplicates { dupIgnore = 0, dupAccept = 1, dupError = 2 };

class TThreadList : public TObject {
 public:
  TList* LockList();
  void UnlockList();
  // Add follows Duplicates (dupIgnore by default: an item already there is not added again).
  void Add(void* item);
  void Remove(void* item);
  void Clear();
  TDuplicates Duplicates = dupIgnore;

 private:
  std::recursive_mutex mutex_;
  TList list_;
};
