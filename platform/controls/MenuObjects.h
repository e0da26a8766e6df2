// The menu table shared by the menu functions and popup tracking. Internal to the controls.
#pragma once

#include <string>
#include <vector>

#include "platform/controls/Menus.h"

namespace platform::controls {

struct MenuItem {
  UINT type = MFT_STRING;
  UINT state = 0;
  UINT id = 0;
  HMENU subMenu = nullptr;
  ULONG_PTR data = 0;
  std::u16string text;
  HBITMAP bitmap = nullptr;
};

struct Menu {
  bool popup = true;
  std::vector<MenuItem> items;
};

Menu* FindMenu(HMENU menu);
// The item addressed by command (searching sub-menus) or position; `owner` gets its menu.
MenuItem* FindItem(HMENU menu, UINT item, bool byPosition, HMENU* owner = nullptr, int* index = nullptr);
// The mnemonic letter of a caption ("&&" is a literal "&"), or 0.
char16_t Mnemonic(const std::u16string& text);

}  // namespace platform::controls
