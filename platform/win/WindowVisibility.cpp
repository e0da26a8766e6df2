// Showing, hiding, enabling and disabling windows, with the messages that go with each and the
// focus and activation they hand on.
#include "platform/win/WindowSystem.h"

using namespace platform::win;
namespace gdi = platform::gdi;

BOOL ShowWindow(HWND hwnd, int command) {
  State& s = S();
  Window* w = Find(hwnd);
  if (!w) return FALSE;
  const bool was = (w->style & WS_VISIBLE) != 0;
  const bool show = command != SW_HIDE && command != SW_MINIMIZE;
  if (show == was) {
    if (show && !w->parent && command != SW_SHOWNA && command != SW_SHOWNOACTIVATE) Activate(hwnd, false);
    return was;
  }
  SendTo(hwnd, WM_SHOWWINDOW, show, 0, true);
  if (!(w = Find(hwnd))) return was;
  WINDOWPOS pos{hwnd,
                nullptr,
                int(w->rect.left),
                int(w->rect.top),
                int(w->rect.right - w->rect.left),
                int(w->rect.bottom - w->rect.top),
                UINT(SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW))};
  SendTo(hwnd, WM_WINDOWPOSCHANGING, 0, LPARAM(&pos), true);
  if (!(w = Find(hwnd))) return was;
  if (show) {
    w->style |= WS_VISIBLE;
    InvalidateWindow(*w, nullptr, true, true);
  } else {
    w->style &= ~WS_VISIBLE;
    if (w->parent) {
      gdi::Region area(w->rect);
      InvalidateWindow(*Find(w->parent), &area, true, true);
    }
    if (s.focus && (s.focus == hwnd || IsChild(hwnd, s.focus))) {
      const HWND parent = w->parent;
      SetFocus(parent ? parent : nullptr);
    }
  }
  if (!w->parent && s.backend) s.backend->WindowShown(hwnd, show);
  SendTo(hwnd, WM_WINDOWPOSCHANGED, 0, LPARAM(&pos), true);
  if (!Find(hwnd)) return was;
  if (show && !w->parent && command != SW_SHOWNA && command != SW_SHOWNOACTIVATE) Activate(hwnd, false);
  if (!show && !w->parent && s.active == hwnd) {
    s.active = nullptr;
    SendTo(hwnd, WM_NCACTIVATE, FALSE, 0, true);
    SendTo(hwnd, WM_ACTIVATE, WA_INACTIVE, 0, true);
    HWND next = Find(hwnd) ? Find(hwnd)->owner : nullptr;
    if (next && Find(next) && (Find(next)->style & WS_VISIBLE)) Activate(next, false);
  }
  return was;
}

BOOL IsWindowVisible(HWND hwnd) {
  Window* w = Find(hwnd);
  return w && IsVisibleDeep(*w);
}
BOOL IsIconic(HWND) { return FALSE; }
BOOL IsZoomed(HWND) { return FALSE; }

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  State& s = S();
  Window* w = Find(hwnd);
  if (!w) return FALSE;
  const bool wasDisabled = (w->style & WS_DISABLED) != 0;
  if (bool(enable) == !wasDisabled) return wasDisabled;
  if (enable)
    w->style &= ~WS_DISABLED;
  else {
    w->style |= WS_DISABLED;
    if (s.focus && (s.focus == hwnd || IsChild(hwnd, s.focus))) SetFocus(nullptr);
    if (s.capture == hwnd) ReleaseCapture();
  }
  SendTo(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0, true);
  return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd) {
  Window* w = Find(hwnd);
  return w && !(w->style & WS_DISABLED);
}
