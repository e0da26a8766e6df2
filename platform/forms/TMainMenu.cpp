#include "platform/forms/TMainMenu.h"

void TMainMenu::SetWindowHandle(HWND value) {
  windowHandle_ = value;
  if (value) DrawMenuBar(value);
}

void TMainMenu::DoChange(TMenuItem* source, bool rebuild) {
  if (windowHandle_) DrawMenuBar(windowHandle_);
  TMenu::DoChange(source, rebuild);
}
