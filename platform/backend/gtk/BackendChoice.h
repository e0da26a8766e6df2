// Start-up's choice of where the program's windows go: the desktop when a display is present,
// the headless backend when not, or as the PLATFORM_BACKEND environment variable says
// ("headless" or "gtk"). The program's main chooses, then hands the backend to the platform's
// start-up, so nothing else links the desktop.
#pragma once

#include <memory>
#include <string>

#include "platform/win/Backend.h"

namespace platform::desktop {

enum class BackendKind { Headless, Desktop };

// Chooses and, for the desktop, opens the display. `backend` receives the desktop backend, or
// null for the headless one (the start-up function's default). False when "gtk" was asked for
// and no display opens, or the variable names no backend; `error` says why.
bool StartBackend(std::unique_ptr<win::Backend>* backend, BackendKind* chosen, std::string* error);

}  // namespace platform::desktop
