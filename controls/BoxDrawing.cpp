#include "controls/BoxDrawing.h"

#include <algorithm>

#include "controls/ColorArithmetic.h"

RECT CenterRect(const RECT& r, int w, int h) {
  const int left = r.left + (r.right - r.left - w) / 2, top = r.top + (r.bottom - r.top - h) / 2;
  return RECT{left, top, left + w, top + h};
}

void DrawDropShadow(TCanvas* canvas, const RECT& r, int depth, TColor color) {
  if (depth <= 0) return;
  const int step = std::max(128 / depth, 1);
  for (int band = 0; band < depth; ++band) {
    const auto weight = static_cast<std::uint8_t>(std::max(128 - band * step, 0));
    const int x = r.right + band, y = r.bottom + band;
    for (int yy = r.top + depth; yy < y; ++yy)
      canvas->SetPixels(x, yy,
                        BlendColors(color, static_cast<TColor>(canvas->Pixels(x, yy) & 0xFFFFFF), weight));
    for (int xx = r.left + depth; xx <= x; ++xx)
      canvas->SetPixels(xx, y,
                        BlendColors(color, static_cast<TColor>(canvas->Pixels(xx, y) & 0xFFFFFF), weight));
  }
}

void DrawBox(TCanvas* canvas, const RECT& r, TColor color) {
  RECT inner;
  DrawSides(canvas, r, color, kAllSides, color, inner);
}

void DrawBoxCorners(TCanvas* canvas, const RECT& r, TColor color, int length) {
  TPen* pen = canvas->Pen();
  pen->SetColor(color);
  const int R = r.right - 1, B = r.bottom - 1;
  auto corner = [&](int x, int y, int dx, int dy) {
    canvas->MoveTo(x + dx * length, y);
    canvas->LineTo(x, y);
    canvas->LineTo(x, y + dy * length);
  };
  corner(r.left, r.top, 1, 1);
  corner(R, r.top, -1, 1);
  corner(r.left, B, 1, -1);
  corner(R, B, -1, -1);
}

void DrawDashedBorder(TCanvas* canvas, const RECT& r, TColor color) {
  TPen* pen = canvas->Pen();
  const TPenStyle oldStyle = pen->Style();
  const TBrushStyle oldBrush = canvas->Brush()->Style();
  pen->SetColor(color);
  pen->SetStyle(psDot);
  canvas->Brush()->SetStyle(bsClear);
  canvas->Rectangle(r);
  pen->SetStyle(oldStyle);
  canvas->Brush()->SetStyle(oldBrush);
}

void DrawFocusBorder(TCanvas* canvas, const RECT& r) {
  auto invert = [&](int x, int y) {
    if (((x + y) & 1) == 0) canvas->SetPixels(x, y, static_cast<TColor>(~canvas->Pixels(x, y) & 0xFFFFFF));
  };
  for (int x = r.left; x < r.right; ++x) {
    invert(x, r.top);
    if (r.bottom - 1 > r.top) invert(x, r.bottom - 1);
  }
  for (int y = r.top + 1; y < r.bottom - 1; ++y) {
    invert(r.left, y);
    if (r.right - 1 > r.left) invert(r.right - 1, y);
  }
}

void DrawRoundedFlatBorder(TCanvas* canvas, const RECT& r, TColor color, TSides sides) {
  TPen* pen = canvas->Pen();
  pen->SetColor(color);
  const int R = r.right - 1, B = r.bottom - 1;
  const bool left = sides & SideBit(sdLeft), top = sides & SideBit(sdTop), right = sides & SideBit(sdRight),
             bottom = sides & SideBit(sdBottom);
  // Each side stops one pixel short where it meets another drawn side; the corner is filled in
  // diagonally by the pixel between them.
  if (left) {
    canvas->MoveTo(r.left, r.top + (top ? 1 : 0));
    canvas->LineTo(r.left, B + (bottom ? 0 : 1));
  }
  if (top) {
    canvas->MoveTo(r.left + (left ? 1 : 0), r.top);
    canvas->LineTo(R + (right ? 0 : 1), r.top);
  }
  if (right) {
    canvas->MoveTo(R, r.top + (top ? 1 : 0));
    canvas->LineTo(R, B + (bottom ? 0 : 1));
  }
  if (bottom) {
    canvas->MoveTo(r.left + (left ? 1 : 0), B);
    canvas->LineTo(R + (right ? 0 : 1), B);
  }
}
