// The SCROLLBAR class's window procedure (registered by Startup) and the window scroll bars.
#pragma once

#include "platform/win/WinTypes.h"

namespace platform::controls {
WndProcFunction ScrollBarWindowProc();
// Lets the window system draw and track the scroll bars of windows with WS_VSCROLL/WS_HSCROLL.
void InstallWindowScrollBars();
}  // namespace platform::controls
