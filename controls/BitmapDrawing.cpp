#include "controls/BitmapDrawing.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/OwnedGdiObject.h"
#include "platform/gdi/SelectedObject.h"

namespace {

int W(const RECT& r) { return r.right - r.left; }
int H(const RECT& r) { return r.bottom - r.top; }

// A memory DC with its own bitmap selected, freed together: deselected, then the DC, then the
// bitmap.
class MemoryBitmap {
 public:
  explicit MemoryBitmap(HBITMAP bitmap) : bitmap_(bitmap), dc_(nullptr), selected_(dc_, bitmap_) {}
  HDC dc() const { return dc_; }
  HBITMAP bitmap() const { return bitmap_; }

 private:
  OwnedGdiObject<HBITMAP> bitmap_;
  OwnedMemoryDC dc_;
  SelectedObject selected_;
};

// The stretched picture with its key pixels black, and a monochrome mask white where the key was.
struct MaskedPicture {
  MaskedPicture(int w, int h)
      : picture(CreateBitmap(w, h, 1, 32, nullptr)), mask(CreateBitmap(w, h, 1, 1, nullptr)) {}
  MemoryBitmap picture;
  MemoryBitmap mask;
};

void Prepare(MaskedPicture& m, TBitmap* bitmap, int w, int h, TColor key, const RECT& source) {
  HDC work = m.picture.dc();
  SetStretchBltMode(work, COLORONCOLOR);
  StretchBlt(work, 0, 0, w, h, bitmap->Canvas()->Handle(), source.left, source.top, W(source), H(source),
             SRCCOPY);
  const COLORREF keyRgb = ColorToRGB(key);
  SetBkColor(work, keyRgb);
  BitBlt(m.mask.dc(), 0, 0, w, h, work, 0, 0, SRCCOPY);  // key pixels become 1 (white)
  if (keyRgb != 0) {
    SetBkColor(work, RGB(0, 0, 0));
    SetTextColor(work, RGB(255, 255, 255));
    BitBlt(work, 0, 0, w, h, m.mask.dc(), 0, 0, SRCAND);
  }
}

void DrawMasked(TCanvas* canvas, MaskedPicture& m, int x, int y, int w, int h, int sx, int sy) {
  HDC dc = canvas->Handle();
  const COLORREF oldBk = SetBkColor(dc, RGB(255, 255, 255));
  const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
  BitBlt(dc, x, y, w, h, m.mask.dc(), sx, sy, SRCAND);
  BitBlt(dc, x, y, w, h, m.picture.dc(), sx, sy, SRCPAINT);
  SetBkColor(dc, oldBk);
  SetTextColor(dc, oldText);
}

// Tiles from (x0, y0) of the pattern, cutting the last column and row.
template <class DrawPart>
void Tile(const RECT& rect, int bw, int bh, int startX, int startY, DrawPart draw) {
  if (bw <= 0 || bh <= 0) return;
  for (int y = rect.top, sy = startY; y < rect.bottom; y += bh - sy, sy = 0) {
    const int h = std::min(bh - sy, static_cast<int>(rect.bottom - y));
    for (int x = rect.left, sx = startX; x < rect.right; x += bw - sx, sx = 0) {
      const int w = std::min(bw - sx, static_cast<int>(rect.right - x));
      draw(x, y, w, h, sx, sy);
    }
  }
}

}  // namespace

void DrawTransparentBitmap(TCanvas* canvas, TBitmap* bitmap, const RECT& dest, TColor key,
                           const RECT& source) {
  if (W(dest) <= 0 || H(dest) <= 0 || bitmap->Empty()) return;
  MaskedPicture m(W(dest), H(dest));
  Prepare(m, bitmap, W(dest), H(dest), key, source);
  DrawMasked(canvas, m, dest.left, dest.top, W(dest), H(dest), 0, 0);
}

void DrawFullTransparentBitmap(TCanvas* canvas, TBitmap* bitmap, const RECT& dest, TColor key,
                               const RECT& source) {
  if (W(dest) <= 0 || H(dest) <= 0 || bitmap->Empty()) return;
  MaskedPicture m(W(dest), H(dest));
  Prepare(m, bitmap, W(dest), H(dest), key, source);
  // The stretched picture through its mask in one masked blit, as the form library's transparent
  // stretch draws.
  MaskBlt(canvas->Handle(), dest.left, dest.top, W(dest), H(dest), m.picture.dc(), 0, 0, m.mask.bitmap(), 0,
          0, MAKEROP4(0x00AA0029, SRCCOPY));
}

void TileTransparentBitmap(TCanvas* canvas, TBitmap* bitmap, const RECT& rect, TColor key) {
  if (bitmap->Empty()) return;
  const int bw = bitmap->Width(), bh = bitmap->Height();
  MaskedPicture m(bw, bh);
  Prepare(m, bitmap, bw, bh, key, RECT{0, 0, bw, bh});
  Tile(rect, bw, bh, 0, 0,
       [&](int x, int y, int w, int h, int sx, int sy) { DrawMasked(canvas, m, x, y, w, h, sx, sy); });
}

void TileBitmap(TCanvas* canvas, TBitmap* bitmap, const RECT& rect) {
  if (bitmap->Empty()) return;
  HDC src = bitmap->Canvas()->Handle();
  Tile(rect, bitmap->Width(), bitmap->Height(), 0, 0, [&](int x, int y, int w, int h, int sx, int sy) {
    BitBlt(canvas->Handle(), x, y, w, h, src, sx, sy, SRCCOPY);
  });
}

void TileRealizedBitmap(TCanvas* canvas, TBitmap* bitmap, const RECT& rect) {
  if (bitmap->Empty()) return;
  const int bw = bitmap->Width(), bh = bitmap->Height();
  auto mod = [](int a, int b) { return ((a % b) + b) % b; };
  HDC src = bitmap->Canvas()->Handle();
  Tile(rect, bw, bh, mod(rect.left, bw), mod(rect.top, bh), [&](int x, int y, int w, int h, int sx, int sy) {
    BitBlt(canvas->Handle(), x, y, w, h, src, sx, sy, SRCCOPY);
  });
}

void StretchTransparentBitmap(TCanvas* canvas, TBitmap* bitmap, const RECT& rect, TColor key) {
  DrawTransparentBitmap(canvas, bitmap, rect, key, RECT{0, 0, bitmap->Width(), bitmap->Height()});
}

void StretchBitmap(TCanvas* canvas, TBitmap* bitmap, const RECT& rect) { canvas->StretchDraw(rect, bitmap); }

void CenterBitmap(TCanvas* canvas, TBitmap* bitmap, const RECT& rect) {
  const int bw = bitmap->Width(), bh = bitmap->Height();
  const int w = std::min(bw, W(rect)), h = std::min(bh, H(rect));
  if (w <= 0 || h <= 0) return;
  const int x = rect.left + (W(rect) - w) / 2, y = rect.top + (H(rect) - h) / 2;
  BitBlt(canvas->Handle(), x, y, w, h, bitmap->Canvas()->Handle(), (bw - w) / 2, (bh - h) / 2, SRCCOPY);
}

void FlipBitmap(TBitmap* bitmap) {
  const int h = bitmap->Height();
  if (h < 2) return;
  const TPixelFormat format = bitmap->PixelFormat();
  bitmap->SetPixelFormat(pf32bit);
  const std::size_t bytes = static_cast<std::size_t>(bitmap->Width()) * 4;
  std::vector<std::uint8_t> row(bytes);
  for (int top = 0, bottom = h - 1; top < bottom; ++top, --bottom) {
    auto* a = static_cast<std::uint8_t*>(bitmap->ScanLine(top));
    std::memcpy(row.data(), a, bytes);
    auto* b = static_cast<std::uint8_t*>(bitmap->ScanLine(bottom));
    std::memcpy(static_cast<std::uint8_t*>(bitmap->ScanLine(top)), b, bytes);
    std::memcpy(static_cast<std::uint8_t*>(bitmap->ScanLine(bottom)), row.data(), bytes);
  }
  if (format != pf32bit && format != pfDevice) bitmap->SetPixelFormat(format);
}

void BitFillBlit(HDC dc, int x, int y, DWORD rop, int filledWidth, int filledHeight, int width, int height) {
  if (filledWidth <= 0 || filledHeight <= 0) return;
  for (int w = filledWidth; w < width; w *= 2)
    BitBlt(dc, x + w, y, std::min(w, width - w), filledHeight, dc, x, y, rop);
  for (int h = filledHeight; h < height; h *= 2)
    BitBlt(dc, x, y + h, width, std::min(h, height - h), dc, x, y, rop);
}

void BoxBitMirrorBlit(HDC dc, int x, int y, DWORD rop, int height, int width) {
  const int halfH = height / 2, halfW = width / 2;
  // The top-left quarter, turned over into the bottom-left; then the whole left half mirrored.
  StretchBlt(dc, x, y + height - 1, halfW, -(height - halfH), dc, x, y, halfW, height - halfH, rop);
  StretchBlt(dc, x + width - 1, y, -(width - halfW), height, dc, x, y, width - halfW, height, rop);
}
