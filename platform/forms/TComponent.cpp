#include "platform/forms/TComponent.h"

#include <algorithm>

#include "platform/forms/TBasicAction.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/StringRoutines.h"

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  // Everyone who asked hears of the end first, then the owned components go, then the owner
  // forgets this one, so the owner never frees it a second time.
  while (!freeNotifies_.empty()) {
    TComponent* other = freeNotifies_.back();
    freeNotifies_.pop_back();
    auto& back = other->freeNotifies_;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
    other->Notification(this, opRemove);
  }
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
}

void TComponent::BeforeDestruction() { Destroying(); }

void TComponent::Destroying() {
  if (state_ & csDestroying) return;
  state_ |= csDestroying;
  for (TComponent* c : components_) c->Destroying();
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount())
    throw EListError("List index out of bounds (%d)", {TVarRec(index)});
  return components_[static_cast<std::size_t>(index)];
}

int TComponent::ComponentIndex() const {
  if (!owner_) return -1;
  auto& list = owner_->components_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(const AnsiString& name) const {
  if (name.IsEmpty()) return nullptr;
  for (TComponent* c : components_)
    if (SameText(c->name_, name)) return c;
  return nullptr;
}

void TComponent::ValidateRename(TComponent* component, const AnsiString& curName, const AnsiString& newName) {
  if (!component || newName.IsEmpty() || SameText(curName, newName)) return;
  TComponent* found = FindComponent(newName);
  if (found && found != component)
    throw EComponentError("The name %s is already used by another component", {TVarRec(newName)});
}

void TComponent::SetName(const AnsiString& newName) {
  if (name_ == newName) return;
  if (owner_) owner_->ValidateRename(this, name_, newName);
  name_ = newName;
}

void TComponent::InsertComponent(TComponent* component) {
  if (!component) return;
  if (!component->name_.IsEmpty()) ValidateRename(component, AnsiString(), component->name_);
  if (component->owner_) component->owner_->RemoveComponent(component);
  Insert(component);
  Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  if (!component || component->owner_ != this) return;
  Notification(component, opRemove);
  Remove(component);
}

void TComponent::Insert(TComponent* component) {
  components_.push_back(component);
  component->owner_ = this;
}

void TComponent::Remove(TComponent* component) {
  auto it = std::find(components_.begin(), components_.end(), component);
  if (it != components_.end()) components_.erase(it);
  component->owner_ = nullptr;
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* last = components_.back();
    // Only a component others watch makes its owner pass the news around.
    if (last->state_ & csFreeNotification)
      RemoveComponent(last);
    else
      Remove(last);
    delete last;
  }
}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end())
    freeNotifies_.push_back(component);
  auto& back = component->freeNotifies_;
  if (std::find(back.begin(), back.end(), this) == back.end()) back.push_back(this);
  state_ |= csFreeNotification;
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  if (!component) return;
  RemoveNotification(component);
  component->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* component) {
  freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), component),
                      freeNotifies_.end());
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component) RemoveFreeNotification(component);
  // The owner passes the news on, so siblings that point at each other hear of it too. A copy,
  // because a handler may free components.
  std::vector<TComponent*> owned = components_;
  for (TComponent* c : owned)
    if (c != component && std::find(components_.begin(), components_.end(), c) != components_.end())
      c->Notification(component, operation);
}

void TComponent::Loaded() { state_ &= ~csLoading; }

bool TComponent::ExecuteAction(TBasicAction* action) {
  if (!action || !action->HandlesTarget(this)) return false;
  action->ExecuteTarget(this);
  return true;
}

bool TComponent::UpdateAction(TBasicAction* action) {
  if (!action || !action->HandlesTarget(this)) return false;
  action->UpdateTarget(this);
  return true;
}

void TComponent::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
  if (root != this) return;
  for (TComponent* c : components_)
    if (!c->HasParent() || !c->GetParentComponent()) proc(c);
}

void TComponent::SetHandlerName(const std::string& event, const std::string& handler) {
  for (auto& [e, h] : handlerNames_)
    if (e == event) {
      h = handler;
      return;
    }
  handlerNames_.emplace_back(event, handler);
}

std::string TComponent::HandlerName(const std::string& event) const {
  for (const auto& [e, h] : handlerNames_)
    if (e == event) return h;
  return {};
}
