// Registration of the layer's own window classes (EDIT, BUTTON, the menu and message-box
// windows ...): classes every instance finds, whose windows take their character set from the
// create call, and which outlive a shut-down of the window system like the built-in ones.
#pragma once

#include <string>

#include "platform/win/WinTypes.h"

namespace platform::win {

struct SystemClassInfo {
  std::u16string name;
  WndProcFunction proc = nullptr;
  UINT style = 0;
  int wndExtra = 0;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
};

// The set of the message the running window procedure was given: 1 UTF-16, 0 8-bit, -1 outside
// any procedure call. A system class's procedure reached through a subclass of the other set
// (via a stand-in) gets its messages translated into the set it was installed with, whatever
// the window's current procedure is.
int CurrentCallSet();

// Registers the class once per process; a second call for the same name changes nothing and
// answers true.
bool RegisterSystemClass(const SystemClassInfo& info);

}  // namespace platform::win
