// TComponentList: a list of components that drops a member the moment it is freed. With
// OwnsObjects it frees what it holds when an item is deleted or the list dies.
#pragma once

#include <vector>

#include "platform/forms/TComponent.h"

class TComponentList : public TObject {
 public:
  explicit TComponentList(bool ownsObjects = true);
  ~TComponentList() override;

  int Add(TComponent* component);
  void Insert(int index, TComponent* component);
  // Takes the component out without freeing it; returns its former index or -1.
  int Remove(TComponent* component);
  void Delete(int index);
  void Clear();
  int IndexOf(TComponent* component) const;
  int Count() const { return static_cast<int>(items_.size()); }
  TComponent* Items(int index) const;
  TComponent* operator[](int index) const { return Items(index); }
  bool OwnsObjects;

 private:
  // Watches the members' destruction on the list's behalf.
  class TWatcher : public TComponent {
   public:
    explicit TWatcher(TComponentList* list) : TComponent(nullptr), list_(list) {}

   protected:
    void Notification(TComponent* component, TOperation operation) override;

   private:
    TComponentList* list_;
  };

  void CheckIndex(int index) const;
  void Forget(TComponent* component);

  std::vector<TComponent*> items_;
  TWatcher* watcher_;
};
