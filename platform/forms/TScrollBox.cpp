#include "platform/forms/TScrollBox.h"

TScrollBox::TScrollBox(TComponent* owner) : TScrollingWinControl(owner) {
  ControlStyle = csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
  SetBounds(0, 0, 185, 41);
  SetColor(clBtnFace);
}

void TScrollBox::SetBorderStyle(TBorderStyle value) {
  if (value != bsNone) value = bsSingle;
  if (borderStyle_ == value) return;
  borderStyle_ = value;
  RecreateWnd();
  Realign();
}

void TScrollBox::CreateParams(TCreateParams& params) {
  TScrollingWinControl::CreateParams(params);
  if (borderStyle_ == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}
