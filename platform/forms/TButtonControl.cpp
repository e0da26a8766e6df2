#include "platform/forms/TButtonControl.h"

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {
  ControlStyle = csSetCaption | csDoubleClicks;
  SetColor(clBtnFace);
  TabStop = true;
}

void TButtonControl::SetWordWrap(bool value) {
  if (wordWrap_ == value) return;
  wordWrap_ = value;
  RecreateWnd();
}

void TButtonControl::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  if (wordWrap_) p.Style |= BS_MULTILINE;
}

void TButtonControl::WndProc(TMessage& m) {
  if ((m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK) && HandleAllocated() && !Focused()) {
    // Focusing by a press must not click (a radio button would check itself).
    clicksDisabled_ = true;
    ::SetFocus(handle_);
    clicksDisabled_ = false;
    if (!Focused()) return;
  }
  TWinControl::WndProc(m);
}

void TButtonControl::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  if (m.Msg == CN_COMMAND && clicksDisabled_) return;
  if (IsControlColorMessage(m.Msg)) {
    colorBrush_.Answer(*this, m);
    return;
  }
  TWinControl::Dispatch(message);
}
