#include "platform/backend/gtk/WindowManager.h"

#include <gdk/gdkx.h>

namespace platform::desktop {

bool WindowManagerMoves(GtkWidget* widget) {
  GdkScreen* screen = gtk_widget_get_screen(widget);
  // GDK checks that the manager announcing the hint still runs (its check window exists).
  return GDK_IS_X11_SCREEN(screen) &&
         gdk_x11_screen_supports_net_wm_hint(screen, gdk_atom_intern_static_string("_NET_WM_MOVERESIZE"));
}

}  // namespace platform::desktop
