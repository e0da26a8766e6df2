#include "platform/forms/TSearchAction.h"

#include "platform/forms/ComponentReference.h"

namespace {

TCustomEdit* FocusedEdit(TObject* target) {
  auto* edit = dynamic_cast<TCustomEdit*>(target);
  return edit && edit->Focused() ? edit : nullptr;
}

bool HasText(TCustomEdit* edit) {
  return edit && edit->HandleAllocated() && GetWindowTextLengthW(edit->Handle()) > 0;
}

}  // namespace

bool TSearchAction::HandlesTarget(TObject* target) { return FocusedEdit(target) != nullptr; }

void TSearchAction::UpdateTarget(TObject* target) { SetEnabled(HasText(FocusedEdit(target))); }

void TSearchAction::ExecuteTarget(TObject* target) {
  SetComponentReference(this, control_, FocusedEdit(target));
  TCommonDialogAction::ExecuteTarget(target);
}

void TSearchAction::Notification(TComponent* component, TOperation operation) {
  TCommonDialogAction::Notification(component, operation);
  if (operation == opRemove && component == control_) control_ = nullptr;
}

void TSearchFindNext::SetSearchFind(TSearchFind* value) { SetComponentReference(this, searchFind_, value); }

bool TSearchFindNext::HandlesTarget(TObject* target) { return searchFind_ && FocusedEdit(target); }

void TSearchFindNext::UpdateTarget(TObject* target) { SetEnabled(HasText(FocusedEdit(target))); }

void TSearchFindNext::ExecuteTarget(TObject* /*target*/) { RaiseDialogNotAvailable("find"); }

void TSearchFindNext::Notification(TComponent* component, TOperation operation) {
  TCustomAction::Notification(component, operation);
  if (operation == opRemove && component == searchFind_) searchFind_ = nullptr;
}
