#include "platform/forms/TBasicAction.h"

#include <algorithm>

#include "platform/rtl/ScopeExit.h"

TBasicActionLink::TBasicActionLink(TObject* /*client*/) {}

TBasicActionLink::~TBasicActionLink() {
  if (action_) action_->UnRegisterChanges(this);
}

void TBasicActionLink::SetAction(TBasicAction* value) {
  if (value == action_) return;
  if (action_) action_->UnRegisterChanges(this);
  action_ = value;
  if (value) value->RegisterChanges(this);
}

bool TBasicActionLink::Execute(TComponent* component) {
  if (!action_) return false;
  TBasicAction* action = action_;
  action->ActionComponent = component;
  // The action may have gone or been replaced while it ran.
  platform::ScopeExit restore([&] {
    if (action_ == action) action->ActionComponent = nullptr;
  });
  return action->Execute();
}

bool TBasicActionLink::Update() { return action_ && action_->Update(); }

void TBasicActionLink::Change() {
  if (OnChange) OnChange(action_);
}

TBasicAction::TBasicAction(TComponent* owner) : TComponent(owner) {}

TBasicAction::~TBasicAction() {
  // The links forget the action now; their clients hear of its end through their free
  // notification and drop the links then.
  while (!clients_.empty()) {
    TBasicActionLink* link = clients_.back();
    clients_.pop_back();
    link->action_ = nullptr;
  }
}

bool TBasicAction::Execute() {
  if (!OnExecute) return false;
  OnExecute(this);
  return true;
}

bool TBasicAction::Update() {
  if (!OnUpdate) return false;
  OnUpdate(this);
  return true;
}

void TBasicAction::RegisterChanges(TBasicActionLink* link) {
  if (link && std::find(clients_.begin(), clients_.end(), link) == clients_.end()) {
    clients_.push_back(link);
    link->action_ = this;
  }
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* link) {
  auto it = std::find(clients_.begin(), clients_.end(), link);
  if (it == clients_.end()) return;
  clients_.erase(it);
  link->action_ = nullptr;
}

void TBasicAction::Change() {
  if (OnChange) OnChange(this);
  // A link's client may drop its link while hearing of the change.
  for (TBasicActionLink* link : std::vector<TBasicActionLink*>(clients_))
    if (std::find(clients_.begin(), clients_.end(), link) != clients_.end()) link->Change();
}
