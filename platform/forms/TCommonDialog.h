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
  // Runs `dialog` on `record` modally; true when the person confirmed. A dialog that calls
  // DialogHook (the record's hook) gets its window's messages in WndProc while it is open, and
  // Handle() is that window meanwhile.
  template <class Record>
  bool TaskModalDialog(BOOL (*dialog)(Record*), Record* record) {
    return RunModal([this, dialog, record] {
      CreationScope scope(this);
      return dialog(record) != FALSE;
    });
  }
  // The hook procedure the dialogs' records carry.
  static UINT_PTR DialogHook(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  virtual bool RunModal(const std::function<bool()>& dialog);
  virtual void DoShow();
  virtual void DoClose();
  // The messages of the dialog's window; Result 0 leaves a message to the dialog itself.
  virtual void WndProc(TMessage& message);
  // The window that owns the dialog: the application's.
  virtual HWND GetModalParentWnd() const;

  HWND handle_ = nullptr;

 private:
  // The dialog whose window is being made, for the hook's WM_INITDIALOG.
  struct CreationScope {
    explicit CreationScope(TCommonDialog* dialog);
    ~CreationScope();
    TCommonDialog* previous;
    TCommonDialog* dialog;
  };
};
