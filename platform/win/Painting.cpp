// Update regions, WM_PAINT scheduling (parents before children), BeginPaint/EndPaint, window
// DCs clipped to the visible area, top-level surfaces and telling the backend what changed.
#include <algorithm>

#include "platform/gdi/WindowDrawing.h"
#include "platform/win/WindowSystem.h"

namespace platform::win {

namespace {

RECT ClientBox(const Window& w) {
  return {0, 0, w.client.right - w.client.left, w.client.bottom - w.client.top};
}

// Where the coordinate space of a window's rectangles (its parent's client area) lies on the surface.
POINT ParentOriginOnSurface(const Window& w) {
  if (!w.parent) return {-w.client.left, -w.client.top};
  const Window* p = Find(w.parent);
  return p ? ClientOriginOnSurface(*p) : POINT{0, 0};
}

gdi::Region Shifted(RECT r, POINT by) {
  return gdi::Region(RECT{r.left + by.x, r.top + by.y, r.right + by.x, r.bottom + by.y});
}

void PaintNow(HWND hwnd, bool children) {
  Window* w = Find(hwnd);
  if (!w) return;
  if (IsVisibleDeep(*w) && (!w->update.IsEmpty() || w->internalPaint)) SendTo(hwnd, WM_PAINT, 0, 0, true);
  if (!children || !(w = Find(hwnd))) return;
  for (HWND c : std::vector<HWND>(w->children)) PaintNow(c, true);
}

}  // namespace

void PaintNowFor(HWND hwnd) { PaintNow(hwnd, true); }

gdi::Region VisibleRegion(const Window& w, bool clientOnly) {
  if (!IsVisibleDeep(w)) return gdi::Region();
  const POINT base = ParentOriginOnSurface(w);
  gdi::Region region = Shifted(clientOnly ? w.client : w.rect, base);
  if (w.shape) {
    gdi::Region shape = *w.shape;
    shape.Offset(w.rect.left + base.x, w.rect.top + base.y);
    region = region.Intersect(shape);
  }
  const Window* cur = &w;
  while (cur->parent) {
    const Window* parent = Find(cur->parent);
    if (!parent) break;
    region = region.Intersect(Shifted(parent->client, ParentOriginOnSurface(*parent)));
    if (cur->style & WS_CLIPSIBLINGS) {
      const POINT origin = ParentOriginOnSurface(*cur);
      for (HWND sibling : parent->children) {
        if (sibling == cur->handle) break;  // only those above
        const Window* s = Find(sibling);
        if (s && (s->style & WS_VISIBLE)) region = region.Subtract(Shifted(s->rect, origin));
      }
    }
    cur = parent;
  }
  if (clientOnly && (w.style & WS_CLIPCHILDREN)) {
    const POINT origin = ClientOriginOnSurface(w);
    for (HWND c : w.children) {
      const Window* child = Find(c);
      if (child && (child->style & WS_VISIBLE)) region = region.Subtract(Shifted(child->rect, origin));
    }
  }
  return region;
}

void InvalidateWindow(Window& w, const gdi::Region* clientArea, bool erase, bool children) {
  if (!clientArea && HasFrame(w)) w.frameDirty = true;
  gdi::Region area(ClientBox(w));
  if (clientArea) area = area.Intersect(*clientArea);
  if (area.IsEmpty()) return;
  w.update = w.update.Union(area);
  if (erase) w.erase = true;
  if (!children && (w.style & WS_CLIPCHILDREN)) return;
  for (HWND c : w.children) {
    Window* child = Find(c);
    if (!child) continue;
    gdi::Region part = area.Intersect(gdi::Region(child->rect));
    if (part.IsEmpty()) continue;
    part.Offset(-child->client.left, -child->client.top);
    InvalidateWindow(*child, &part, erase, children);
  }
}

HWND NextWindowToPaint() {
  std::function<HWND(HWND)> walk = [&](HWND h) -> HWND {
    Window* w = Find(h);
    if (!w || !(w->style & WS_VISIBLE)) return nullptr;
    if (!w->update.IsEmpty() || w->internalPaint || w->frameDirty) return h;
    for (HWND c : w->children)
      if (HWND found = walk(c)) return found;
    return nullptr;
  };
  for (HWND t : S().topLevels)
    if (HWND found = walk(t)) return found;
  return nullptr;
}

void MarkDirty(const Window& w, const RECT& r) {
  Window* top = Find(TopLevelOf(w.handle));
  if (top && r.left < r.right && r.top < r.bottom) top->dirty.push_back(r);
}

void PresentDirty() {
  State& s = S();
  for (HWND t : s.topLevels) {
    Window* w = Find(t);
    if (!w || w->dirty.empty()) continue;
    std::vector<RECT> rects;
    rects.swap(w->dirty);
    if (s.backend) s.backend->Present(t, w->surface, rects);
  }
}

void ReallocateSurface(Window& w) {
  const int width = std::max<LONG>(1, w.client.right - w.client.left);
  const int height = std::max<LONG>(1, w.client.bottom - w.client.top);
  w.surface = gdi::CreateWindowSurface(width, height);
  w.update = gdi::Region(ClientBox(w));
  w.erase = true;
}

std::shared_ptr<gdi::Bitmap> WindowSurface(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w || w->parent) return nullptr;
  return w->surface;
}

}  // namespace platform::win

using namespace platform::win;
namespace gdi = platform::gdi;

namespace {

HDC SurfaceDc(Window& w, bool clientOnly, const gdi::Region* clientClip) {
  Window* top = Find(TopLevelOf(w.handle));
  if (!top) return nullptr;
  const POINT origin = clientOnly ? ClientOriginOnSurface(w) : [&] {
    POINT base = w.parent ? ClientOriginOnSurface(*Find(w.parent)) : POINT{0, 0};
    if (!w.parent) return POINT{0, 0};
    return POINT{base.x + w.rect.left, base.y + w.rect.top};
  }();
  gdi::Region vis = VisibleRegion(w, clientOnly);
  MarkDirty(w, vis.Bounds());
  vis.Offset(-origin.x, -origin.y);
  if (clientClip) vis = vis.Intersect(*clientClip);
  return gdi::CreateWindowSurfaceDC(top->surface, origin, vis);
}

}  // namespace

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
  if (!hwnd) {
    for (HWND t : S().topLevels) InvalidateRect(t, nullptr, erase);
    return TRUE;
  }
  Window* w = Find(hwnd);
  if (!w) return FALSE;
  if (rect) {
    gdi::Region r(*rect);
    InvalidateWindow(*w, &r, erase, false);
  } else {
    InvalidateWindow(*w, nullptr, erase, false);
  }
  return TRUE;
}

BOOL InvalidateRgn(HWND hwnd, HRGN region, BOOL erase) {
  Window* w = Find(hwnd);
  if (!w) return FALSE;
  gdi::Region* r = region ? gdi::FindRegion(region) : nullptr;
  InvalidateWindow(*w, r, erase, false);
  return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
  Window* w = Find(hwnd);
  if (!w) return FALSE;
  if (rect)
    w->update = w->update.Subtract(gdi::Region(*rect));
  else
    w->update = gdi::Region();
  if (w->update.IsEmpty()) w->erase = false;
  w->internalPaint = false;
  return TRUE;
}

BOOL ValidateRgn(HWND hwnd, HRGN region) {
  Window* w = Find(hwnd);
  if (!w) return FALSE;
  gdi::Region* r = region ? gdi::FindRegion(region) : nullptr;
  w->update = r ? w->update.Subtract(*r) : gdi::Region();
  if (w->update.IsEmpty()) w->erase = false;
  return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, RECT* out, BOOL) {
  Window* w = Find(hwnd);
  if (!w) return FALSE;
  if (out) *out = w->update.Bounds();
  return !w->update.IsEmpty();
}

int GetUpdateRgn(HWND hwnd, HRGN out, BOOL) {
  Window* w = Find(hwnd);
  gdi::Region* r = gdi::FindRegion(out);
  if (!w || !r) return ERROR;
  *r = w->update;
  return r->Complexity();
}

BOOL UpdateWindow(HWND hwnd) {
  if (!Find(hwnd)) return FALSE;
  platform::win::PaintNowFor(hwnd);
  return TRUE;
}

BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN region, UINT flags) {
  Window* w = Find(hwnd);
  if (!w) return FALSE;
  gdi::Region area =
      region && gdi::FindRegion(region) ? *gdi::FindRegion(region)
      : rect                            ? gdi::Region(*rect)
             : gdi::Region(RECT{0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top});
  const bool children =
      (flags & RDW_ALLCHILDREN) || (!(flags & RDW_NOCHILDREN) && !(w->style & WS_CLIPCHILDREN));
  if (flags & RDW_INVALIDATE) InvalidateWindow(*w, &area, (flags & RDW_ERASE) != 0, children);
  if ((flags & RDW_INVALIDATE) && (flags & RDW_FRAME) && HasFrame(*w)) w->frameDirty = true;
  if (flags & RDW_INTERNALPAINT) w->internalPaint = true;
  if (flags & RDW_VALIDATE) {
    w->update = w->update.Subtract(area);
    if (flags & RDW_NOINTERNALPAINT) w->internalPaint = false;
  }
  if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) PaintNowFor(hwnd);
  return TRUE;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
  Window* w = Find(hwnd);
  if (!w || !ps) return nullptr;
  const gdi::Region update = w->update;
  const bool erase = w->erase;
  w->update = gdi::Region();
  w->erase = false;
  w->internalPaint = false;
  HDC dc = SurfaceDc(*w, true, &update);
  *ps = PAINTSTRUCT{};
  ps->hdc = dc;
  ps->rcPaint = update.Bounds();
  if (erase && dc) ps->fErase = SendTo(hwnd, WM_ERASEBKGND, WPARAM(Value(dc)), 0, true) ? FALSE : TRUE;
  return dc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* ps) {
  if (ps && ps->hdc) DeleteDC(ps->hdc);
  return TRUE;
}

HDC GetDC(HWND hwnd) {
  if (!hwnd) return platform::gdi::CreateScreenDC();
  Window* w = Find(hwnd);
  return w ? SurfaceDc(*w, true, nullptr) : nullptr;
}

HDC GetWindowDC(HWND hwnd) {
  if (!hwnd) return GetDC(nullptr);
  Window* w = Find(hwnd);
  return w ? SurfaceDc(*w, false, nullptr) : nullptr;
}

int ReleaseDC(HWND, HDC dc) { return DeleteDC(dc) ? 1 : 0; }
