// What the desktop's window manager does for us, asked of the X server (kept apart from the
// window system's headers, which X11's macros would clash with).
#pragma once

#include <gtk/gtk.h>

namespace platform::desktop {

// True when a window manager runs on the widget's screen and moves windows on request
// (_NET_WM_MOVERESIZE), so a drag on a borderless window's background can be handed to it.
bool WindowManagerMoves(GtkWidget* widget);

}  // namespace platform::desktop
