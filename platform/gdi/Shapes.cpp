// Pens, brushes and what they draw: FillRect, FrameRect, InvertRect, DrawFocusRect, Rectangle,
// lines, polylines and single pixels.
#include <algorithm>
#include <cstring>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Raster.h"

using namespace platform::gdi;

namespace {

template <class R, class F>
R WithSurface(HDC hdc, R failure, F&& f) {
  auto dc = FindDc(hdc);
  if (!dc) {
    SetLastError(ERROR_INVALID_HANDLE);
    return failure;
  }
  return f(*dc, dc->surface());
}

// A brush handle, or a system colour given the classic way as (COLOR_x + 1).
std::shared_ptr<BrushObject> ResolveBrush(HBRUSH brush) {
  const uintptr_t v = reinterpret_cast<uintptr_t>(brush);
  if (v > 0 && v <= 31) brush = GetSysColorBrush(int(v - 1));
  return Find<BrushObject>(brush, OBJ_BRUSH);
}

std::shared_ptr<Bitmap> HatchPattern(int hatch) {
  static const uint8_t rows[6][8] = {
      {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0xFF, 0xFF, 0xFF},  // horizontal
      {0xF7, 0xF7, 0xF7, 0xF7, 0xF7, 0xF7, 0xF7, 0xF7},  // vertical
      {0x7F, 0xBF, 0xDF, 0xEF, 0xF7, 0xFB, 0xFD, 0xFE},  // forward diagonal
      {0xFE, 0xFD, 0xFB, 0xF7, 0xEF, 0xDF, 0xBF, 0x7F},  // backward diagonal
      {0xF7, 0xF7, 0xF7, 0xF7, 0x00, 0xF7, 0xF7, 0xF7},  // cross
      {0x7E, 0xBD, 0xDB, 0xE7, 0xE7, 0xDB, 0xBD, 0x7E},  // diagonal cross
  };
  auto b = Bitmap::CreateMono(8, 8);
  for (int y = 0; y < 8; ++y) b->Row(y)[0] = rows[hatch][y];
  return b;
}

// Dash patterns in pixels, on/off alternating, starting "on".
const std::vector<int>& DashPattern(UINT style) {
  static const std::vector<int> solid{}, dash{6, 2}, dot{1, 1}, dashDot{6, 2, 1, 2},
      dashDotDot{6, 2, 1, 2, 1, 2};
  switch (style) {
    case PS_DASH:
      return dash;
    case PS_DOT:
      return dot;
    case PS_DASHDOT:
      return dashDot;
    case PS_DASHDOTDOT:
      return dashDotDot;
    default:
      return solid;
  }
}

// Rounds n/m (m > 0) to the nearest integer, halves going down.
long RoundHalfDown(long n, long m) {
  const long num = 2 * n - m;  // ceil((2n - m) / 2m)
  const long den = 2 * m;
  return num >= 0 ? (num + den - 1) / den : -((-num) / den);
}

// Draws from (x0, y0) up to but not including (x1, y1), in surface coordinates.
void DrawLine(DeviceContext& dc, int x0, int y0, int x1, int y1) {
  auto* pen = static_cast<PenObject*>(dc.state().pen.get());
  Bitmap* surface = dc.surface();
  if (!pen || !surface || pen->pen.lopnStyle == PS_NULL) return;
  const Pattern color(*surface, ResolveColor(&dc, pen->pen.lopnColor));
  const uint8_t rop = Rop2ToRop3(dc.state().rop2);
  const Region clip = dc.EffectiveClip();
  const auto& dashes = DashPattern(pen->pen.lopnStyle);
  const long dx = x1 - x0, dy = y1 - y0;
  const long steps = std::max(std::labs(dx), std::labs(dy));
  size_t dashIndex = 0;
  int dashLeft = dashes.empty() ? 0 : dashes[0];
  for (long i = 0; i < steps; ++i) {
    long x, y;
    if (std::labs(dx) >= std::labs(dy)) {
      x = x0 + (dx > 0 ? i : -i);
      y = y0 + RoundHalfDown(i * dy, std::labs(dx));
    } else {
      y = y0 + (dy > 0 ? i : -i);
      x = x0 + RoundHalfDown(i * dx, std::labs(dy));
    }
    const bool on = dashes.empty() || (dashIndex % 2 == 0);
    if (on) PlotSurface(dc, clip, int(x), int(y), rop, color);
    if (!dashes.empty() && --dashLeft == 0) {
      dashIndex = (dashIndex + 1) % dashes.size();
      dashLeft = dashes[dashIndex];
    }
  }
}

}  // namespace

HPEN CreatePen(int style, int width, COLORREF color) {
  if (style < 0 || style > int(PS_INSIDEFRAME)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto p = std::make_shared<PenObject>();
  p->pen = {UINT(style), {width, 0}, color};
  return reinterpret_cast<HPEN>(InsertObject(p));
}

HPEN CreatePenIndirect(const LOGPEN* pen) {
  if (!pen) return nullptr;
  return CreatePen(int(pen->lopnStyle), pen->lopnWidth.x, pen->lopnColor);
}

HBRUSH CreateSolidBrush(COLORREF color) {
  auto b = std::make_shared<BrushObject>();
  b->color = color;
  return reinterpret_cast<HBRUSH>(InsertObject(b));
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
  if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto b = std::make_shared<BrushObject>();
  b->style = BS_HATCHED;
  b->color = color;
  b->hatch = hatch;
  b->pattern = HatchPattern(hatch);
  return reinterpret_cast<HBRUSH>(InsertObject(b));
}

HBRUSH CreatePatternBrush(HBITMAP bitmap) {
  auto source = FindBitmap(bitmap);
  if (!source) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  auto b = std::make_shared<BrushObject>();
  b->style = BS_PATTERN;
  // The brush keeps its own copy: later changes to the bitmap do not change it.
  auto copy = source->isMonoDdb() ? Bitmap::CreateMono(source->width(), source->height())
                                  : Bitmap::CreateSurface(source->width(), source->height());
  for (int y = 0; y < source->height(); ++y)
    for (int x = 0; x < source->width(); ++x)
      copy->SetRaw(x, y,
                   source->isMonoDdb() ? source->GetRaw(x, y)
                                       : copy->ColorToRaw(source->RawToColor(source->GetRaw(x, y))));
  b->pattern = copy;
  return reinterpret_cast<HBRUSH>(InsertObject(b));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) {
  if (!brush) return nullptr;
  switch (brush->lbStyle) {
    case BS_SOLID:
      return CreateSolidBrush(brush->lbColor);
    case BS_NULL: {
      auto b = std::make_shared<BrushObject>();
      b->style = BS_NULL;
      return reinterpret_cast<HBRUSH>(InsertObject(b));
    }
    case BS_HATCHED:
      return CreateHatchBrush(int(brush->lbHatch), brush->lbColor);
    case BS_PATTERN:
      return CreatePatternBrush(reinterpret_cast<HBITMAP>(brush->lbHatch));
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
  }
}

int FillRect(HDC hdc, const RECT* rect, HBRUSH brush) {
  return WithSurface(hdc, 0, [&](DeviceContext& dc, Bitmap* surface) {
    auto b = ResolveBrush(brush);
    if (!rect || !b) return 0;
    if (!surface) return 1;
    FillSurface(dc, dc.SurfaceRect(*rect), 0xF0, Pattern(dc, *surface, b.get()));
    return 1;
  });
}

int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush) {
  return WithSurface(hdc, 0, [&](DeviceContext& dc, Bitmap* surface) {
    auto b = ResolveBrush(brush);
    if (!rect || !b) return 0;
    if (!surface || rect->left >= rect->right || rect->top >= rect->bottom) return 1;
    const Pattern p(dc, *surface, b.get());
    const RECT r = dc.SurfaceRect(*rect);
    FillSurface(dc, {r.left, r.top, r.right, r.top + 1}, 0xF0, p);
    FillSurface(dc, {r.left, r.bottom - 1, r.right, r.bottom}, 0xF0, p);
    FillSurface(dc, {r.left, r.top + 1, r.left + 1, r.bottom - 1}, 0xF0, p);
    FillSurface(dc, {r.right - 1, r.top + 1, r.right, r.bottom - 1}, 0xF0, p);
    return 1;
  });
}

BOOL InvertRect(HDC hdc, const RECT* rect) {
  return WithSurface(hdc, FALSE, [&](DeviceContext& dc, Bitmap*) {
    if (!rect) return FALSE;
    FillSurface(dc, dc.SurfaceRect(*rect), 0x55, Pattern());
    return TRUE;
  });
}

BOOL DrawFocusRect(HDC hdc, const RECT* rect) {
  return WithSurface(hdc, FALSE, [&](DeviceContext& dc, Bitmap* surface) {
    if (!rect) return FALSE;
    if (!surface) return TRUE;
    const RECT r = dc.SurfaceRect(*rect);
    if (r.left >= r.right || r.top >= r.bottom) return TRUE;
    const Region clip = dc.EffectiveClip();
    auto plot = [&](int x, int y) {
      if (((x + y) & 1) == 0) PlotSurface(dc, clip, x, y, 0x55, Pattern());
    };
    for (int x = r.left; x < r.right; ++x) {
      plot(x, r.top);
      if (r.bottom - 1 > r.top) plot(x, r.bottom - 1);
    }
    for (int y = r.top + 1; y < r.bottom - 1; ++y) {
      plot(r.left, y);
      if (r.right - 1 > r.left) plot(r.right - 1, y);
    }
    return TRUE;
  });
}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
  return WithSurface(hdc, FALSE, [&](DeviceContext& dc, Bitmap* surface) {
    if (!surface) return TRUE;
    RECT r = dc.SurfaceRect(
        {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)});
    const uint8_t rop = Rop2ToRop3(dc.state().rop2);
    auto* pen = static_cast<PenObject*>(dc.state().pen.get());
    const bool hasPen = pen && pen->pen.lopnStyle != PS_NULL;
    const Pattern brush(dc, *surface, nullptr);
    if (!hasPen) {
      FillSurface(dc, {r.left, r.top, r.right - 1, r.bottom - 1}, rop, brush);
      return TRUE;
    }
    const int width = std::max<LONG>(1, pen->pen.lopnWidth.x);
    const Pattern color(*surface, ResolveColor(&dc, pen->pen.lopnColor));
    if (pen->pen.lopnStyle == PS_SOLID || pen->pen.lopnStyle == PS_INSIDEFRAME) {
      for (int i = 0; i < width; ++i) {
        const RECT e{r.left + i, r.top + i, r.right - i, r.bottom - i};
        if (e.left >= e.right || e.top >= e.bottom) break;
        FillSurface(dc, {e.left, e.top, e.right, e.top + 1}, rop, color);
        if (e.bottom - 1 > e.top) FillSurface(dc, {e.left, e.bottom - 1, e.right, e.bottom}, rop, color);
        FillSurface(dc, {e.left, e.top + 1, e.left + 1, e.bottom - 1}, rop, color);
        if (e.right - 1 > e.left)
          FillSurface(dc, {e.right - 1, e.top + 1, e.right, e.bottom - 1}, rop, color);
      }
    } else {
      DrawLine(dc, r.left, r.top, r.right - 1, r.top);
      DrawLine(dc, r.right - 1, r.top, r.right - 1, r.bottom - 1);
      DrawLine(dc, r.right - 1, r.bottom - 1, r.left, r.bottom - 1);
      DrawLine(dc, r.left, r.bottom - 1, r.left, r.top);
    }
    FillSurface(dc, {r.left + width, r.top + width, r.right - width, r.bottom - width}, rop, brush);
    return TRUE;
  });
}

BOOL MoveToEx(HDC hdc, int x, int y, POINT* previous) {
  return WithSurface(hdc, FALSE, [&](DeviceContext& dc, Bitmap*) {
    if (previous) *previous = dc.state().position;
    dc.state().position = {x, y};
    return TRUE;
  });
}

BOOL LineTo(HDC hdc, int x, int y) {
  return WithSurface(hdc, FALSE, [&](DeviceContext& dc, Bitmap*) {
    const POINT from = dc.state().position;
    DrawLine(dc, dc.SurfaceX(from.x), dc.SurfaceY(from.y), dc.SurfaceX(x), dc.SurfaceY(y));
    dc.state().position = {x, y};
    return TRUE;
  });
}

BOOL Polyline(HDC hdc, const POINT* points, int count) {
  if (!points || count < 2) return FALSE;
  POINT saved;
  if (!MoveToEx(hdc, points[0].x, points[0].y, &saved)) return FALSE;
  for (int i = 1; i < count; ++i) LineTo(hdc, points[i].x, points[i].y);
  MoveToEx(hdc, saved.x, saved.y, nullptr);
  return TRUE;
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
  return WithSurface(hdc, CLR_INVALID, [&](DeviceContext& dc, Bitmap* surface) -> COLORREF {
    if (!surface) return CLR_INVALID;
    const int sx = dc.SurfaceX(x), sy = dc.SurfaceY(y);
    if (!dc.EffectiveClip().Contains(sx, sy)) return CLR_INVALID;
    const uint32_t raw = surface->ColorToRaw(ResolveColor(&dc, color));
    surface->SetRaw(sx, sy, raw & surface->RawMask());
    return surface->RawToColor(raw);
  });
}

BOOL SetPixelV(HDC hdc, int x, int y, COLORREF color) { return SetPixel(hdc, x, y, color) != CLR_INVALID; }

COLORREF GetPixel(HDC hdc, int x, int y) {
  return WithSurface(hdc, CLR_INVALID, [&](DeviceContext& dc, Bitmap* surface) -> COLORREF {
    if (!surface) return CLR_INVALID;
    const int sx = dc.SurfaceX(x), sy = dc.SurfaceY(y);
    if (!dc.EffectiveClip().Contains(sx, sy)) return CLR_INVALID;
    return surface->RawToColor(surface->GetRaw(sx, sy));
  });
}
