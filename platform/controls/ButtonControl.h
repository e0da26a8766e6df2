// The BUTTON and STATIC classes' window procedures (registered by Startup).
#pragma once

#include "platform/win/WinTypes.h"

namespace platform::controls {
WndProcFunction ButtonWindowProc();
WndProcFunction StaticWindowProc();
}  // namespace platform::controls
