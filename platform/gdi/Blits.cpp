// BitBlt, StretchBlt, PatBlt, MaskBlt, StretchDIBits and SetDIBitsToDevice over the raster engine.
#include <cstdlib>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Raster.h"

using namespace platform::gdi;

namespace {

uint8_t RopIndex(DWORD rop) { return uint8_t((rop >> 16) & 0xFF); }

// Turns an extent pair into a normalised range and a mirroring flag: a negative extent w covers
// x + w + 1 ... x, and differing signs between destination and source mirror the picture.
void Normalise(int& pos, int& extent, bool& flip) {
  if (extent < 0) {
    pos = pos + extent + 1;
    extent = -extent;
    flip = !flip;
  }
}

BOOL StretchCore(HDC hdst, int x, int y, int w, int h, const Bitmap* srcBitmap, const DeviceContext* srcDc,
                 int xs, int ys, int ws, int hs, DWORD rop, const Bitmap* mask = nullptr,
                 POINT maskOrigin = {0, 0}, uint8_t backRop = 0) {
  auto dst = FindDc(hdst);
  if (!dst) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  BlitRequest q;
  q.dst = dst.get();
  q.rop = RopIndex(rop);
  q.backRop = mask ? backRop : q.rop;
  q.mask = mask;
  q.maskOrigin = maskOrigin;
  const bool needsSource = RopUsesSource(q.rop) || (mask && RopUsesSource(q.backRop));
  if (needsSource && !srcBitmap) {
    if (srcDc && srcDc->kind() == DeviceContext::Kind::Screen) return TRUE;  // nothing to read
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (w == 0 || h == 0) return TRUE;
  if (needsSource && (ws == 0 || hs == 0)) return TRUE;
  bool flipX = false, flipY = false;
  Normalise(x, w, flipX);
  Normalise(y, h, flipY);
  if (needsSource) {
    Normalise(xs, ws, flipX);
    Normalise(ys, hs, flipY);
  }
  q.flipX = flipX;
  q.flipY = flipY;
  q.dstRect = {dst->SurfaceX(x), dst->SurfaceY(y), dst->SurfaceX(x) + w, dst->SurfaceY(y) + h};
  if (needsSource) {
    q.src = srcBitmap;
    const int sx = srcDc ? srcDc->SurfaceX(xs) : xs, sy = srcDc ? srcDc->SurfaceY(ys) : ys;
    q.srcRect = {sx, sy, sx + ws, sy + hs};
    q.srcBkColor = srcDc ? ResolveColor(srcDc, srcDc->state().bkColor) : RGB(255, 255, 255);
  }
  if (Bitmap* surface = dst->surface()) q.pattern = Pattern(*dst, *surface, nullptr);
  Blit(q);
  return TRUE;
}

}  // namespace

BOOL StretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int xs, int ys, int ws, int hs, DWORD rop) {
  std::shared_ptr<DeviceContext> srcDc = src ? FindDc(src) : nullptr;
  if (src && !srcDc) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return StretchCore(dst, x, y, w, h, srcDc ? srcDc->surface() : nullptr, srcDc.get(), xs, ys, ws, hs, rop);
}

BOOL BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int xs, int ys, DWORD rop) {
  if (w < 0 || h < 0) return TRUE;
  return StretchBlt(dst, x, y, w, h, src, xs, ys, w, h, rop);
}

BOOL PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop) {
  const uint8_t index = RopIndex(rop);
  if (RopUsesSource(index)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return StretchCore(hdc, x, y, w, h, nullptr, nullptr, 0, 0, 0, 0, rop);
}

BOOL MaskBlt(HDC dst, int x, int y, int w, int h, HDC src, int xs, int ys, HBITMAP mask, int xm, int ym,
             DWORD rop4) {
  const DWORD fore = rop4 & 0x00FFFFFF;
  if (!mask) return BitBlt(dst, x, y, w, h, src, xs, ys, fore);
  auto maskBitmap = FindBitmap(mask);
  if (!maskBitmap || maskBitmap->bpp() != 1) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::shared_ptr<DeviceContext> srcDc = src ? FindDc(src) : nullptr;
  if (w < 0 || h < 0) return TRUE;
  return StretchCore(dst, x, y, w, h, srcDc ? srcDc->surface() : nullptr, srcDc.get(), xs, ys, w, h, fore,
                     maskBitmap.get(), {xm, ym}, uint8_t((rop4 >> 24) & 0xFF));
}

int StretchDIBits(HDC dst, int x, int y, int w, int h, int xs, int ys, int ws, int hs, const void* bits,
                  const BITMAPINFO* info, UINT usage, DWORD rop) {
  if (usage != DIB_RGB_COLORS) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return 0;
  }
  const bool needsSource = RopUsesSource(RopIndex(rop));
  std::shared_ptr<Bitmap> view;
  if (needsSource) {
    if (!bits || !(view = Bitmap::CreateDib(info, bits))) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
    // Source rows of a bottom-up DIB are counted from its bottom edge.
    if (!view->topDown()) ys = view->height() - ys - hs;
  }
  if (!StretchCore(dst, x, y, w, h, view.get(), nullptr, xs, ys, ws, hs, rop)) return 0;
  return std::abs(hs);
}

int SetDIBitsToDevice(HDC dst, int x, int y, DWORD w, DWORD h, int xs, int ys, UINT startScan, UINT lines,
                      const void* bits, const BITMAPINFO* info, UINT usage) {
  if (!info) return 0;
  const LONG height = info->bmiHeader.biHeight < 0 ? -info->bmiHeader.biHeight : info->bmiHeader.biHeight;
  if (startScan != 0 || LONG(lines) != height) {
    SetLastError(ERROR_NOT_SUPPORTED);  // banded transfers are not used by the product
    return 0;
  }
  return StretchDIBits(dst, x, y, int(w), int(h), xs, ys, int(w), int(h), bits, info, usage, SRCCOPY)
             ? int(lines)
             : 0;
}
