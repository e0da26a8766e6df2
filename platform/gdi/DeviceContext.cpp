// Device contexts: creation, state, SaveDC/RestoreDC, viewport origin, clipping and the
// per-DC settings (colours, modes, mixes), plus the surface DCs the window system makes.
#include "platform/gdi/DeviceContext.h"

#include <algorithm>

#include "platform/gdi/Gdi.h"

namespace platform::gdi {

Bitmap* DeviceContext::surface() const { return surfaceShared().get(); }

std::shared_ptr<Bitmap> DeviceContext::surfaceShared() const {
  if (kind_ == Kind::Screen) return nullptr;
  if (kind_ == Kind::Window) return windowSurface_;
  if (!state_.bitmapObject) return nullptr;
  return static_cast<BitmapObject*>(state_.bitmapObject.get())->bitmap;
}

void DeviceContext::SetWindowSurface(std::shared_ptr<Bitmap> surface, POINT origin,
                                     std::optional<Region> visible) {
  windowSurface_ = std::move(surface);
  origin_ = origin;
  visible_ = std::move(visible);
}

RECT DeviceContext::SurfaceRect(const RECT& r) const {
  return {SurfaceX(r.left), SurfaceY(r.top), SurfaceX(r.right), SurfaceY(r.bottom)};
}

Region DeviceContext::EffectiveClip() const {
  Bitmap* s = surface();
  if (!s) return Region();
  Region clip(RECT{0, 0, s->width(), s->height()});
  if (visible_) {
    Region v = *visible_;
    v.Offset(origin_.x, origin_.y);
    clip = clip.Intersect(v);
  }
  if (state_.clip) {
    Region c = *state_.clip;
    c.Offset(origin_.x, origin_.y);
    clip = clip.Intersect(c);
  }
  return clip;
}

namespace {

void Retain(DcState& s, int delta) {
  for (auto* slot : {&s.pen, &s.brush, &s.font, &s.palette})
    if (*slot) (*slot)->selectCount += delta;
}

std::shared_ptr<DeviceContext> NewDc(DeviceContext::Kind kind) {
  auto dc = std::make_shared<DeviceContext>(kind);
  DcState& s = dc->state();
  s.pen = FindObject(StockHandle(BLACK_PEN));
  s.penHandle = StockHandle(BLACK_PEN);
  s.brush = FindObject(StockHandle(WHITE_BRUSH));
  s.brushHandle = StockHandle(WHITE_BRUSH);
  s.font = FindObject(StockHandle(SYSTEM_FONT));
  s.fontHandle = StockHandle(SYSTEM_FONT);
  s.palette = FindObject(StockHandle(DEFAULT_PALETTE));
  s.paletteHandle = StockHandle(DEFAULT_PALETTE);
  if (kind == DeviceContext::Kind::Memory) {
    s.bitmap = StockHandle(16);
    s.bitmapObject = FindObject(s.bitmap);
  }
  return dc;
}

HDC Insert(std::shared_ptr<DeviceContext> dc, DWORD type) {
  auto o = std::make_shared<DcObject>(type);
  o->dc = std::move(dc);
  return reinterpret_cast<HDC>(InsertObject(o));
}

}  // namespace

HDC CreateSurfaceDC(std::shared_ptr<Bitmap> surface, POINT origin, std::optional<Region> visible,
                    DeviceContext::Kind kind) {
  auto dc = NewDc(kind);
  dc->SetWindowSurface(std::move(surface), origin, std::move(visible));
  return Insert(dc, OBJ_DC);
}

void ResetSurfaceDC(HDC hdc, std::shared_ptr<Bitmap> surface, POINT origin, std::optional<Region> visible) {
  if (auto dc = FindDc(hdc)) dc->SetWindowSurface(std::move(surface), origin, std::move(visible));
}

Region* FindRegion(HRGN region) {
  auto r = Find<RegionObject>(region, OBJ_REGION);
  return r ? &r->region : nullptr;  // the table keeps the object alive while the handle lives
}

HRGN MakeRegionHandle(const Region& region) {
  auto r = std::make_shared<RegionObject>();
  r->region = region;
  return reinterpret_cast<HRGN>(InsertObject(r));
}

}  // namespace platform::gdi

using namespace platform::gdi;

namespace {

constexpr COLORREF kInvalid = CLR_INVALID;

template <class F, class R>
R WithDc(HDC hdc, R failure, F&& f) {
  auto dc = FindDc(hdc);
  if (!dc) {
    SetLastError(ERROR_INVALID_HANDLE);
    return failure;
  }
  return f(*dc);
}

}  // namespace

HDC CreateCompatibleDC(HDC) { return Insert(NewDc(DeviceContext::Kind::Memory), OBJ_MEMDC); }

BOOL DeleteDC(HDC hdc) {
  auto dc = FindDc(hdc);
  if (!dc) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  DcState& s = dc->state();
  Retain(s, -1);
  if (s.bitmapObject) static_cast<BitmapObject*>(s.bitmapObject.get())->bitmap->selectedInto = 0;
  for (DcState& saved : dc->saved()) saved = DcState();
  s = DcState();
  RemoveObject(reinterpret_cast<uintptr_t>(hdc));
  return TRUE;
}

int SaveDC(HDC hdc) {
  return WithDc(hdc, 0, [](DeviceContext& dc) {
    dc.saved().push_back(dc.state());
    return int(dc.saved().size());
  });
}

BOOL RestoreDC(HDC hdc, int which) {
  return WithDc(hdc, FALSE, [&](DeviceContext& dc) -> BOOL {
    auto& stack = dc.saved();
    const int n = int(stack.size());
    const int index = which < 0 ? n + which : which - 1;
    if (index < 0 || index >= n) return FALSE;
    DcState restored = stack[size_t(index)];
    stack.resize(size_t(index));
    DcState& s = dc.state();
    Retain(s, -1);
    if (s.bitmapObject) static_cast<BitmapObject*>(s.bitmapObject.get())->bitmap->selectedInto = 0;
    s = std::move(restored);
    Retain(s, +1);
    if (s.bitmapObject && !s.bitmapObject->stock)
      static_cast<BitmapObject*>(s.bitmapObject.get())->bitmap->selectedInto =
          reinterpret_cast<uintptr_t>(hdc);
    return TRUE;
  });
}

BOOL SetViewportOrgEx(HDC hdc, int x, int y, POINT* previous) {
  return WithDc(hdc, FALSE, [&](DeviceContext& dc) {
    if (previous) *previous = dc.state().viewportOrg;
    dc.state().viewportOrg = {x, y};
    return TRUE;
  });
}

BOOL GetViewportOrgEx(HDC hdc, POINT* out) {
  return WithDc(hdc, FALSE, [&](DeviceContext& dc) {
    if (out) *out = dc.state().viewportOrg;
    return TRUE;
  });
}

BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, POINT* previous) {
  return WithDc(hdc, FALSE, [&](DeviceContext& dc) {
    if (previous) *previous = dc.state().viewportOrg;
    dc.state().viewportOrg.x += dx;
    dc.state().viewportOrg.y += dy;
    return TRUE;
  });
}

int SetMapMode(HDC hdc, int mode) {
  return WithDc(hdc, 0, [&](DeviceContext&) {
    if (mode != MM_TEXT) {
      SetLastError(ERROR_NOT_SUPPORTED);
      return 0;
    }
    return MM_TEXT;
  });
}

int GetMapMode(HDC hdc) {
  return WithDc(hdc, 0, [](DeviceContext&) { return MM_TEXT; });
}

namespace {

// The area a DC can draw in, in device coordinates, before its own clip region.
Region DeviceArea(const DeviceContext& dc) {
  if (dc.visible()) return *dc.visible();
  if (Bitmap* s = dc.surface())
    return Region(
        RECT{-dc.origin().x, -dc.origin().y, s->width() - dc.origin().x, s->height() - dc.origin().y});
  return Region(RECT{-0x3FFFFFF, -0x3FFFFFF, 0x3FFFFFF, 0x3FFFFFF});
}

int ApplyClip(DeviceContext& dc, const RECT& logical, int mode) {
  const POINT o = dc.state().viewportOrg;
  const Region r(RECT{logical.left + o.x, logical.top + o.y, logical.right + o.x, logical.bottom + o.y});
  const Region base = dc.state().clip ? *dc.state().clip : DeviceArea(dc);
  dc.state().clip = Region::Combine(base, r, mode);
  return dc.state().clip->Complexity();
}

}  // namespace

int IntersectClipRect(HDC hdc, int l, int t, int r, int b) {
  return WithDc(hdc, ERROR, [&](DeviceContext& dc) { return ApplyClip(dc, {l, t, r, b}, RGN_AND); });
}

int ExcludeClipRect(HDC hdc, int l, int t, int r, int b) {
  return WithDc(hdc, ERROR, [&](DeviceContext& dc) { return ApplyClip(dc, {l, t, r, b}, RGN_DIFF); });
}

int SelectClipRgn(HDC hdc, HRGN region) {
  return WithDc(hdc, ERROR, [&](DeviceContext& dc) {
    if (!region) {
      dc.state().clip.reset();
      return SIMPLEREGION;
    }
    Region* r = FindRegion(region);
    if (!r) return ERROR;
    dc.state().clip = *r;
    return r->Complexity();
  });
}

int GetClipBox(HDC hdc, RECT* out) {
  return WithDc(hdc, ERROR, [&](DeviceContext& dc) {
    Region area = DeviceArea(dc);
    if (dc.state().clip) area = area.Intersect(*dc.state().clip);
    RECT b = area.Bounds();
    const POINT o = dc.state().viewportOrg;
    if (out) *out = {b.left - o.x, b.top - o.y, b.right - o.x, b.bottom - o.y};
    return area.Complexity();
  });
}

#define MMS_DC_SETTING(Setter, Getter, Type, field, failure)                                      \
  Type Setter(HDC hdc, Type value) {                                                              \
    return WithDc(hdc, Type(failure), [&](DeviceContext& dc) {                                    \
      const Type previous = Type(dc.state().field);                                               \
      dc.state().field = value;                                                                   \
      return previous;                                                                            \
    });                                                                                           \
  }                                                                                               \
  Type Getter(HDC hdc) {                                                                          \
    return WithDc(hdc, Type(failure), [&](DeviceContext& dc) { return Type(dc.state().field); }); \
  }

MMS_DC_SETTING(SetBkColor, GetBkColor, COLORREF, bkColor, kInvalid)
MMS_DC_SETTING(SetTextColor, GetTextColor, COLORREF, textColor, kInvalid)
MMS_DC_SETTING(SetTextAlign, GetTextAlign, UINT, textAlign, 0xFFFFFFFF)
#undef MMS_DC_SETTING

int SetBkMode(HDC hdc, int mode) {
  return WithDc(hdc, 0, [&](DeviceContext& dc) {
    if (mode != TRANSPARENT && mode != OPAQUE) return 0;
    const int previous = dc.state().bkMode;
    dc.state().bkMode = mode;
    return previous;
  });
}
int GetBkMode(HDC hdc) {
  return WithDc(hdc, 0, [](DeviceContext& dc) { return dc.state().bkMode; });
}
int SetROP2(HDC hdc, int mix) {
  return WithDc(hdc, 0, [&](DeviceContext& dc) {
    if (mix < R2_BLACK || mix > R2_WHITE) return 0;
    const int previous = dc.state().rop2;
    dc.state().rop2 = mix;
    return previous;
  });
}
int GetROP2(HDC hdc) {
  return WithDc(hdc, 0, [](DeviceContext& dc) { return dc.state().rop2; });
}
int SetStretchBltMode(HDC hdc, int mode) {
  return WithDc(hdc, 0, [&](DeviceContext& dc) {
    if (mode < BLACKONWHITE || mode > HALFTONE) return 0;
    const int previous = dc.state().stretchMode;
    dc.state().stretchMode = mode;
    return previous;
  });
}
int GetStretchBltMode(HDC hdc) {
  return WithDc(hdc, 0, [](DeviceContext& dc) { return dc.state().stretchMode; });
}

BOOL GetCurrentPositionEx(HDC hdc, POINT* out) {
  return WithDc(hdc, FALSE, [&](DeviceContext& dc) {
    if (out) *out = dc.state().position;
    return TRUE;
  });
}

namespace platform::gdi {
SIZE& ScreenSize() {
  static SIZE size{1280, 800};
  return size;
}
}  // namespace platform::gdi

int GetDeviceCaps(HDC hdc, int index) {
  return WithDc(hdc, 0, [&](DeviceContext&) {
    switch (index) {
      case HORZRES:
        return int(ScreenSize().cx);
      case VERTRES:
        return int(ScreenSize().cy);
      case BITSPIXEL:
        return 32;
      case PLANES:
        return 1;
      case NUMCOLORS:
        return -1;
      case RASTERCAPS:
        return 0x0001 | 0x0008 | 0x0800;  // bitblt, bitmap64, dibtodev; no RC_PALETTE
      case LOGPIXELSX:
      case LOGPIXELSY:
        return 96;
      case SIZEPALETTE:
        return 0;
      case NUMRESERVED:
        return 20;
      default:
        return 0;
    }
  });
}
