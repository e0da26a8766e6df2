#include "controls/GlyphDrawing.h"

#include <algorithm>
#include <cstdlib>

#include "controls/ColorArithmetic.h"
#include "controls/Gradients.h"
#include "controls/TThemeServices.h"

namespace {

TColor Ink(TSkGlyphLook look) { return look == glDisabled ? clBtnShadow : clBtnText; }

// A filled triangle pointing down (or up) whose base is `width` pixels, centred at (cx, cy).
void Triangle(TCanvas* canvas, int cx, int cy, int width, bool up, TColor color) {
  const int rows = (width + 1) / 2;
  canvas->Pen()->SetColor(color);
  for (int i = 0; i < rows; ++i) {
    const int half = width / 2 - i;
    const int y = up ? cy + rows / 2 - i : cy - rows / 2 + i;
    canvas->MoveTo(cx - half, y);
    canvas->LineTo(cx + half + 1, y);
  }
}

void XPFace(TCanvas* canvas, const RECT& rect, TSkGlyphLook look) {
  const TColor face = look == glDown ? 0xE6AF8E : look == glHot ? 0xFFF0DF : 0xFDD3C1;
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(look == glDisabled ? clBtnFace : face);
  canvas->Pen()->SetColor(look == glDisabled ? clBtnShadow : 0xE5B7A3);
  canvas->Rectangle(rect);
}

bool Themed(TSkGlyphLook) { return ThemeServices()->GetThemesEnabled(); }

TColor Shade(TColor fill, TSkGlyphLook look) {
  switch (look) {
    case glHot:
      return LighterColor(fill, 20);
    case glDown:
      return DarkerColor(fill, 20);
    case glDisabled:
      return clBtnFace;
    default:
      return fill;
  }
}

}  // namespace

void DrawDropDownArrow(TCanvas* canvas, const RECT& rect, TSkGlyphLook look, bool xpLook) {
  if (Themed(look)) {
    static const TThemedComboBox states[] = {tcDropDownButtonNormal, tcDropDownButtonHot,
                                             tcDropDownButtonPressed, tcDropDownButtonDisabled};
    ThemeServices()->DrawElement(canvas->Handle(), TThemeServices::GetElementDetails(states[look]), rect);
    return;
  }
  if (xpLook) XPFace(canvas, rect, look);
  const int w = std::min(rect.right - rect.left, rect.bottom - rect.top) / 2 | 1;
  Triangle(canvas, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2, std::max(w, 3), false,
           xpLook && look != glDisabled ? 0x84614D : Ink(look));
}

void DrawSpinArrow(TCanvas* canvas, const RECT& rect, bool up, TSkGlyphLook look, bool xpLook) {
  if (Themed(look)) {
    const int base = up ? tsUpNormal : tsDownNormal;
    ThemeServices()->DrawElement(
        canvas->Handle(), TThemeServices::GetElementDetails(static_cast<TThemedSpin>(base + look)), rect);
    return;
  }
  if (xpLook) XPFace(canvas, rect, look);
  const int w = std::min(rect.right - rect.left, 2 * (rect.bottom - rect.top)) / 2 | 1;
  Triangle(canvas, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2, std::max(w, 3), up,
           xpLook && look != glDisabled ? 0x84614D : Ink(look));
}

void DrawCloseX(TCanvas* canvas, const RECT& rect, TColor color, TSkGlyphLook look) {
  const int size = std::max(std::min(rect.right - rect.left, rect.bottom - rect.top) - 6, 3);
  const int x = (rect.left + rect.right - size) / 2, y = (rect.top + rect.bottom - size) / 2;
  canvas->Pen()->SetColor(look == glDisabled ? clBtnShadow : color);
  for (int d = 0; d < 2; ++d) {
    canvas->MoveTo(x + d, y);
    canvas->LineTo(x + size + d, y + size);
    canvas->MoveTo(x + size - 1 + d, y);
    canvas->LineTo(x - 1 + d, y + size);
  }
}

void DrawHighlightBox(TCanvas* canvas, const RECT& rect, TSkGradientColorStyle style) {
  const TSkSelectionColors c = GetGradientSelectionColors(style);
  if (rect.right - rect.left > 2 && rect.bottom - rect.top > 2)
    PaintGradient(canvas, RECT{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1}, gdVerticalEnd,
                  64, c.Start, c.End);
  canvas->Brush()->SetStyle(bsClear);
  canvas->Pen()->SetColor(c.Frame);
  canvas->Rectangle(rect);
  canvas->Brush()->SetStyle(bsSolid);
}

void DrawCheckBox(TCanvas* canvas, const RECT& rect, bool checked, TColor frame, TColor fill, TColor mark,
                  TSkGlyphLook look) {
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(Shade(fill, look));
  canvas->Pen()->SetColor(look == glDisabled ? clBtnShadow : frame);
  canvas->Rectangle(rect);
  if (!checked) return;
  // A tick of three-pixel strokes: down from the left third, then up to the right.
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  const int x0 = rect.left + w / 4, xm = rect.left + w * 5 / 12, x1 = rect.right - w / 4;
  const int ym = rect.top + h * 2 / 3;
  const TColor ink = look == glDisabled ? clBtnShadow : mark;
  for (int x = x0; x < x1; ++x) {
    const int y = x <= xm ? ym - (xm - x) : ym - (x - xm);
    for (int t = 0; t < 3; ++t)
      if (y - t > rect.top && y - t < rect.bottom - 1) canvas->SetPixels(x, y - t, ink);
  }
}

void DrawRadioButton(TCanvas* canvas, int x, int y, bool checked, TColor frame, TColor fill, TColor mark,
                     TSkGlyphLook look) {
  // Rows of the circle: the first and last column of the ring on each row, 13 x 13.
  static const int ring[13][2] = {{4, 8},  {2, 10}, {1, 11}, {1, 11}, {0, 12}, {0, 12}, {0, 12},
                                  {0, 12}, {0, 12}, {1, 11}, {1, 11}, {2, 10}, {4, 8}};
  const TColor inside = Shade(fill, look), edge = look == glDisabled ? clBtnShadow : frame;
  const TColor dot = look == glDisabled ? clBtnShadow : mark;
  for (int row = 0; row < 13; ++row) {
    const int from = ring[row][0], to = ring[row][1];
    for (int col = from; col <= to; ++col) {
      const bool onEdge = row == 0 || row == 12 || col == from || col == to ||
                          (row > 0 && (col < ring[row - 1][0] || col > ring[row - 1][1])) ||
                          (row < 12 && (col < ring[row + 1][0] || col > ring[row + 1][1]));
      const bool inDot = checked && std::abs(row - 6) + std::abs(col - 6) <= 3 && std::abs(row - 6) <= 2 &&
                         std::abs(col - 6) <= 2;
      canvas->SetPixels(x + col, y + row, onEdge ? edge : inDot ? dot : inside);
    }
  }
}
