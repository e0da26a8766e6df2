// Creating windows, with their synchronous first messages and the undoing of a creation that a
// window refuses, and destroying them: owned windows first, then the tree, children before the
// window, with focus, capture and activation handed on.
#include <algorithm>

#include "platform/win/Endpoint.h"
#include "platform/win/WindowScrollBars.h"
#include "platform/win/WindowSystem.h"

namespace platform::win {

namespace {

HWND NewHandle() {
  State& s = S();
  ++s.nextIndex;
  return MakeHwnd((uintptr_t(s.slot) << 20) | (s.nextIndex & 0xFFFFF));
}

HWND Create(DWORD exStyle, const void* className, const void* caption, DWORD style, int x, int y, int w,
            int h, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param, bool unicode) {
  State& s = S();
  if (!OnInterfaceThread()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const std::u16string name = ClassNameOf(className, unicode);
  auto cls = FindClass(name, instance);
  if (!cls) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return nullptr;
  }
  if ((style & WS_CHILD) && !Find(parent)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (x == CW_USEDEFAULT) x = 0, y = y == CW_USEDEFAULT ? 0 : y;
  if (w == CW_USEDEFAULT) w = 640, h = h == CW_USEDEFAULT ? 480 : h;
  auto win = std::make_unique<Window>();
  Window& wnd = *win;
  wnd.handle = NewHandle();
  wnd.cls = cls;
  wnd.proc = cls->proc;
  wnd.unicode = cls->dual ? unicode : cls->unicode;
  wnd.style = style & ~WS_VISIBLE;
  wnd.exStyle = exStyle;
  wnd.instance = instance;
  wnd.extra.assign(size_t(std::max(0, cls->wndExtra)), 0);
  if (style & WS_CHILD) {
    wnd.parent = parent;
    wnd.id = LONG_PTR(Value(menu));
  } else {
    wnd.owner = parent ? TopLevelOf(parent) : nullptr;
  }
  wnd.rect = {x, y, x + std::max(0, w), y + std::max(0, h)};
  ComputeClient(wnd);
  const HWND hwnd = wnd.handle;
  ++cls->windows;
  s.windows[Value(hwnd)] = std::move(win);
  if (wnd.parent)
    Find(parent)->children.insert(Find(parent)->children.begin(), hwnd);
  else
    PlaceTopLevel(wnd, HWND_TOP);
  if (!wnd.parent) {
    ReallocateSurface(wnd);
    if (s.backend) s.backend->WindowCreated(hwnd);
  }

  auto fail = [&](bool destroyFirst) -> HWND {
    if (Find(hwnd)) {
      if (destroyFirst) SendTo(hwnd, WM_DESTROY, 0, 0, true);
      if (Find(hwnd)) SendTo(hwnd, WM_NCDESTROY, 0, 0, true);
      if (Window* dead = Find(hwnd)) {
        --dead->cls->windows;
        Unlink(*dead);
        if (s.backend && !dead->parent) s.backend->WindowDestroyed(hwnd);
        RemoveMessagesFor(hwnd);
        s.windows.erase(Value(hwnd));
      }
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  };

  std::u16string wideCaption;
  std::string narrowCaption, narrowClass;
  CREATESTRUCTW cs{param, instance, menu, parent, h, w, y, x, LONG(style), nullptr, nullptr, exStyle};
  CREATESTRUCTA ca{param, instance, menu, parent, h, w, y, x, LONG(style), nullptr, nullptr, exStyle};
  if (unicode) {
    cs.lpszName = static_cast<LPCWSTR>(caption);
    cs.lpszClass = static_cast<LPCWSTR>(className);
  } else {
    ca.lpszName = static_cast<LPCSTR>(caption);
    ca.lpszClass = static_cast<LPCSTR>(className);
  }
  const LPARAM create = unicode ? LPARAM(&cs) : LPARAM(&ca);
  auto send = [&](UINT msg, WPARAM wp, LPARAM lp) { return SendTo(hwnd, msg, wp, lp, unicode); };

  if (!wnd.parent) {
    MINMAXINFO mmi{};
    mmi.ptMaxSize = {LONG(gdi::ScreenSize().cx), LONG(gdi::ScreenSize().cy)};
    mmi.ptMaxTrackSize = mmi.ptMaxSize;
    send(WM_GETMINMAXINFO, 0, LPARAM(&mmi));
    if (!Find(hwnd)) return fail(false);
  }
  if (!send(WM_NCCREATE, 0, create)) return fail(false);
  if (!Find(hwnd)) return fail(false);
  NCCALCSIZE_PARAMS nc{};
  nc.rgrc[0] = Find(hwnd)->rect;
  send(WM_NCCALCSIZE, FALSE, LPARAM(&nc.rgrc[0]));
  if (!Find(hwnd)) return fail(false);
  if (send(WM_CREATE, 0, create) == -1 || !Find(hwnd)) return fail(true);
  Window* made = Find(hwnd);
  made->created = true;
  POINT origin{made->client.left, made->client.top};
  if (made->parent) {
    Window* p = Find(made->parent);
    origin = {origin.x - p->client.left, origin.y - p->client.top};
  }
  send(
      WM_SIZE, SIZE_RESTORED,
      MAKELPARAM(WORD(made->client.right - made->client.left), WORD(made->client.bottom - made->client.top)));
  if (!Find(hwnd)) return nullptr;
  send(WM_MOVE, 0, MAKELPARAM(WORD(origin.x), WORD(origin.y)));
  if (!Find(hwnd)) return nullptr;
  if (style & WS_VISIBLE) ShowWindow(hwnd, (exStyle & WS_EX_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
  if (!Find(hwnd)) return nullptr;
  if ((style & WS_CHILD) && !(exStyle & WS_EX_NOPARENTNOTIFY) && Find(parent))
    SendTo(parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, WORD(wnd.id)), LPARAM(Value(hwnd)), true);
  return Find(hwnd) ? hwnd : nullptr;
}

void DestroyTree(HWND hwnd) {
  State& s = S();
  Window* w = Find(hwnd);
  if (!w) return;
  w->destroying = true;
  SendTo(hwnd, WM_DESTROY, 0, 0, true);
  w = Find(hwnd);
  if (!w) return;
  const std::vector<HWND> children = w->children;
  for (HWND c : children) DestroyTree(c);
  if (!Find(hwnd)) return;
  SendTo(hwnd, WM_NCDESTROY, 0, 0, true);
  if (ScrollBarHooks().forget) ScrollBarHooks().forget(hwnd);
  w = Find(hwnd);
  if (!w) return;
  KillTimersFor(hwnd);
  RemoveMessagesFor(hwnd);
  if (s.focus == hwnd) s.focus = nullptr;
  if (s.capture == hwnd) s.capture = nullptr;
  if (s.active == hwnd) s.active = nullptr;
  if (s.lastMouseWindow == hwnd) s.lastMouseWindow = nullptr;
  if (s.caretOwner == hwnd) s.caretOwner = nullptr;
  --w->cls->windows;
  Unlink(*w);
  if (!w->parent && s.backend) s.backend->WindowDestroyed(hwnd);
  s.windows.erase(Value(hwnd));
}

}  // namespace

}  // namespace platform::win

using namespace platform::win;
namespace gdi = platform::gdi;

HWND CreateWindowExA(DWORD exStyle, LPCSTR cls, LPCSTR caption, DWORD style, int x, int y, int w, int h,
                     HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
  return Create(exStyle, cls, caption, style, x, y, w, h, parent, menu, instance, param, false);
}

HWND CreateWindowExW(DWORD exStyle, LPCWSTR cls, LPCWSTR caption, DWORD style, int x, int y, int w, int h,
                     HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
  return Create(exStyle, cls, caption, style, x, y, w, h, parent, menu, instance, param, true);
}

BOOL DestroyWindow(HWND hwnd) {
  State& s = S();
  Window* w = Find(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (w->destroying) return TRUE;
  w->destroying = true;
  if (w->style & WS_VISIBLE) ShowWindow(hwnd, SW_HIDE);
  if (s.capture && (s.capture == hwnd || IsChild(hwnd, s.capture))) ReleaseCapture();
  // Owned top-level windows go first.
  for (HWND t : std::vector<HWND>(s.topLevels)) {
    Window* o = Find(t);
    if (o && o->owner == hwnd) DestroyWindow(t);
  }
  if (!Find(hwnd)) return TRUE;
  if (s.focus && (s.focus == hwnd || IsChild(hwnd, s.focus))) {
    // Focus moves to the parent (or nowhere), with WM_KILLFOCUS to the window losing it.
    const HWND parent = Find(hwnd)->parent;
    if (!parent || !SetFocus(parent)) SetFocus(nullptr);
    if (!Find(hwnd)) return TRUE;
  }
  if (s.active == hwnd) {
    s.active = nullptr;
    SendTo(hwnd, WM_NCACTIVATE, FALSE, 0, true);
    SendTo(hwnd, WM_ACTIVATE, WA_INACTIVE, 0, true);
    const HWND owner = Find(hwnd) ? Find(hwnd)->owner : nullptr;
    HWND next = owner;
    if (!next)
      for (HWND t : s.topLevels)
        if (t != hwnd && Find(t) && (Find(t)->style & WS_VISIBLE)) {
          next = t;
          break;
        }
    if (next && Find(next) && (Find(next)->style & WS_VISIBLE)) Activate(next, false);
  }
  if (!Find(hwnd)) return TRUE;
  const HWND parent = Find(hwnd)->parent;
  const bool notify = parent && !(Find(hwnd)->exStyle & WS_EX_NOPARENTNOTIFY);
  if (notify)
    SendTo(parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_DESTROY, WORD(Find(hwnd)->id)), LPARAM(Value(hwnd)), true);
  Find(hwnd)->destroying = false;
  DestroyTree(hwnd);
  return TRUE;
}

BOOL IsWindow(HWND hwnd) { return Find(hwnd) != nullptr || (IsForeign(hwnd) && RemoteAlive(hwnd)); }
BOOL IsWindowUnicode(HWND hwnd) {
  Window* w = Find(hwnd);
  return w && w->unicode;
}
