// Activation of top-level windows (with the application's own activation), keyboard focus and
// mouse capture.
#include "platform/win/WindowSystem.h"

namespace platform::win {

void Activate(HWND hwnd, bool byClick) {
  State& s = S();
  Window* w = Find(hwnd);
  if (!w || w->parent || s.active == hwnd) return;
  if (w->exStyle & WS_EX_NOACTIVATE) return;
  const HWND previous = s.active;
  if (previous && Find(previous)) {
    SendTo(previous, WM_NCACTIVATE, FALSE, 0, true);
    SendTo(previous, WM_ACTIVATE, WA_INACTIVE, LPARAM(Value(hwnd)), true);
  }
  if (!s.appActive) {
    s.appActive = true;
    for (HWND t : std::vector<HWND>(s.topLevels))
      if (Find(t)) SendTo(t, WM_ACTIVATEAPP, TRUE, 0, true);
  }
  s.active = hwnd;
  if (!Find(hwnd)) return;
  if (Window* o = Find(w->owner)) o->lastActivePopup = hwnd;
  SendTo(hwnd, WM_NCACTIVATE, TRUE, 0, true);
  SendTo(hwnd, WM_ACTIVATE, byClick ? WA_CLICKACTIVE : WA_ACTIVE, LPARAM(Value(previous)), true);
  if (Find(hwnd) && s.active == hwnd && TopLevelOf(s.focus) != hwnd) SetFocus(hwnd);
}

}  // namespace platform::win

using namespace platform::win;
namespace gdi = platform::gdi;

BOOL SetForegroundWindow(HWND hwnd) {
  if (!Find(hwnd)) return FALSE;
  Activate(TopLevelOf(hwnd), false);
  return TRUE;
}
HWND GetForegroundWindow() { return S().active; }
HWND GetActiveWindow() { return S().active; }
HWND SetActiveWindow(HWND hwnd) {
  const HWND previous = S().active;
  Activate(hwnd, false);
  return previous;
}
HWND GetLastActivePopup(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w) return nullptr;
  return (w->lastActivePopup && Find(w->lastActivePopup)) ? w->lastActivePopup : hwnd;
}

HWND GetFocus() { return S().focus; }

HWND SetFocus(HWND hwnd) {
  State& s = S();
  const HWND previous = s.focus;
  if (hwnd) {
    Window* w = Find(hwnd);
    if (!w || !IsVisibleDeep(*w) || !IsEnabledDeep(*w)) return nullptr;
    const HWND top = TopLevelOf(hwnd);
    if (s.active != top) Activate(top, false);
    if (!Find(hwnd)) return nullptr;
  }
  if (previous == hwnd) return previous;
  s.focus = hwnd;
  if (previous && Find(previous)) SendTo(previous, WM_KILLFOCUS, WPARAM(Value(hwnd)), 0, true);
  if (hwnd && Find(hwnd) && s.focus == hwnd) SendTo(hwnd, WM_SETFOCUS, WPARAM(Value(previous)), 0, true);
  return previous;
}

HWND GetCapture() { return S().capture; }
HWND SetCapture(HWND hwnd) {
  State& s = S();
  const HWND previous = s.capture;
  if (!Find(hwnd)) return previous;
  s.capture = hwnd;
  if (previous && previous != hwnd && Find(previous))
    SendTo(previous, WM_CAPTURECHANGED, 0, LPARAM(Value(hwnd)), true);
  return previous;
}
BOOL ReleaseCapture() {
  State& s = S();
  const HWND previous = s.capture;
  s.capture = nullptr;
  if (previous && Find(previous)) SendTo(previous, WM_CAPTURECHANGED, 0, 0, true);
  return TRUE;
}
