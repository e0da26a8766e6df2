#include "platform/forms/MaskedImage.h"

#include "platform/forms/TBitmap.h"
#include "platform/gdi/Gdi.h"

namespace {

// A 32-bit bitmap from one colour per pixel.
void Fill(TBitmap& bitmap, int w, int h, auto&& colorAt) {
  bitmap.SetPixelFormat(pf32bit);
  bitmap.SetSize(w, h);
  for (int y = 0; y < h; ++y) {
    auto* row = static_cast<std::uint32_t*>(bitmap.ScanLine(y));
    for (int x = 0; x < w; ++x) row[x] = colorAt(std::size_t(y) * std::size_t(w) + std::size_t(x));
  }
}

std::uint32_t ScanColor(TColor color) {
  COLORREF c = ColorToRGB(color);
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

// Clears the covered pixels (AND with a black-on-white mask), then paints them (OR with the
// picture, black where uncovered).
void Blend(TCanvas* canvas, const RECT& dest, int w, int h, const std::vector<std::uint8_t>& opaque,
           auto&& colorAt) {
  TBitmap mask, picture;
  Fill(mask, w, h, [&](std::size_t i) { return opaque[i] ? 0u : 0xFFFFFFu; });
  Fill(picture, w, h, [&](std::size_t i) { return opaque[i] ? colorAt(i) : 0u; });
  HDC dc = canvas->Handle();
  int dw = dest.right - dest.left, dh = dest.bottom - dest.top;
  StretchBlt(dc, dest.left, dest.top, dw, dh, mask.Canvas()->Handle(), 0, 0, w, h, SRCAND);
  StretchBlt(dc, dest.left, dest.top, dw, dh, picture.Canvas()->Handle(), 0, 0, w, h, SRCPAINT);
}

}  // namespace

void TMaskedImage::Draw(TCanvas* canvas, const RECT& dest) const {
  if (Width <= 0 || Height <= 0) return;
  Blend(canvas, dest, Width, Height, Opaque, [this](std::size_t i) { return Pixels[i] & 0xFFFFFF; });
}

void TMaskedImage::DrawDisabled(TCanvas* canvas, int x, int y) const {
  if (Width <= 0 || Height <= 0) return;
  std::uint32_t light = ScanColor(clBtnHighlight), dark = ScanColor(clBtnShadow);
  Blend(canvas, RECT{x + 1, y + 1, x + 1 + Width, y + 1 + Height}, Width, Height, Opaque,
        [light](std::size_t) { return light; });
  Blend(canvas, RECT{x, y, x + Width, y + Height}, Width, Height, Opaque,
        [dark](std::size_t) { return dark; });
}
