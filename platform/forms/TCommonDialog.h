// TCommonDialog: the base of the system's dialogs (file open and save). Execute shows the
// dialog modally and says whether the person confirmed it; TaskModalDialog is the one place a
// dialog function runs, between OnShow and OnClose.
#pragma once

#include "platform/forms/TComponent.h"
#include "platform/win/Win.h"

class TCommonDialog : public TComponent {
 public:
  explicit TCommonDialog(TComponent* owner) : TComponent(owner) {}

  virtual bool Execute() = 0;
  // The dialog's window while it is open (the headless backend answers without one).
  HWND Handle() const { return handle_; }
  int HelpContext = 0;
  bool Ctl3D = true;

  TNotifyEvent OnShow;
  TNotifyEvent OnClose;

 protected:
  // Runs `dialog` on `record` modally; true when the person confirmed.
  template <class Record>
  bool TaskModalDialog(BOOL (*dialog)(Record*), Record* record) {
    return RunModal([dialog, record] { return dialog(record) != FALSE; });
  }
  virtual bool RunModal(const std::function<bool()>& dialog);
  virtual void DoShow();
  virtual void DoClose();
  // The messages of the dialog's window.
  virtual void WndProc(TMessage& message);
  // The window that owns the dialog: the application's.
  virtual HWND GetModalParentWnd() const;

  HWND handle_ = nullptr;
};
