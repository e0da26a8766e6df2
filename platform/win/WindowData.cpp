// What a window keeps: its procedure, instance, parent, id, styles, user data and extra bytes
// (GetWindowLong / SetWindowLong in both sets and widths), its text and its dialog item id.
#include <cstring>

#include "platform/win/WindowSystem.h"

using namespace platform::win;
namespace gdi = platform::gdi;

namespace {

LONG_PTR GetLong(HWND hwnd, int index, bool unicode) {
  Window* w = Find(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  switch (index) {
    case GWL_WNDPROC:
      return LONG_PTR(ProcForVariant(w->proc, w->unicode, unicode));
    case GWL_HINSTANCE:
      return LONG_PTR(Value(w->instance));
    case GWL_HWNDPARENT:
      return LONG_PTR(Value(w->parent ? w->parent : w->owner));
    case GWL_ID:
      return w->id;
    case GWL_STYLE:
      return LONG_PTR(w->style);
    case GWL_EXSTYLE:
      return LONG_PTR(w->exStyle);
    case GWL_USERDATA:
      return w->userData;
    default:
      if (index >= 0 && size_t(index) + sizeof(LONG_PTR) <= w->extra.size()) {
        LONG_PTR v;
        std::memcpy(&v, w->extra.data() + index, sizeof v);
        return v;
      }
      if (index >= 0 && size_t(index) + sizeof(LONG) <= w->extra.size()) {
        LONG v;
        std::memcpy(&v, w->extra.data() + index, sizeof v);
        return v;
      }
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
  }
}

LONG_PTR SetLong(HWND hwnd, int index, LONG_PTR value, bool unicode, size_t width) {
  Window* w = Find(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  const LONG_PTR previous = GetLong(hwnd, index, unicode);
  switch (index) {
    case GWL_WNDPROC: {
      WNDPROC proc;
      bool set;
      if (!ResolveInstall(WNDPROC(value), unicode, proc, set)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
      }
      w->proc = proc;
      w->unicode = set;
      return previous;
    }
    case GWL_HINSTANCE:
      w->instance = reinterpret_cast<HINSTANCE>(value);
      return previous;
    case GWL_HWNDPARENT:
      if (!w->parent) w->owner = MakeHwnd(uintptr_t(value));
      return previous;
    case GWL_ID:
      w->id = value;
      return previous;
    case GWL_STYLE: {
      const DWORD old = w->style;
      w->style = (DWORD(value) & ~WS_VISIBLE) | (old & WS_VISIBLE);
      if ((old ^ DWORD(value)) & WS_VISIBLE) ShowWindow(hwnd, (value & WS_VISIBLE) ? SW_SHOWNA : SW_HIDE);
      return previous;
    }
    case GWL_EXSTYLE:
      w->exStyle = DWORD(value);
      return previous;
    case GWL_USERDATA:
      w->userData = value;
      return previous;
    default:
      if (index >= 0 && size_t(index) + width <= w->extra.size()) {
        if (width == sizeof(LONG)) {
          const LONG v = LONG(value);
          std::memcpy(w->extra.data() + index, &v, sizeof v);
        } else {
          std::memcpy(w->extra.data() + index, &value, sizeof value);
        }
        return previous;
      }
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
  }
}

}  // namespace

LONG_PTR GetWindowLongPtrA(HWND hwnd, int index) { return GetLong(hwnd, index, false); }
LONG_PTR GetWindowLongPtrW(HWND hwnd, int index) { return GetLong(hwnd, index, true); }
LONG_PTR SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR v) { return SetLong(hwnd, index, v, false, 8); }
LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR v) { return SetLong(hwnd, index, v, true, 8); }
// Procedure values and handles fit 32 bits, so the 32-bit forms carry them whole.
LONG GetWindowLongA(HWND hwnd, int index) { return LONG(GetLong(hwnd, index, false)); }
LONG GetWindowLongW(HWND hwnd, int index) { return LONG(GetLong(hwnd, index, true)); }
LONG SetWindowLongA(HWND hwnd, int index, LONG v) {
  return LONG(SetLong(hwnd, index, index == GWL_WNDPROC ? LONG_PTR(DWORD(v)) : v, false, 4));
}
LONG SetWindowLongW(HWND hwnd, int index, LONG v) {
  return LONG(SetLong(hwnd, index, index == GWL_WNDPROC ? LONG_PTR(DWORD(v)) : v, true, 4));
}

int GetWindowTextW(HWND hwnd, LPWSTR buffer, int size) {
  if (!Find(hwnd) || !buffer || size <= 0) return 0;
  return int(SendMessageW(hwnd, WM_GETTEXT, WPARAM(size), LPARAM(buffer)));
}
int GetWindowTextA(HWND hwnd, LPSTR buffer, int size) {
  if (!Find(hwnd) || !buffer || size <= 0) return 0;
  return int(SendMessageA(hwnd, WM_GETTEXT, WPARAM(size), LPARAM(buffer)));
}
BOOL SetWindowTextW(HWND hwnd, LPCWSTR text) {
  return Find(hwnd) ? BOOL(SendMessageW(hwnd, WM_SETTEXT, 0, LPARAM(text))) : FALSE;
}
BOOL SetWindowTextA(HWND hwnd, LPCSTR text) {
  return Find(hwnd) ? BOOL(SendMessageA(hwnd, WM_SETTEXT, 0, LPARAM(text))) : FALSE;
}
int GetWindowTextLengthW(HWND hwnd) { return int(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0)); }
int GetWindowTextLengthA(HWND hwnd) { return int(SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0)); }
int GetDlgCtrlID(HWND hwnd) {
  Window* w = Find(hwnd);
  return w ? int(w->id) : 0;
}
HWND GetDlgItem(HWND parent, int id) {
  Window* p = Find(parent);
  if (!p) return nullptr;
  for (HWND c : p->children)
    if (Find(c) && Find(c)->id == id) return c;
  return nullptr;
}
