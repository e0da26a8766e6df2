// The message box's own window class (registered by Startup).
#pragma once

#include "platform/win/WinTypes.h"

namespace platform::controls {
inline constexpr char16_t kMessageBoxClass[] = u"#32770";
WndProcFunction MessageBoxWindowProc();
}  // namespace platform::controls
