// Keyboard navigation of a dialog window: Tab (Shift+Tab) and the arrows walk its WS_TABSTOP
// children, Enter and Esc press IDOK and IDCANCEL, unless the focused window wants the key.
#include <vector>

#include "platform/win/Win.h"

namespace {

constexpr WPARAM kIdOk = 1, kIdCancel = 2;

void CollectTabStops(HWND parent, std::vector<HWND>& out) {
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    const LONG style = GetWindowLongW(c, GWL_STYLE);
    if ((style & WS_TABSTOP) && IsWindowVisible(c) && IsWindowEnabled(c)) out.push_back(c);
  }
}

// The tab stop after (or before) the one holding the focus, wrapping round.
HWND NextTabStop(HWND dialog, HWND focus, bool forward) {
  std::vector<HWND> stops;
  CollectTabStops(dialog, stops);
  if (stops.empty()) return nullptr;
  int at = -1;
  for (int i = 0; i < int(stops.size()); ++i)
    if (stops[size_t(i)] == focus || IsChild(stops[size_t(i)], focus)) at = i;
  const int n = int(stops.size());
  const int next = at < 0 ? (forward ? 0 : n - 1) : (at + (forward ? 1 : n - 1)) % n;
  return stops[size_t(next)];
}

BOOL DialogMessage(HWND dialog, MSG* msg, bool unicode) {
  if (!dialog || !msg || !IsWindow(dialog)) return FALSE;
  if (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd)) return FALSE;
  if (msg->message != WM_KEYDOWN) return FALSE;
  const WPARAM key = msg->wParam;
  LRESULT wants = 0;
  switch (key) {
    case VK_TAB:
      wants = DLGC_WANTTAB;
      break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
      wants = DLGC_WANTARROWS;
      break;
    case VK_RETURN:
    case VK_ESCAPE:
      wants = DLGC_WANTALLKEYS;
      break;
    default:
      return FALSE;
  }
  HWND focus = GetFocus();
  if (focus) {
    MSG copy = *msg;
    const LRESULT code = unicode ? SendMessageW(focus, WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&copy))
                                 : SendMessageA(focus, WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&copy));
    if (code & wants) return FALSE;
  }
  switch (key) {
    case VK_TAB: {
      const bool back = GetKeyState(VK_SHIFT) < 0;
      if (HWND next = NextTabStop(dialog, focus, !back)) SetFocus(next);
      return TRUE;
    }
    case VK_LEFT:
    case VK_UP:
      if (HWND next = NextTabStop(dialog, focus, false)) SetFocus(next);
      return TRUE;
    case VK_RIGHT:
    case VK_DOWN:
      if (HWND next = NextTabStop(dialog, focus, true)) SetFocus(next);
      return TRUE;
    default: {
      const WPARAM id = key == VK_RETURN ? kIdOk : kIdCancel;
      if (unicode)
        SendMessageW(dialog, WM_COMMAND, id, 0);
      else
        SendMessageA(dialog, WM_COMMAND, id, 0);
      return TRUE;
    }
  }
}

}  // namespace

BOOL IsDialogMessageA(HWND dialog, MSG* msg) { return DialogMessage(dialog, msg, false); }
BOOL IsDialogMessageW(HWND dialog, MSG* msg) { return DialogMessage(dialog, msg, true); }
