#include "platform/forms/TComponentList.h"

#include <algorithm>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

TComponentList::TComponentList(bool ownsObjects) : OwnsObjects(ownsObjects), watcher_(new TWatcher(this)) {}

TComponentList::~TComponentList() {
  Clear();
  delete watcher_;
}

void TComponentList::TWatcher::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove) list_->Forget(component);
  TComponent::Notification(component, operation);
}

void TComponentList::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) throw EListError("List index out of bounds (%d)", {TVarRec(index)});
}

int TComponentList::Add(TComponent* component) {
  Insert(Count(), component);
  return Count() - 1;
}

void TComponentList::Insert(int index, TComponent* component) {
  if (index < 0 || index > Count()) throw EListError("List index out of bounds (%d)", {TVarRec(index)});
  items_.insert(items_.begin() + index, component);
  if (component) watcher_->FreeNotification(component);
}

int TComponentList::IndexOf(TComponent* component) const {
  auto it = std::find(items_.begin(), items_.end(), component);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

TComponent* TComponentList::Items(int index) const {
  CheckIndex(index);
  return items_[static_cast<std::size_t>(index)];
}

int TComponentList::Remove(TComponent* component) {
  int index = IndexOf(component);
  if (index < 0) return -1;
  items_.erase(items_.begin() + index);
  if (component && IndexOf(component) < 0) watcher_->RemoveFreeNotification(component);
  return index;
}

void TComponentList::Delete(int index) {
  TComponent* component = Items(index);
  items_.erase(items_.begin() + index);
  if (component && IndexOf(component) < 0) {
    watcher_->RemoveFreeNotification(component);
    if (OwnsObjects) delete component;
  }
}

void TComponentList::Clear() {
  while (!items_.empty()) Delete(Count() - 1);
}

void TComponentList::Forget(TComponent* component) {
  items_.erase(std::remove(items_.begin(), items_.end(), component), items_.end());
}
