// The desktop backend: every top-level window of ours is hosted in a GTK 3 window on X11 that
// paints the window's surface; pointer, keys and input-method text go into the window system's
// queue; the window system's waits iterate GLib's main context (no GLib main loop runs).
#pragma once

#include <memory>
#include <string>

#include "platform/win/Backend.h"

namespace platform::desktop {

// Opens the X display through GDK, forced to its X11 backend so absolute window positions work;
// the process locale is left as it is. False (with the reason) when there is no display.
bool OpenDesktop(std::string* error);

// A backend over the display opened by OpenDesktop.
std::unique_ptr<win::Backend> MakeGtkBackend();

// How many times the hosted window of a top-level window has been drawn on the desktop (tests
// wait for it before taking a screenshot), and a round trip to the X server.
int DesktopDraws(HWND topLevel);
void SyncDesktop();

}  // namespace platform::desktop
