// Region handles: creation, combination, queries and the exact rectangle dump of GetRegionData.
#include <cstring>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Raster.h"

using namespace platform::gdi;

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  return MakeRegionHandle(Region(RECT{left, top, right, bottom}));
}

HRGN CreateRectRgnIndirect(const RECT* rect) {
  if (!rect) return nullptr;
  return CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom) {
  Region* r = FindRegion(region);
  if (!r) return FALSE;
  *r = Region(RECT{left, top, right, bottom});
  return TRUE;
}

int CombineRgn(HRGN dst, HRGN a, HRGN b, int mode) {
  Region* d = FindRegion(dst);
  Region* ra = FindRegion(a);
  Region* rb = mode == RGN_COPY ? ra : FindRegion(b);
  if (!d || !ra || !rb || mode < RGN_AND || mode > RGN_COPY) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return ERROR;
  }
  *d = Region::Combine(*ra, *rb, mode);
  return d->Complexity();
}

int OffsetRgn(HRGN region, int dx, int dy) {
  Region* r = FindRegion(region);
  if (!r) return ERROR;
  r->Offset(dx, dy);
  return r->Complexity();
}

BOOL PtInRegion(HRGN region, int x, int y) {
  Region* r = FindRegion(region);
  return r && r->Contains(x, y);
}

BOOL RectInRegion(HRGN region, const RECT* rect) {
  Region* r = FindRegion(region);
  return r && rect && r->Intersects(*rect);
}

int GetRgnBox(HRGN region, RECT* out) {
  Region* r = FindRegion(region);
  if (!r || !out) return ERROR;
  *out = r->Bounds();
  return r->Complexity();
}

BOOL EqualRgn(HRGN a, HRGN b) {
  Region* ra = FindRegion(a);
  Region* rb = FindRegion(b);
  return ra && rb && *ra == *rb;
}

DWORD GetRegionData(HRGN region, DWORD size, RGNDATA* out) {
  Region* r = FindRegion(region);
  if (!r) return 0;
  const DWORD needed = DWORD(sizeof(RGNDATAHEADER) + r->rects().size() * sizeof(RECT));
  if (!out) return needed;
  if (size < needed) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  RGNDATAHEADER h{sizeof(RGNDATAHEADER), RDH_RECTANGLES, DWORD(r->rects().size()),
                  DWORD(r->rects().size() * sizeof(RECT)), r->Bounds()};
  std::memcpy(out, &h, sizeof h);
  if (!r->rects().empty()) std::memcpy(out->Buffer, r->rects().data(), r->rects().size() * sizeof(RECT));
  return needed;
}

HRGN ExtCreateRegion(const void* transform, DWORD size, const RGNDATA* data) {
  if (transform || !data || size < sizeof(RGNDATAHEADER) || data->rdh.dwSize != sizeof(RGNDATAHEADER) ||
      data->rdh.iType != RDH_RECTANGLES ||
      uint64_t(data->rdh.nCount) * sizeof(RECT) > size - sizeof(RGNDATAHEADER)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  Region out;
  for (DWORD i = 0; i < data->rdh.nCount; ++i) {
    RECT rect;
    std::memcpy(&rect, data->Buffer + i * sizeof(RECT), sizeof rect);
    out = out.Union(Region(rect));
  }
  return MakeRegionHandle(out);
}

BOOL FillRgn(HDC hdc, HRGN region, HBRUSH brush) {
  Region* r = FindRegion(region);
  if (!r) return FALSE;
  for (const RECT& rect : r->rects()) FillRect(hdc, &rect, brush);
  return TRUE;
}
