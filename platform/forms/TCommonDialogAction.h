// TCommonDialogAction: an action that shows a dialog and tells how it went (BeforeExecute, then
// OnAccept or OnCancel; ExecuteResult keeps the answer). The dialog is made on first need from
// the class GetDialogClass names, owned by the action; a descendant names its own class.
//
// The font, colour and print actions are here too. The platform has no form of their dialogs:
// they keep their events, and executing one raises EInvalidOperation.
#pragma once

#include "platform/forms/TCommonDialog.h"
#include "platform/forms/TCustomAction.h"

// Makes a dialog of one class; null: the platform has no such dialog.
using TCommonDialogClass = TCommonDialog* (*)(TComponent* owner);

template <class D>
TCommonDialogClass DialogClassOf() {
  return [](TComponent* owner) -> TCommonDialog* { return new D(owner); };
}

// Raises EInvalidOperation "The %s dialog is not available" for a dialog kind ("font" ...).
[[noreturn]] void RaiseDialogNotAvailable(const char* kind);

class TCommonDialogAction : public TCustomAction {
 public:
  explicit TCommonDialogAction(TComponent* owner) : TCustomAction(owner) {}

  // The action's dialog, made on first need; null when the platform has none of its kind.
  TCommonDialog* Dialog();
  // Whether the dialog was confirmed the last time the action ran.
  bool ExecuteResult() const { return executeResult_; }

  // Any target: the dialog does not depend on what has the focus.
  bool HandlesTarget(TObject* /*target*/) override { return true; }
  // Runs BeforeExecute, the dialog, then OnAccept or OnCancel. Without a dialog it raises
  // EInvalidOperation "The %s dialog is not available" and runs none of the events.
  void ExecuteTarget(TObject* target) override;

  TNotifyEvent BeforeExecute;
  TNotifyEvent OnAccept;
  TNotifyEvent OnCancel;

 protected:
  virtual TCommonDialogClass GetDialogClass() const { return nullptr; }
  // The dialog's kind in the error text ("font", "colour" ...).
  virtual const char* DialogKind() const { return "common"; }
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TCommonDialog* dialog_ = nullptr;
  bool executeResult_ = false;
};

class TFontEdit : public TCommonDialogAction {
 public:
  explicit TFontEdit(TComponent* owner) : TCommonDialogAction(owner) {}

 protected:
  const char* DialogKind() const override { return "font"; }
};

class TColorSelect : public TCommonDialogAction {
 public:
  explicit TColorSelect(TComponent* owner) : TCommonDialogAction(owner) {}

 protected:
  const char* DialogKind() const override { return "colour"; }
};

class TPrintDlg : public TCommonDialogAction {
 public:
  explicit TPrintDlg(TComponent* owner) : TCommonDialogAction(owner) {}

 protected:
  const char* DialogKind() const override { return "print"; }
};
