// Window regions: the shape a window takes on, which clips its hit testing and, for a
// top-level window, the shape the backend gives it on the desktop.
#include "platform/win/WindowSystem.h"

using namespace platform::win;
namespace gdi = platform::gdi;

int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  if (region) {
    gdi::Region* r = gdi::FindRegion(region);
    if (!r) return 0;
    w->shape = *r;
    DeleteObject(region);  // the window owns it now
  } else {
    w->shape.reset();
  }
  if (!w->parent && S().backend)
    S().backend->WindowShaped(hwnd, w->shape ? w->shape->rects() : std::vector<RECT>{});
  if (redraw) InvalidateWindow(*w, nullptr, true, true);
  return 1;
}

std::vector<RECT> platform::win::WindowShape(HWND hwnd) {
  Window* w = Find(hwnd);
  return w && w->shape ? w->shape->rects() : std::vector<RECT>{};
}

int GetWindowRgn(HWND hwnd, HRGN out) {
  Window* w = Find(hwnd);
  gdi::Region* r = gdi::FindRegion(out);
  if (!w || !r || !w->shape) return ERROR;
  *r = *w->shape;
  return r->Complexity();
}
