#include "controls/FrameDrawing.h"

#include "controls/ColorArithmetic.h"

namespace {

bool Has(TSides sides, TSide s) { return (sides & SideBit(s)) != 0; }

struct FrameColors {
  TColor topLeft, bottomRight;
};

// The one- and two-outline styles of the system-colour frames.
FrameColors TableColors(TFrameStyleEx style) {
  switch (style) {
    case fsFlat:
      return {cl3DDkShadow, cl3DDkShadow};
    case fsGroove:
      return {clBtnShadow, clBtnHighlight};
    case fsBump:
      return {clBtnHighlight, clBtnShadow};
    case fsStatus:
      return {clBtnShadow, clBtnHighlight};
    case fsPopup:
      return {clBtnHighlight, clBtnShadow};
    case fsFlatBold:
      return {clBtnShadow, clBtnShadow};
    default:
      return {clWindow, clWindow};
  }
}

void Pixel(TCanvas* canvas, int x, int y, TColor color) {
  if (color != clNone) canvas->SetPixels(x, y, color);
}

// Two offset outlines that look cut into (groove) or raised from (bump) the surface.
void DrawEtched(TCanvas* canvas, const RECT& r, TColor t, TColor b, TSides sides, RECT& inner) {
  const bool left = Has(sides, sdLeft), top = Has(sides, sdTop), right = Has(sides, sdRight),
             bottom = Has(sides, sdBottom);
  if (right)
    Pixel(canvas, r.right - 1, r.top, b);
  else if (top)
    Pixel(canvas, r.right - 1, r.top, t);
  if (bottom)
    Pixel(canvas, r.left, r.bottom - 1, b);
  else if (left)
    Pixel(canvas, r.left, r.bottom - 1, t);
  if (top && !left) Pixel(canvas, r.left, r.top + 1, b);
  if (left && !top) Pixel(canvas, r.left + 1, r.top, b);
  if (bottom && !right) Pixel(canvas, r.right - 1, r.bottom - 2, t);
  if (right && !bottom) Pixel(canvas, r.right - 2, r.bottom - 1, t);
  RECT shifted{r.left + 1, r.top + 1, r.right, r.bottom};
  RECT ignored;
  DrawSides(canvas, shifted, b, sides, b, ignored);
  RECT back{shifted.left - 1, shifted.top - 1, shifted.right - 1, shifted.bottom - 1};
  DrawSides(canvas, back, t, sides, t, ignored);
  inner = r;
  if (left) inner.left += 2;
  if (top) inner.top += 2;
  if (right) inner.right -= 2;
  if (bottom) inner.bottom -= 2;
}

// An outer and an inner one-pixel bevel.
void DrawTwoBevels(TCanvas* canvas, const RECT& r, TColor outerTL, TColor outerBR, TColor innerTL,
                   TColor innerBR, TSides sides, RECT& inner) {
  RECT middle;
  DrawBevel(canvas, r, outerTL, sides, 1, outerBR, middle);
  DrawBevel(canvas, middle, innerTL, sides, 1, innerBR, inner);
}

}  // namespace

void DrawSides(TCanvas* canvas, const RECT& r, TColor topLeft, TSides sides, TColor bottomRight,
               RECT& inner) {
  TPen* pen = canvas->Pen();
  if (topLeft != clNone) {
    pen->SetColor(topLeft);
    if (Has(sides, sdLeft)) {
      canvas->MoveTo(r.left, r.top);
      canvas->LineTo(r.left, r.bottom);
    }
    if (Has(sides, sdTop)) {
      canvas->MoveTo(r.left, r.top);
      canvas->LineTo(r.right, r.top);
    }
  }
  if (bottomRight != clNone) {
    pen->SetColor(bottomRight);
    if (Has(sides, sdRight)) {
      canvas->MoveTo(r.right - 1, r.top);
      canvas->LineTo(r.right - 1, r.bottom);
    }
    if (Has(sides, sdBottom)) {
      canvas->MoveTo(r.left, r.bottom - 1);
      canvas->LineTo(r.right, r.bottom - 1);
    }
  }
  inner = r;
  if (Has(sides, sdLeft)) ++inner.left;
  if (Has(sides, sdTop)) ++inner.top;
  if (Has(sides, sdRight)) --inner.right;
  if (Has(sides, sdBottom)) --inner.bottom;
}

void DrawBevel(TCanvas* canvas, const RECT& r, TColor topLeft, TSides sides, int count, TColor bottomRight,
               RECT& inner) {
  canvas->Pen()->SetWidth(1);
  inner = r;
  for (int i = 0; i < count; ++i) {
    RECT next;
    DrawSides(canvas, inner, topLeft, sides, bottomRight, next);
    inner = next;
  }
}

void DrawCtl3DBorder(TCanvas* canvas, const RECT& r, bool lowered, RECT& inner) {
  DrawCtl3DBorderSides(canvas, r, lowered, kAllSides, inner);
}

void DrawCtl3DBorderSides(TCanvas* canvas, const RECT& r, bool lowered, TSides sides, RECT& inner) {
  if (lowered)
    DrawTwoBevels(canvas, r, clBtnShadow, clBtnHighlight, cl3DDkShadow, cl3DLight, sides, inner);
  else
    DrawTwoBevels(canvas, r, cl3DLight, cl3DDkShadow, clBtnHighlight, clBtnShadow, sides, inner);
}

void DrawButtonBorder(TCanvas* canvas, const RECT& r, bool down, RECT& inner) {
  DrawButtonBorderSides(canvas, r, down, kAllSides, inner);
}

void DrawButtonBorderSides(TCanvas* canvas, const RECT& r, bool down, TSides sides, RECT& inner) {
  if (down)
    DrawTwoBevels(canvas, r, clBtnText, clBtnText, clBtnShadow, clBtnShadow, sides, inner);
  else
    DrawTwoBevels(canvas, r, clBtnHighlight, cl3DDkShadow, cl3DLight, clBtnShadow, sides, inner);
}

void DrawBorder(TCanvas* canvas, const RECT& r, TFrameStyleEx style, RECT& inner) {
  DrawBorderSides(canvas, r, style, kAllSides, inner);
}

void DrawBorderSides(TCanvas* canvas, const RECT& r, TFrameStyleEx style, TSides sides, RECT& inner) {
  const FrameColors c = TableColors(style);
  switch (style) {
    case fsFlat:
    case fsStatus:
    case fsPopup:
      DrawSides(canvas, r, c.topLeft, sides, c.bottomRight, inner);
      return;
    case fsFlatBold:
      DrawBevel(canvas, r, c.topLeft, sides, 2, c.bottomRight, inner);
      return;
    case fsLowered:
    case fsRaised:
      DrawCtl3DBorderSides(canvas, r, style == fsLowered, sides, inner);
      return;
    case fsButtonDown:
    case fsButtonUp:
      DrawButtonBorderSides(canvas, r, style == fsButtonDown, sides, inner);
      return;
    case fsGroove:
    case fsBump:
      DrawEtched(canvas, r, c.topLeft, c.bottomRight, sides, inner);
      return;
    default:
      inner = r;
      return;
  }
}

void DrawColorBorder(TCanvas* canvas, const RECT& r, TColor color, TFrameStyleEx style, RECT& inner) {
  DrawColorBorderSides(canvas, r, color, style, kAllSides, inner);
}

void DrawColorBorderSides(TCanvas* canvas, const RECT& r, TColor color, TFrameStyleEx style, TSides sides,
                          RECT& inner) {
  auto D = [color](int n) { return DarkerColor(color, static_cast<std::uint8_t>(n)); };
  auto L = [color](int n) { return LighterColor(color, static_cast<std::uint8_t>(n)); };
  switch (style) {
    case fsNone:
      inner = r;
      return;
    case fsFlat:
      DrawSides(canvas, r, D(50), sides, D(50), inner);
      return;
    case fsGroove:
      DrawEtched(canvas, r, D(50), L(100), sides, inner);
      return;
    case fsLowered:
      DrawTwoBevels(canvas, r, D(50), L(100), D(100), L(50), sides, inner);
      return;
    case fsRaised:
      DrawTwoBevels(canvas, r, L(50), D(100), L(100), D(50), sides, inner);
      return;
    case fsStatus:
      DrawSides(canvas, r, D(50), sides, L(100), inner);
      return;
    case fsPopup:
      DrawSides(canvas, r, L(100), sides, D(50), inner);
      return;
    case fsFlatBold:
      DrawBevel(canvas, r, D(50), sides, 2, D(50), inner);
      return;
    case fsButtonDown:
    case fsButtonUp:
      DrawColorButtonBorderSides(canvas, r, color, style == fsButtonDown, sides, inner);
      return;
    default:  // fsBump and every style after fsFlatBold
      DrawEtched(canvas, r, L(100), D(50), sides, inner);
      return;
  }
}

void DrawColorButtonBorder(TCanvas* canvas, const RECT& r, TColor color, bool down, RECT& inner) {
  DrawColorButtonBorderSides(canvas, r, color, down, kAllSides, inner);
}

void DrawColorButtonBorderSides(TCanvas* canvas, const RECT& r, TColor color, bool down, TSides sides,
                                RECT& inner) {
  auto D = [color](int n) { return DarkerColor(color, static_cast<std::uint8_t>(n)); };
  auto L = [color](int n) { return LighterColor(color, static_cast<std::uint8_t>(n)); };
  if (down)
    DrawTwoBevels(canvas, r, D(100), D(100), D(50), D(50), sides, inner);
  else
    DrawTwoBevels(canvas, r, L(100), D(100), L(40), D(50), sides, inner);
}

void DrawRaisedEdge(TCanvas* c, int l, int t, int r, int b, TColor first, TColor second) {
  c->Pen()->SetColor(first);
  c->MoveTo(l, b);
  c->LineTo(l, t);
  c->LineTo(r, t);
  c->Pen()->SetColor(second);
  c->LineTo(r, b);
  c->LineTo(l, b);
}
