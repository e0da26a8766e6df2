// Placement and hit-testing of window scroll bars, and the hooks the controls layer installs.
#include "platform/win/WindowScrollBars.h"

#include "platform/win/WindowSystem.h"

namespace platform::win {

namespace {
WindowScrollBarHooks& Hooks() {
  static WindowScrollBarHooks hooks;
  return hooks;
}
constexpr int kBarSize = 17;         // SM_CXVSCROLL, SM_CYHSCROLL
constexpr int kHorz = 0, kVert = 1;  // SB_HORZ, SB_VERT
}  // namespace

void SetWindowScrollBarHooks(const WindowScrollBarHooks& hooks) { Hooks() = hooks; }
const WindowScrollBarHooks& ScrollBarHooks() { return Hooks(); }

bool WindowScrollBarRect(HWND hwnd, int bar, RECT* out) {
  const Window* w = Find(hwnd);
  if (!w || !(w->style & WS_CHILD)) return false;
  const DWORD flag = bar == kVert ? WS_VSCROLL : bar == kHorz ? WS_HSCROLL : 0;
  if (!flag || !(w->style & flag)) return false;
  // The bars lie just outside the client area, inside the borders.
  const RECT c{w->client.left - w->rect.left, w->client.top - w->rect.top, w->client.right - w->rect.left,
               w->client.bottom - w->rect.top};
  const RECT r = bar == kVert ? RECT{c.right, c.top, c.right + kBarSize, c.bottom}
                              : RECT{c.left, c.bottom, c.right, c.bottom + kBarSize};
  if (out) *out = r;
  return r.right > r.left && r.bottom > r.top;
}

void InvalidateScrollBars(HWND hwnd) {
  if (Window* w = Find(hwnd); w && HasFrame(*w)) w->frameDirty = true;
}

LRESULT WindowScrollBarHit(HWND hwnd, POINT screen) {
  const Window* w = Find(hwnd);
  if (!w) return 0;
  RECT wr;
  GetWindowRect(hwnd, &wr);
  const POINT p{screen.x - wr.left, screen.y - wr.top};
  RECT r;
  if (WindowScrollBarRect(hwnd, kVert, &r) && PtInRect(&r, p)) return HTVSCROLL;
  if (WindowScrollBarRect(hwnd, kHorz, &r) && PtInRect(&r, p)) return HTHSCROLL;
  return 0;
}

}  // namespace platform::win
