// Window classes and windows: registration, creation with its synchronous first messages,
// destruction, window data, text, geometry, z-order, visibility, enabling, focus, activation
// and window regions.
#include <algorithm>
#include <cstring>

#include "platform/gdi/WindowDrawing.h"
#include "platform/rtl/Clock.h"
#include "platform/win/Endpoint.h"
#include "platform/win/WindowScrollBars.h"
#include "platform/win/WindowSystem.h"

namespace platform::win {

namespace {

bool SameName(const std::u16string& a, const std::u16string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char16_t x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = char16_t(x - 32);
    if (y >= 'a' && y <= 'z') y = char16_t(y - 32);
    if (x != y) return false;
  }
  return true;
}

std::shared_ptr<WindowClass> FindClass(const std::u16string& name, HINSTANCE instance) {
  for (auto& c : S().classes)
    if (SameName(c->name, name) && (c->instance == instance || c->dual || !instance || !c->instance)) return c;
  return nullptr;
}

std::u16string ClassNameOf(const void* name, bool unicode) {
  if (!name) return {};
  const uintptr_t v = reinterpret_cast<uintptr_t>(name);
  if ((v >> 16) == 0) return AtomName(ATOM(v));
  return unicode ? std::u16string(static_cast<const char16_t*>(name)) : ToWide(static_cast<const char*>(name));
}

RECT Offset(RECT r, int dx, int dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

// Border widths of a child window's non-client area (top-level frames belong to the desktop).
RECT NonClient(const Window& w) {
  if (!(w.style & WS_CHILD)) return {0, 0, 0, 0};
  int b = 0;
  if (w.style & WS_BORDER) b += 1;
  if (w.exStyle & WS_EX_CLIENTEDGE) b += 2;
  RECT nc{b, b, b, b};
  if (w.style & WS_VSCROLL) nc.right += 17;
  if (w.style & WS_HSCROLL) nc.bottom += 17;
  return nc;
}

void ComputeClient(Window& w) {
  const RECT nc = NonClient(w);
  w.client = {w.rect.left + nc.left, w.rect.top + nc.top, std::max(w.rect.left + nc.left, w.rect.right - nc.right),
              std::max(w.rect.top + nc.top, w.rect.bottom - nc.bottom)};
}

std::vector<HWND>& SiblingList(Window& w) {
  if (w.parent) {
    if (Window* p = Find(w.parent)) return p->children;
  }
  return S().topLevels;
}

void Unlink(Window& w) {
  auto& list = SiblingList(w);
  list.erase(std::remove(list.begin(), list.end(), w.handle), list.end());
}

// Owned windows and topmost windows stay above the others.
void PlaceTopLevel(Window& w, HWND insertAfter) {
  auto& list = S().topLevels;
  list.erase(std::remove(list.begin(), list.end(), w.handle), list.end());
  auto isTopmost = [](HWND h) {
    Window* x = Find(h);
    return x && (x->exStyle & WS_EX_TOPMOST);
  };
  size_t at = 0;
  if (insertAfter == HWND_BOTTOM) {
    at = list.size();
  } else if (insertAfter != HWND_TOP && insertAfter != HWND_TOPMOST && insertAfter != HWND_NOTOPMOST &&
             insertAfter) {
    auto it = std::find(list.begin(), list.end(), insertAfter);
    at = it == list.end() ? 0 : size_t(it - list.begin()) + 1;
  }
  if (!(w.exStyle & WS_EX_TOPMOST))
    while (at < list.size() && isTopmost(list[at])) ++at;
  list.insert(list.begin() + long(at), w.handle);
  // Owned windows go above their owner.
  for (size_t i = 0; i < list.size(); ++i) {
    Window* x = Find(list[i]);
    if (x && x->owner == w.handle && i > at) {
      HWND h = list[i];
      list.erase(list.begin() + long(i));
      list.insert(list.begin() + long(at), h);
    }
  }
}

void SendPosChange(Window& w, UINT flags, bool sizeChanged, bool moved) {
  const HWND h = w.handle;
  WINDOWPOS pos{h, nullptr, int(w.rect.left), int(w.rect.top), int(w.rect.right - w.rect.left),
                int(w.rect.bottom - w.rect.top), flags};
  SendTo(h, WM_WINDOWPOSCHANGED, 0, LPARAM(&pos), true);
  if (!Find(h)) return;
  if (moved) {
    POINT o = {w.client.left, w.client.top};
    if (w.parent) {
      Window* p = Find(w.parent);
      if (p) o = {o.x - p->client.left, o.y - p->client.top};
    }
    SendTo(h, WM_MOVE, 0, MAKELPARAM(WORD(o.x), WORD(o.y)), true);
  }
  if (sizeChanged && Find(h)) {
    SendTo(h, WM_SIZE, SIZE_RESTORED,
           MAKELPARAM(WORD(w.client.right - w.client.left), WORD(w.client.bottom - w.client.top)), true);
  }
}

HWND NewHandle() {
  State& s = S();
  ++s.nextIndex;
  return MakeHwnd((uintptr_t(s.slot) << 20) | (s.nextIndex & 0xFFFFF));
}

HWND Create(DWORD exStyle, const void* className, const void* caption, DWORD style, int x, int y, int w, int h,
            HWND parent, HMENU menu, HINSTANCE instance, LPVOID param, bool unicode) {
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
  send(WM_SIZE, SIZE_RESTORED,
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

State& S() {
  static State* state = new State();  // outlives windows destroyed during exit
  return *state;
}

bool OnInterfaceThread() { return std::this_thread::get_id() == S().interfaceThread; }

Window* Find(HWND hwnd) {
  State& s = S();
  auto it = s.windows.find(Value(hwnd));
  return it == s.windows.end() ? nullptr : it->second.get();
}

int64_t Now() { return platform::GetClock().NowMs(); }

bool HasFrame(const Window& w) {
  const RECT nc = NonClient(w);
  return nc.left || nc.top || nc.right || nc.bottom;
}

HWND TopLevelOf(HWND hwnd) {
  Window* w = Find(hwnd);
  while (w && w->parent) w = Find(w->parent);
  return w ? w->handle : nullptr;
}

POINT ClientOriginOnSurface(const Window& w) {
  // Surface coordinates = top-level client coordinates; child rectangles are parent-client based.
  POINT p{w.client.left, w.client.top};
  if (!w.parent) return {0, 0};
  const Window* cur = &w;
  p = {cur->client.left, cur->client.top};
  while (cur->parent) {
    const Window* parent = Find(cur->parent);
    if (!parent) break;
    if (parent->parent) p = {p.x + parent->client.left, p.y + parent->client.top};
    cur = parent;
  }
  return p;
}

bool IsVisibleDeep(const Window& w) {
  const Window* cur = &w;
  while (cur) {
    if (!(cur->style & WS_VISIBLE)) return false;
    cur = cur->parent ? Find(cur->parent) : nullptr;
  }
  return true;
}

bool IsEnabledDeep(const Window& w) {
  const Window* cur = &w;
  while (cur) {
    if (cur->style & WS_DISABLED) return false;
    cur = cur->parent ? Find(cur->parent) : nullptr;
  }
  return true;
}

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

void DestroyAll() {
  while (!S().topLevels.empty()) DestroyWindow(S().topLevels.front());
}

}  // namespace platform::win

using namespace platform::win;
namespace gdi = platform::gdi;

// ---- classes

namespace {

ATOM Register(const WNDCLASSW& wc, const std::u16string& name, bool unicode, const char* menuA) {
  if (name.empty() || !wc.lpfnWndProc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  for (auto& c : S().classes) {
    if (SameName(c->name, name) && c->instance == wc.hInstance) {
      SetLastError(ERROR_CLASS_ALREADY_EXISTS);
      return 0;
    }
  }
  auto c = std::make_shared<WindowClass>();
  c->name = name;
  c->instance = wc.hInstance;
  c->style = wc.style;
  if (!ResolveInstall(wc.lpfnWndProc, unicode, c->proc, c->unicode)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  c->clsExtra = wc.cbClsExtra;
  c->wndExtra = wc.cbWndExtra;
  c->icon = wc.hIcon;
  c->cursor = wc.hCursor;
  c->background = wc.hbrBackground;
  if (unicode && wc.lpszMenuName) {
    if (reinterpret_cast<uintptr_t>(wc.lpszMenuName) >> 16)
      c->menuNameW = wc.lpszMenuName;
    else
      c->menuId = reinterpret_cast<uintptr_t>(wc.lpszMenuName);
  } else if (menuA) {
    if (reinterpret_cast<uintptr_t>(menuA) >> 16)
      c->menuNameA = menuA;
    else
      c->menuId = reinterpret_cast<uintptr_t>(menuA);
  }
  S().classes.push_back(c);
  return AddAtom(name);
}

}  // namespace

ATOM platform::win::RegisterSystemClass(const WNDCLASSW& wc) {
  const ATOM atom = Register(wc, ClassNameOf(wc.lpszClassName, true), true, nullptr);
  if (atom) S().classes.back()->dual = true;
  return atom;
}

ATOM RegisterClassW(const WNDCLASSW* wc) {
  if (!wc) return 0;
  return Register(*wc, ClassNameOf(wc->lpszClassName, true), true, nullptr);
}

ATOM RegisterClassA(const WNDCLASSA* wc) {
  if (!wc) return 0;
  WNDCLASSW w{wc->style, wc->lpfnWndProc, wc->cbClsExtra, wc->cbWndExtra, wc->hInstance, wc->hIcon,
              wc->hCursor, wc->hbrBackground, nullptr, nullptr};
  return Register(w, ClassNameOf(wc->lpszClassName, false), false, wc->lpszMenuName);
}

namespace {

BOOL Unregister(const std::u16string& name, HINSTANCE instance) {
  auto& classes = S().classes;
  for (auto it = classes.begin(); it != classes.end(); ++it) {
    if (SameName((*it)->name, name) && (*it)->instance == instance) {
      if ((*it)->windows > 0) {
        SetLastError(ERROR_CLASS_HAS_WINDOWS);
        return FALSE;
      }
      classes.erase(it);
      return TRUE;
    }
  }
  SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
  return FALSE;
}

}  // namespace

BOOL UnregisterClassA(LPCSTR name, HINSTANCE instance) { return Unregister(ClassNameOf(name, false), instance); }
BOOL UnregisterClassW(LPCWSTR name, HINSTANCE instance) { return Unregister(ClassNameOf(name, true), instance); }

BOOL GetClassInfoW(HINSTANCE instance, LPCWSTR name, WNDCLASSW* out) {
  auto c = FindClass(ClassNameOf(name, true), instance);
  if (!c || !out) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  *out = WNDCLASSW{c->style,  ProcForVariant(c->proc, c->dual ? true : c->unicode, true),
                   c->clsExtra, c->wndExtra, c->instance, c->icon, c->cursor, c->background,
                   c->menuId ? reinterpret_cast<LPCWSTR>(c->menuId) : (c->menuNameW.empty() ? nullptr : c->menuNameW.c_str()),
                   c->name.c_str()};
  return TRUE;
}

BOOL GetClassInfoA(HINSTANCE instance, LPCSTR name, WNDCLASSA* out) {
  auto c = FindClass(ClassNameOf(name, false), instance);
  if (!c || !out) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  // The 8-bit class name lives as long as the class.
  static thread_local std::string nameStore;
  nameStore = ToAnsi(c->name.data(), c->name.size());
  *out = WNDCLASSA{c->style,  ProcForVariant(c->proc, c->dual ? false : c->unicode, false),
                   c->clsExtra, c->wndExtra, c->instance, c->icon, c->cursor, c->background,
                   c->menuId ? reinterpret_cast<LPCSTR>(c->menuId) : (c->menuNameA.empty() ? nullptr : c->menuNameA.c_str()),
                   nameStore.c_str()};
  return TRUE;
}

int GetClassNameW(HWND hwnd, LPWSTR buffer, int size) {
  Window* w = Find(hwnd);
  if (!w || !buffer || size <= 0) return 0;
  const size_t n = std::min<size_t>(w->cls->name.size(), size_t(size) - 1);
  std::memcpy(buffer, w->cls->name.data(), n * 2);
  buffer[n] = 0;
  return int(n);
}

int GetClassNameA(HWND hwnd, LPSTR buffer, int size) {
  Window* w = Find(hwnd);
  if (!w || !buffer || size <= 0) return 0;
  const std::string a = ToAnsi(w->cls->name.data(), w->cls->name.size());
  const size_t n = std::min<size_t>(a.size(), size_t(size) - 1);
  std::memcpy(buffer, a.data(), n);
  buffer[n] = 0;
  return int(n);
}

// ---- windows

HWND CreateWindowExA(DWORD exStyle, LPCSTR cls, LPCSTR caption, DWORD style, int x, int y, int w, int h, HWND parent,
                     HMENU menu, HINSTANCE instance, LPVOID param) {
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
  if (notify) SendTo(parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_DESTROY, WORD(Find(hwnd)->id)), LPARAM(Value(hwnd)), true);
  Find(hwnd)->destroying = false;
  DestroyTree(hwnd);
  return TRUE;
}

BOOL IsWindow(HWND hwnd) { return Find(hwnd) != nullptr || (IsForeign(hwnd) && RemoteAlive(hwnd)); }
BOOL IsWindowUnicode(HWND hwnd) {
  Window* w = Find(hwnd);
  return w && w->unicode;
}
BOOL IsChild(HWND parent, HWND hwnd) {
  Window* w = Find(hwnd);
  while (w && w->parent) {
    if (w->parent == parent) return TRUE;
    w = Find(w->parent);
  }
  return FALSE;
}
HWND GetParent(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w) return nullptr;
  return w->parent ? w->parent : w->owner;
}

HWND SetParent(HWND hwnd, HWND parent) {
  Window* w = Find(hwnd);
  if (!w || (parent && !Find(parent)) || parent == hwnd || (parent && IsChild(hwnd, parent))) return nullptr;
  const HWND previous = w->parent;
  Unlink(*w);
  if (parent) {
    if (!w->parent) {
      if (S().backend) S().backend->WindowDestroyed(hwnd);
      w->surface.reset();
    }
    w->parent = parent;
    w->owner = nullptr;
    w->style = (w->style | WS_CHILD) & ~WS_POPUP;
    Find(parent)->children.insert(Find(parent)->children.begin(), hwnd);
  } else {
    w->parent = nullptr;
    w->style &= ~WS_CHILD;
    PlaceTopLevel(*w, HWND_TOP);
    ReallocateSurface(*w);
    if (S().backend) S().backend->WindowCreated(hwnd);
  }
  ComputeClient(*w);
  InvalidateWindow(*w, nullptr, true, true);
  return previous;
}

HWND GetWindow(HWND hwnd, UINT relation) {
  Window* w = Find(hwnd);
  if (!w) return nullptr;
  if (relation == GW_OWNER) return w->owner;
  if (relation == GW_CHILD) return w->children.empty() ? nullptr : w->children.front();
  auto& list = SiblingList(*w);
  auto it = std::find(list.begin(), list.end(), hwnd);
  switch (relation) {
    case GW_HWNDFIRST: return list.empty() ? nullptr : list.front();
    case GW_HWNDLAST: return list.empty() ? nullptr : list.back();
    case GW_HWNDNEXT: return (it == list.end() || it + 1 == list.end()) ? nullptr : *(it + 1);
    case GW_HWNDPREV: return (it == list.begin() || it == list.end()) ? nullptr : *(it - 1);
    default: return nullptr;
  }
}

HWND GetDesktopWindow() { return nullptr; }
HWND GetTopWindow(HWND hwnd) {
  if (!hwnd) return S().topLevels.empty() ? nullptr : S().topLevels.front();
  return GetWindow(hwnd, GW_CHILD);
}

BOOL EnumWindows(WNDENUMPROC proc, LPARAM param) {
  for (HWND h : std::vector<HWND>(S().topLevels))
    if (Find(h) && !proc(h, param)) break;
  return TRUE;
}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM param) {
  Window* p = Find(parent);
  if (!p) return FALSE;
  std::function<bool(HWND)> walk = [&](HWND h) {
    Window* w = Find(h);
    if (!w) return true;
    for (HWND c : std::vector<HWND>(w->children)) {
      if (!Find(c)) continue;
      if (!proc(c, param)) return false;
      if (!walk(c)) return false;
    }
    return true;
  };
  walk(parent);
  return TRUE;
}

namespace platform::win {

HWND FindTopLevel(const std::u16string* cls, const std::u16string* title) {
  for (HWND h : S().topLevels) {
    Window* w = Find(h);
    if (!w) continue;
    if (cls && !SameName(w->cls->name, *cls)) continue;
    if (title && w->text != *title) continue;
    return h;
  }
  return nullptr;
}

}  // namespace platform::win

// This process's windows from the top first, then the other processes' in slot order.
HWND FindWindowW(LPCWSTR cls, LPCWSTR title) {
  std::u16string c = cls ? ClassNameOf(cls, true) : u"", t = title ? std::u16string(title) : u"";
  if (HWND h = FindTopLevel(cls ? &c : nullptr, title ? &t : nullptr)) return h;
  return RemoteFind(cls ? &c : nullptr, title ? &t : nullptr);
}

HWND FindWindowA(LPCSTR cls, LPCSTR title) {
  std::u16string c = cls ? ClassNameOf(cls, false) : u"", t = title ? ToWide(title) : u"";
  if (HWND h = FindTopLevel(cls ? &c : nullptr, title ? &t : nullptr)) return h;
  return RemoteFind(cls ? &c : nullptr, title ? &t : nullptr);
}

// ---- window data

namespace {

LONG_PTR GetLong(HWND hwnd, int index, bool unicode) {
  Window* w = Find(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  switch (index) {
    case GWL_WNDPROC: return LONG_PTR(ProcForVariant(w->proc, w->unicode, unicode));
    case GWL_HINSTANCE: return LONG_PTR(Value(w->instance));
    case GWL_HWNDPARENT: return LONG_PTR(Value(w->parent ? w->parent : w->owner));
    case GWL_ID: return w->id;
    case GWL_STYLE: return LONG_PTR(w->style);
    case GWL_EXSTYLE: return LONG_PTR(w->exStyle);
    case GWL_USERDATA: return w->userData;
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
    case GWL_HINSTANCE: w->instance = reinterpret_cast<HINSTANCE>(value); return previous;
    case GWL_HWNDPARENT:
      if (!w->parent) w->owner = MakeHwnd(uintptr_t(value));
      return previous;
    case GWL_ID: w->id = value; return previous;
    case GWL_STYLE: {
      const DWORD old = w->style;
      w->style = (DWORD(value) & ~WS_VISIBLE) | (old & WS_VISIBLE);
      if ((old ^ DWORD(value)) & WS_VISIBLE) ShowWindow(hwnd, (value & WS_VISIBLE) ? SW_SHOWNA : SW_HIDE);
      return previous;
    }
    case GWL_EXSTYLE: w->exStyle = DWORD(value); return previous;
    case GWL_USERDATA: w->userData = value; return previous;
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

// ---- geometry

namespace {

// Offset of a window's coordinate space (its parent's client area) on the screen.
POINT ParentScreenOrigin(const Window& w) {
  POINT o{0, 0};
  const Window* cur = w.parent ? Find(w.parent) : nullptr;
  while (cur) {
    o.x += cur->client.left;
    o.y += cur->client.top;
    cur = cur->parent ? Find(cur->parent) : nullptr;
  }
  return o;
}

}  // namespace

BOOL GetWindowRect(HWND hwnd, RECT* out) {
  Window* w = Find(hwnd);
  if (!w || !out) return FALSE;
  const POINT o = ParentScreenOrigin(*w);
  *out = Offset(w->rect, o.x, o.y);
  return TRUE;
}

BOOL GetClientRect(HWND hwnd, RECT* out) {
  Window* w = Find(hwnd);
  if (!w || !out) return FALSE;
  *out = {0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, POINT* p) {
  Window* w = Find(hwnd);
  if (!w || !p) return FALSE;
  const POINT o = ParentScreenOrigin(*w);
  p->x += o.x + w->client.left;
  p->y += o.y + w->client.top;
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, POINT* p) {
  Window* w = Find(hwnd);
  if (!w || !p) return FALSE;
  const POINT o = ParentScreenOrigin(*w);
  p->x -= o.x + w->client.left;
  p->y -= o.y + w->client.top;
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count) {
  POINT a{0, 0}, b{0, 0};
  if (from) ClientToScreen(from, &a);
  if (to) ClientToScreen(to, &b);
  for (UINT i = 0; i < count; ++i) {
    points[i].x += a.x - b.x;
    points[i].y += a.y - b.y;
  }
  return MAKELONG(WORD(a.x - b.x), WORD(a.y - b.y));
}

namespace {

bool InShape(const Window& w, POINT screen) {
  if (!w.shape) return true;
  RECT wr;
  GetWindowRect(w.handle, &wr);
  return w.shape->Contains(screen.x - wr.left, screen.y - wr.top);
}

HWND ChildAt(HWND parent, POINT screen) {
  Window* p = Find(parent);
  if (!p) return nullptr;
  for (HWND c : p->children) {
    Window* w = Find(c);
    if (!w || !(w->style & WS_VISIBLE) || (w->style & WS_DISABLED)) continue;
    RECT r;
    GetWindowRect(c, &r);
    if (PtInRect(&r, screen) && InShape(*w, screen)) {
      HWND deeper = ChildAt(c, screen);
      return deeper ? deeper : c;
    }
  }
  return nullptr;
}

}  // namespace

HWND WindowFromPoint(POINT p) {
  for (HWND t : S().topLevels) {
    Window* w = Find(t);
    if (!w || !(w->style & WS_VISIBLE)) continue;
    RECT r;
    GetWindowRect(t, &r);
    if (!PtInRect(&r, p) || !InShape(*w, p)) continue;
    HWND c = ChildAt(t, p);
    return c ? c : t;
  }
  return nullptr;
}

HWND ChildWindowFromPoint(HWND parent, POINT p) {
  Window* w = Find(parent);
  if (!w) return nullptr;
  ClientToScreen(parent, &p);
  for (HWND c : w->children) {
    RECT r;
    GetWindowRect(c, &r);
    if (PtInRect(&r, p)) return c;
  }
  RECT r;
  GetWindowRect(parent, &r);
  return PtInRect(&r, p) ? parent : nullptr;
}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  State& s = S();
  Window* w = Find(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  WINDOWPOS pos{hwnd, insertAfter, x, y, cx, cy, flags};
  if (flags & SWP_NOMOVE) pos.x = w->rect.left, pos.y = w->rect.top;
  if (flags & SWP_NOSIZE) pos.cx = w->rect.right - w->rect.left, pos.cy = w->rect.bottom - w->rect.top;
  SendTo(hwnd, WM_WINDOWPOSCHANGING, 0, LPARAM(&pos), true);
  if (!(w = Find(hwnd))) return FALSE;
  const RECT oldRect = w->rect;
  const RECT newRect{pos.x, pos.y, pos.x + std::max(0, pos.cx), pos.y + std::max(0, pos.cy)};
  const bool moved = newRect.left != oldRect.left || newRect.top != oldRect.top;
  const bool sized = (newRect.right - newRect.left) != (oldRect.right - oldRect.left) ||
                     (newRect.bottom - newRect.top) != (oldRect.bottom - oldRect.top);
  if ((moved || sized) && w->parent && IsVisibleDeep(*w)) {
    // The area left behind shows the parent again.
    Window* p = Find(w->parent);
    gdi::Region old(oldRect);
    InvalidateWindow(*p, &old, true, true);
  }
  const SIZE oldClient{w->client.right - w->client.left, w->client.bottom - w->client.top};
  w->rect = newRect;
  ComputeClient(*w);
  const bool clientSized = oldClient.cx != w->client.right - w->client.left ||
                           oldClient.cy != w->client.bottom - w->client.top;
  if (!(flags & SWP_NOZORDER)) {
    if (w->parent) {
      auto& list = SiblingList(*w);
      list.erase(std::remove(list.begin(), list.end(), hwnd), list.end());
      size_t at = 0;
      if (insertAfter == HWND_BOTTOM) at = list.size();
      else if (insertAfter != HWND_TOP && insertAfter != HWND_TOPMOST && insertAfter != HWND_NOTOPMOST) {
        auto it = std::find(list.begin(), list.end(), insertAfter);
        at = it == list.end() ? 0 : size_t(it - list.begin()) + 1;
      }
      list.insert(list.begin() + long(at), hwnd);
    } else {
      if (insertAfter == HWND_TOPMOST) w->exStyle |= WS_EX_TOPMOST;
      if (insertAfter == HWND_NOTOPMOST) w->exStyle &= ~WS_EX_TOPMOST;
      PlaceTopLevel(*w, insertAfter);
    }
  }
  if (!w->parent) {
    if (sized) ReallocateSurface(*w);
    if ((moved || sized) && s.backend) s.backend->WindowMoved(hwnd, w->rect);
  }
  if (sized || (flags & SWP_FRAMECHANGED)) InvalidateWindow(*w, nullptr, true, true);
  else if (moved && w->parent) InvalidateWindow(*w, nullptr, true, true);
  if (flags & SWP_SHOWWINDOW) ShowWindow(hwnd, (flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
  if (flags & SWP_HIDEWINDOW) ShowWindow(hwnd, SW_HIDE);
  if ((w = Find(hwnd))) SendPosChange(*w, flags, sized || clientSized, moved);
  if (!(flags & (SWP_NOACTIVATE | SWP_NOZORDER)) && Find(hwnd) && !Find(hwnd)->parent &&
      (Find(hwnd)->style & WS_VISIBLE))
    Activate(hwnd, false);
  return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int w, int h, BOOL repaint) {
  return SetWindowPos(hwnd, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

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
  WINDOWPOS pos{hwnd, nullptr, int(w->rect.left), int(w->rect.top), int(w->rect.right - w->rect.left),
                int(w->rect.bottom - w->rect.top), UINT(SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER |
                                                        (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW))};
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

BOOL BringWindowToTop(HWND hwnd) { return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }
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
