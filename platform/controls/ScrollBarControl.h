// The SCROLLBAR class's window procedure (registered by Startup).
#pragma once

#include "platform/win/WinTypes.h"

namespace platform::controls {
WndProcFunction ScrollBarWindowProc();
}  // namespace platform::controls
