// Start-up's choice of where the program's windows go: the desktop when a display is present,
// the headless backend when not, or as the PLATFORM_BACKEND environment variable says
// ("headless" or "gtk").
#pragma once

#include <string>

namespace platform::desktop {

enum class BackendKind { Headless, Desktop };

// Chooses, then starts the window system over the chosen backend (the calling thread becomes
// the interface thread). False when "gtk" was asked for and no display opens, or the variable
// names no backend; `error` says why and nothing is started.
bool StartBackend(BackendKind* chosen, std::string* error);
// Stops the window system and the backend StartBackend started.
void StopBackend();

}  // namespace platform::desktop
