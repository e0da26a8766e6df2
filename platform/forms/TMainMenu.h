// TMainMenu: a menu bar's items. No form shows a menu bar here; the class holds its items, makes
// a menu-bar system menu for them, and leaves shortcut texts off its top-level entries.
#pragma once

#include "platform/forms/TMenu.h"

class TMainMenu : public TMenu {
 public:
  explicit TMainMenu(TComponent* owner) : TMenu(owner) {}
  // The window whose menu bar shows this menu, when a form sets it.
  HWND WindowHandle() const { return windowHandle_; }
  void SetWindowHandle(HWND value);

 protected:
  void DoChange(TMenuItem* source, bool rebuild) override;

 private:
  HWND windowHandle_ = nullptr;
};
