#include "platform/forms/TCommonDialog.h"

#include "platform/forms/TApplication.h"

bool TCommonDialog::RunModal(const std::function<bool()>& dialog) {
  DoShow();
  bool confirmed = false;
  try {
    confirmed = dialog();
  } catch (...) {
    DoClose();
    throw;
  }
  DoClose();
  return confirmed;
}

void TCommonDialog::DoShow() {
  if (OnShow) OnShow(this);
}

void TCommonDialog::DoClose() {
  if (OnClose) OnClose(this);
}

void TCommonDialog::WndProc(TMessage& message) {
  message.Result = handle_ ? DefWindowProcA(handle_, message.Msg, message.WParam, message.LParam) : 0;
}

HWND TCommonDialog::GetModalParentWnd() const { return Application ? Application->Handle() : nullptr; }
