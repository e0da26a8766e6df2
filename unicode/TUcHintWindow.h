// The layer's hint window with wide forms of activation and measuring.
#pragma once

#include "unicode/TUcCustomHintWindow.h"

class TUcHintWindow : public TUcCustomHintWindow {
 public:
  explicit TUcHintWindow(TComponent* owner) : TUcCustomHintWindow(owner) {}
  using TUcCustomHintWindow::ActivateHint;
  using TUcCustomHintWindow::ActivateHintData;
  using TUcCustomHintWindow::CalcHintRect;
  void ActivateHint(RECT rect, const WideString& hint);
  void ActivateHintData(RECT rect, const WideString& hint, void* data);
  RECT CalcHintRect(int maxWidth, const WideString& hint, void* data);
};
