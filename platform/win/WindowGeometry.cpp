// Where windows are and in what order: the non-client frame, window and client rectangles,
// mapping points between windows and the screen, hit testing, moving and sizing with the
// position messages, and the z-order of siblings and of top-level windows.
#include <algorithm>

#include "platform/win/WindowSystem.h"

namespace platform::win {

namespace {

RECT Offset(RECT r, int dx, int dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

}  // namespace

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

bool HasFrame(const Window& w) {
  const RECT nc = NonClient(w);
  return nc.left || nc.top || nc.right || nc.bottom;
}

void ComputeClient(Window& w) {
  const RECT nc = NonClient(w);
  w.client = {w.rect.left + nc.left, w.rect.top + nc.top,
              std::max(w.rect.left + nc.left, w.rect.right - nc.right),
              std::max(w.rect.top + nc.top, w.rect.bottom - nc.bottom)};
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
  WINDOWPOS pos{h,
                nullptr,
                int(w.rect.left),
                int(w.rect.top),
                int(w.rect.right - w.rect.left),
                int(w.rect.bottom - w.rect.top),
                flags};
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

}  // namespace platform::win

using namespace platform::win;
namespace gdi = platform::gdi;

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
  const bool clientSized =
      oldClient.cx != w->client.right - w->client.left || oldClient.cy != w->client.bottom - w->client.top;
  if (!(flags & SWP_NOZORDER)) {
    if (w->parent) {
      auto& list = SiblingList(*w);
      list.erase(std::remove(list.begin(), list.end(), hwnd), list.end());
      size_t at = 0;
      if (insertAfter == HWND_BOTTOM)
        at = list.size();
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
  if (sized || (flags & SWP_FRAMECHANGED))
    InvalidateWindow(*w, nullptr, true, true);
  else if (moved && w->parent)
    InvalidateWindow(*w, nullptr, true, true);
  if (flags & SWP_SHOWWINDOW) ShowWindow(hwnd, (flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
  if (flags & SWP_HIDEWINDOW) ShowWindow(hwnd, SW_HIDE);
  if ((w = Find(hwnd))) SendPosChange(*w, flags, sized || clientSized, moved);
  if (!(flags & (SWP_NOACTIVATE | SWP_NOZORDER)) && Find(hwnd) && !Find(hwnd)->parent &&
      (Find(hwnd)->style & WS_VISIBLE))
    Activate(hwnd, false);
  return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int w, int h, BOOL repaint) {
  return SetWindowPos(hwnd, nullptr, x, y, w, h,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND hwnd) { return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }
