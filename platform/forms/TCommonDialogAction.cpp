#include "platform/forms/TCommonDialogAction.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

void RaiseDialogNotAvailable(const char* kind) {
  throw EInvalidOperation("The %s dialog is not available", {TVarRec(AnsiString(kind))});
}

TCommonDialog* TCommonDialogAction::Dialog() {
  if (!dialog_) {
    if (TCommonDialogClass make = GetDialogClass()) {
      dialog_ = make(this);
      dialog_->SetName("Dialog");
    }
  }
  return dialog_;
}

void TCommonDialogAction::ExecuteTarget(TObject* /*target*/) {
  executeResult_ = false;
  TCommonDialog* dialog = Dialog();
  if (!dialog) RaiseDialogNotAvailable(DialogKind());
  if (BeforeExecute) BeforeExecute(this);
  executeResult_ = dialog->Execute();
  if (executeResult_) {
    if (OnAccept) OnAccept(this);
  } else if (OnCancel) {
    OnCancel(this);
  }
}

void TCommonDialogAction::Notification(TComponent* component, TOperation operation) {
  TCustomAction::Notification(component, operation);
  if (operation == opRemove && component == dialog_) dialog_ = nullptr;
}
