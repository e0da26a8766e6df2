#include "platform/forms/TCommonDialog.h"

#include "platform/controls/FileDialogs.h"
#include "platform/forms/TApplication.h"
#include "platform/rtl/ScopeExit.h"

namespace {
thread_local TCommonDialog* creationControl = nullptr;
}  // namespace

TCommonDialog::CreationScope::CreationScope(TCommonDialog* d) : previous(creationControl), dialog(d) {
  creationControl = d;
}

TCommonDialog::CreationScope::~CreationScope() {
  creationControl = previous;
  dialog->handle_ = nullptr;
}

UINT_PTR TCommonDialog::DialogHook(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TCommonDialog* dialog = nullptr;
  if (msg == WM_INITDIALOG && creationControl) {
    dialog = creationControl;
    creationControl = nullptr;  // a dialog opened from this one's handlers finds its own
    dialog->handle_ = hwnd;
    SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(dialog));
  } else {
    dialog = reinterpret_cast<TCommonDialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  }
  if (!dialog) return 0;
  TMessage message{msg, wParam, lParam, 0};
  dialog->WndProc(message);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    if (dialog->handle_ == hwnd) dialog->handle_ = nullptr;
  }
  return UINT_PTR(message.Result);
}

bool TCommonDialog::RunModal(const std::function<bool()>& dialog) {
  DoShow();
  platform::ScopeExit close([&] { DoClose(); });
  return dialog();
}

void TCommonDialog::DoShow() {
  if (OnShow) OnShow(this);
}

void TCommonDialog::DoClose() {
  if (OnClose) OnClose(this);
}

void TCommonDialog::WndProc(TMessage& message) { message.Result = 0; }

HWND TCommonDialog::GetModalParentWnd() const { return Application ? Application->Handle() : nullptr; }
