// The LISTBOX class's window procedure (registered by Startup; a combo box's drop-down list is
// the same procedure under the class "ComboLBox").
#pragma once

#include "platform/win/WinTypes.h"

namespace platform::controls {

WndProcFunction ListBoxWindowProc();

// Puts a combo box's list into (or out of) its dropped-down state: it then holds the mouse,
// highlights the item under the pointer, chooses on release over an item and closes on a press
// elsewhere, reporting both to the combo box (ComboListDone).
void SetListDropped(HWND list, bool dropped);

}  // namespace platform::controls
