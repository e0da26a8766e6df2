#include "platform/forms/TContainedAction.h"

#include "platform/forms/TApplication.h"
#include "platform/forms/TCustomActionList.h"

TContainedAction::TContainedAction(TComponent* owner) : TBasicAction(owner) {}

TContainedAction::~TContainedAction() {
  if (actionList_) actionList_->RemoveAction(this);
}

void TContainedAction::SetActionList(TCustomActionList* list) {
  if (list == actionList_) return;
  if (actionList_) actionList_->RemoveAction(this);
  if (list) list->AddAction(this);
}

int TContainedAction::Index() const { return actionList_ ? actionList_->IndexOfAction(this) : -1; }

void TContainedAction::SetCategory(const AnsiString& value) {
  if (value == category_) return;
  category_ = value;
  Change();
}

TComponent* TContainedAction::GetParentComponent() const { return actionList_; }

void TContainedAction::SetParentComponent(TComponent* value) {
  if (auto* list = dynamic_cast<TCustomActionList*>(value)) SetActionList(list);
}

bool TContainedAction::Execute() {
  if (actionList_ && actionList_->ExecuteAction(this)) return true;
  if (Application && Application->ExecuteAction(this)) return true;
  if (TBasicAction::Execute()) return true;
  return Application && Application->Handle() &&
         SendMessageA(Application->Handle(), CM_ACTIONEXECUTE, 0, reinterpret_cast<LPARAM>(this)) == 1;
}

bool TContainedAction::Update() {
  if (actionList_ && actionList_->UpdateAction(this)) return true;
  if (Application && Application->UpdateAction(this)) return true;
  if (TBasicAction::Update()) return true;
  return Application && Application->Handle() &&
         SendMessageA(Application->Handle(), CM_ACTIONUPDATE, 0, reinterpret_cast<LPARAM>(this)) == 1;
}

void TContainedAction::Change() {
  TBasicAction::Change();
  if (actionList_) actionList_->Change();
}
