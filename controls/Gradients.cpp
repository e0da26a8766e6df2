#include "controls/Gradients.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "controls/BitmapDrawing.h"
#include "platform/forms/TBitmap.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/OwnedGdiObject.h"

namespace {

void Fill(HDC dc, const RECT& r, COLORREF color) {
  const OwnedGdiObject<HBRUSH> brush(CreateSolidBrush(color));
  ::FillRect(dc, &r, brush);
}

// The shortest band: the colour count itself for up to 8 colours, else 255 / count + 1.
int MinimumBand(int colorCount) {
  if (colorCount <= 8) return std::max(colorCount, 1);
  return std::max(255 / colorCount + 1, 1);
}

// The colour of each of `steps` + 1 positions from start to stop, in 16.16 fixed point.
std::vector<COLORREF> Steps(COLORREF start, COLORREF stop, int steps) {
  std::vector<COLORREF> out(static_cast<std::size_t>(std::max(steps, 0)) + 1);
  const std::int64_t r0 = GetRValue(start), g0 = GetGValue(start), b0 = GetBValue(start);
  const std::int64_t dr = (static_cast<std::int64_t>(GetRValue(stop)) - r0) * 65536 / (steps + 1),
                     dg = (static_cast<std::int64_t>(GetGValue(stop)) - g0) * 65536 / (steps + 1),
                     db = (static_cast<std::int64_t>(GetBValue(stop)) - b0) * 65536 / (steps + 1);
  std::int64_t r = r0 << 16, g = g0 << 16, b = b0 << 16;
  for (auto& c : out) {
    c = RGB(static_cast<BYTE>(r >> 16), static_cast<BYTE>(g >> 16), static_cast<BYTE>(b >> 16));
    r += dr;
    g += dg;
    b += db;
  }
  return out;
}

// Fills positions [from, from + count) in bands; `paint(position, length, colour)`.
template <class Paint>
void Bands(int from, int count, int colorCount, COLORREF start, COLORREF stop, Paint paint) {
  if (count <= 0) return;
  const std::vector<COLORREF> colours = Steps(start, stop, count - 1);
  const int minimum = MinimumBand(colorCount);
  int bandStart = 0;
  for (int i = 1; i <= count; ++i) {
    if (i == count || (colours[i] != colours[bandStart] && i - bandStart >= minimum)) {
      paint(from + bandStart, i - bandStart, colours[bandStart]);
      bandStart = i;
    }
  }
}

// Exactly from `from` at 0 to `to` at `last`.
COLORREF Mix(COLORREF from, COLORREF to, int i, int last) {
  if (last <= 0) return to;
  auto channel = [&](int a, int b) { return static_cast<BYTE>(a + (b - a) * i / last); };
  return RGB(channel(GetRValue(from), GetRValue(to)), channel(GetGValue(from), GetGValue(to)),
             channel(GetBValue(from), GetBValue(to)));
}

}  // namespace

void FillGrad(HDC dc, int x, int y, bool alongX, int span, int length, int colorCount, COLORREF start,
              COLORREF stop, bool centered) {
  auto band = [&](int position, int size, COLORREF c) {
    Fill(dc,
         alongX ? RECT{x + position, y, x + position + size, y + span}
                : RECT{x, y + position, x + span, y + position + size},
         c);
  };
  if (!centered) {
    Bands(0, length, colorCount, start, stop, band);
    return;
  }
  // The first half from start to stop, the second its mirror image.
  const int half = (length + 1) / 2;
  Bands(0, half, colorCount, start, stop, [&](int position, int size, COLORREF c) {
    band(position, size, c);
    band(length - position - size, size, c);
  });
}

void FillGradRect(HDC dc, const RECT& rect, int, COLORREF start, COLORREF stop) {
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w < 5 || h <= 4 || start == stop) {
    Fill(dc, rect, stop);
    return;
  }
  // One rectangle per ring, from the stop colour at the edge to the start colour at the centre.
  const int rings = (std::min(w, h) + 1) / 2;
  for (int ring = 0; ring < rings; ++ring)
    Fill(dc, RECT{rect.left + ring, rect.top + ring, rect.right - ring, rect.bottom - ring},
         Mix(stop, start, ring, rings - 1));
}

void FillGradDiag(HDC dc, const RECT& rect, int width, int colorCount, COLORREF start, COLORREF stop) {
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w < 5 || h <= 4 || start == stop) {
    Fill(dc, rect, stop);
    return;
  }
  const bool down = width < 0;
  const int diagonals = w + h - 1;
  std::vector<COLORREF> colours(static_cast<std::size_t>(diagonals));
  Bands(0, diagonals, colorCount, start, stop,
        [&](int position, int size, COLORREF c) { std::fill_n(colours.begin() + position, size, c); });
  colours.back() = stop;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int d = down ? x + y : x + (h - 1 - y);
      SetPixel(dc, rect.left + x, rect.top + y, colours[static_cast<std::size_t>(d)]);
    }
  }
}

void PaintGradient(TCanvas* canvas, const RECT& rect, TGradientDirection direction, int colorCount,
                   TColor start, TColor stop) {
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return;
  const COLORREF a = ColorToRGB(start), b = ColorToRGB(stop);
  TBitmap work;
  work.SetPixelFormat(pf32bit);
  work.SetSize(w, h);
  HDC dc = work.Canvas()->Handle();
  const RECT all{0, 0, w, h};
  switch (direction) {
    case gdDiagonalUp:
    case gdDiagonalDown:
      if (a == b)
        Fill(dc, all, a);
      else
        FillGradDiag(dc, all, direction == gdDiagonalDown ? -w : w, colorCount, a, b);
      break;
    case gdHorizontalEnd:
      // From the start colour at the bottom edge to the stop colour at the top.
      FillGrad(dc, 0, 0, false, w, h, colorCount, b, a, false);
      break;
    case gdHorizontalCenter:
      FillGrad(dc, 0, 0, false, w, h, colorCount, b, a, true);
      break;
    case gdVerticalEnd:
      FillGrad(dc, 0, 0, true, h, w, colorCount, b, a, false);
      break;
    case gdVerticalCenter:
      FillGrad(dc, 0, 0, true, h, w, colorCount, b, a, true);
      break;
    default: {
      Fill(dc, all, b);
      const int dx = (direction == gdHorizontalBox || direction == gdBigSquareBox) ? w / 4 : 0;
      const int dy = (direction == gdVerticalBox || direction == gdBigSquareBox) ? h / 4 : 0;
      FillGradRect(dc, RECT{dx, dy, w - dx, h - dy}, colorCount, a, b);
      break;
    }
  }
  canvas->Draw(rect.left, rect.top, &work);
}
