// Filled shapes with curved or slanted edges: Ellipse, RoundRect and Polygon. Each pixel whose
// centre lies inside the shape is painted; the pen draws a band of its width along the edge of
// an ellipse or a rounded rectangle, and the polygon's edges as lines.
#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Raster.h"

using namespace platform::gdi;

namespace {

// A rectangle with elliptic corners in continuous coordinates: [left, right) x [top, bottom),
// corner radii rx, ry (an ellipse when they are half the size).
struct Rounded {
  double left, top, right, bottom, rx, ry;

  bool Contains(double px, double py) const {
    if (px < left || px >= right || py < top || py >= bottom) return false;
    if (rx <= 0 || ry <= 0) return true;
    double cx = px < left + rx ? left + rx : (px > right - rx ? right - rx : px);
    double cy = py < top + ry ? top + ry : (py > bottom - ry ? bottom - ry : py);
    if (cx == px || cy == py) return true;
    double dx = (px - cx) / rx, dy = (py - cy) / ry;
    return dx * dx + dy * dy <= 1.0;
  }
  Rounded Inset(double k) const { return {left + k, top + k, right - k, bottom - k, rx - k, ry - k}; }
};

BOOL DrawRounded(HDC hdc, int left, int top, int right, int bottom, double rx, double ry) {
  auto dc = FindDc(hdc);
  if (!dc) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  Bitmap* surface = dc->surface();
  if (!surface) return TRUE;
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  if (right - left <= 0 || bottom - top <= 0) return TRUE;
  rx = std::min(rx, (right - left) / 2.0);
  ry = std::min(ry, (bottom - top) / 2.0);
  const Rounded outer{double(left), double(top), double(right), double(bottom), rx, ry};
  auto* pen = static_cast<PenObject*>(dc->state().pen.get());
  const bool hasPen = pen && pen->pen.lopnStyle != PS_NULL;
  const int width = hasPen ? std::max<LONG>(1, pen->pen.lopnWidth.x) : 0;
  const Rounded inner = outer.Inset(width);
  const uint8_t rop = Rop2ToRop3(dc->state().rop2);
  const Pattern brush(*dc, *surface, nullptr);
  const Pattern ink = hasPen ? Pattern(*surface, ResolveColor(dc.get(), pen->pen.lopnColor)) : Pattern();
  const Region clip = dc->EffectiveClip();
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      const double px = x + 0.5, py = y + 0.5;
      if (!outer.Contains(px, py)) continue;
      const bool face = inner.Contains(px, py);
      if (!face)
        PlotSurface(*dc, clip, dc->SurfaceX(x), dc->SurfaceY(y), rop, ink);
      else if (!brush.none())
        PlotSurface(*dc, clip, dc->SurfaceX(x), dc->SurfaceY(y), rop, brush);
    }
  }
  return TRUE;
}

}  // namespace

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
  return DrawRounded(hdc, left, top, right, bottom, std::abs(right - left) / 2.0,
                     std::abs(bottom - top) / 2.0);
}

BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int width, int height) {
  return DrawRounded(hdc, left, top, right, bottom, std::max(width, 0) / 2.0, std::max(height, 0) / 2.0);
}

BOOL Polygon(HDC hdc, const POINT* points, int count) {
  if (!points || count < 2) return FALSE;
  auto dc = FindDc(hdc);
  if (!dc) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  Bitmap* surface = dc->surface();
  if (!surface) return TRUE;
  const Pattern brush(*dc, *surface, nullptr);
  if (!brush.none() && count >= 3) {
    // Alternate filling: a pixel centre is inside when a ray to its right crosses an odd number
    // of edges.
    LONG top = points[0].y, bottom = points[0].y;
    for (int i = 1; i < count; ++i) {
      top = std::min(top, points[i].y);
      bottom = std::max(bottom, points[i].y);
    }
    const uint8_t rop = Rop2ToRop3(dc->state().rop2);
    const Region clip = dc->EffectiveClip();
    std::vector<double> crossings;
    for (LONG y = top; y < bottom; ++y) {
      const double py = y + 0.5;
      crossings.clear();
      for (int i = 0; i < count; ++i) {
        const POINT a = points[i], b = points[(i + 1) % count];
        if ((a.y <= py) == (b.y <= py)) continue;
        crossings.push_back(a.x + (py - a.y) * double(b.x - a.x) / double(b.y - a.y));
      }
      std::sort(crossings.begin(), crossings.end());
      for (std::size_t k = 0; k + 1 < crossings.size(); k += 2) {
        const long from = std::lround(std::ceil(crossings[k] - 0.5));
        const long to = std::lround(std::ceil(crossings[k + 1] - 0.5));
        for (long x = from; x < to; ++x)
          PlotSurface(*dc, clip, dc->SurfaceX(int(x)), dc->SurfaceY(int(y)), rop, brush);
      }
    }
  }
  // The edges, closed, with the pen; the current position is left alone.
  POINT saved;
  MoveToEx(hdc, points[count - 1].x, points[count - 1].y, &saved);
  for (int i = 0; i < count; ++i) LineTo(hdc, points[i].x, points[i].y);
  MoveToEx(hdc, saved.x, saved.y, nullptr);
  return TRUE;
}
