// The COMBOBOX class's window procedure (registered by Startup), the popup that holds its
// drop-down list, and the list's report back to its combo box.
#pragma once

#include "platform/win/WinTypes.h"

namespace platform::controls {

inline constexpr char16_t kComboListClass[] = u"ComboLBox";
inline constexpr char16_t kComboDropDownClass[] = u"ComboDropDown";

WndProcFunction ComboBoxWindowProc();
WndProcFunction ComboDropDownWindowProc();

// The dropped-down list of `combo` ends: an item was chosen (true) or the user pressed
// elsewhere (false).
void ComboListDone(HWND combo, bool chosen);

}  // namespace platform::controls
