#include "controls/Trapezoids.h"

#include <algorithm>

void SetTrapezoid(TTrap& trap, const RECT& r, int slant, TTrapShape shape, TTrapDirection direction) {
  const bool horizontal = direction == tdTop || direction == tdBottom;
  const int first = horizontal ? r.left : r.top, last = (horizontal ? r.right : r.bottom) - 1;
  const int cut = std::clamp(slant, 0, std::max(last - first, 0));
  int narrowFirst = first, narrowLast = last;
  switch (shape) {
    case tsLeft:
      narrowLast -= cut;
      break;
    case tsRight:
      narrowFirst += cut;
      break;
    case tsCenter:
      narrowFirst += cut / 2;
      narrowLast -= cut - cut / 2;
      break;
  }
  const int top = r.top, bottom = r.bottom - 1, left = r.left, right = r.right - 1;
  switch (direction) {
    case tdTop:
      trap = {TPoint(narrowFirst, top), TPoint(narrowLast, top), TPoint(right, bottom), TPoint(left, bottom)};
      break;
    case tdBottom:
      trap = {TPoint(left, top), TPoint(right, top), TPoint(narrowLast, bottom), TPoint(narrowFirst, bottom)};
      break;
    case tdLeft:
      trap = {TPoint(left, narrowFirst), TPoint(right, top), TPoint(right, bottom), TPoint(left, narrowLast)};
      break;
    case tdRight:
      trap = {TPoint(left, top), TPoint(right, narrowFirst), TPoint(right, narrowLast), TPoint(left, bottom)};
      break;
  }
}

TPoint Intersect(TPoint a, TPoint b, int value, bool horizontalLine) {
  if (horizontalLine) {
    if (b.y == a.y) return TPoint(a.x, value);
    return TPoint(static_cast<int>(a.x + static_cast<double>(b.x - a.x) * (value - a.y) / (b.y - a.y)),
                  value);
  }
  if (b.x == a.x) return TPoint(value, a.y);
  return TPoint(value, static_cast<int>(a.y + static_cast<double>(b.y - a.y) * (value - a.x) / (b.x - a.x)));
}

void AdjustTrapezoid(const TTrap& t, const RECT& r, TTrapDirection direction, TTrap& points) {
  if (direction == tdTop || direction == tdBottom) {
    // The slanted sides are the left (bottom left to top left) and the right (top right to bottom right).
    points = {Intersect(t[3], t[0], r.top, true), Intersect(t[1], t[2], r.top, true),
              Intersect(t[1], t[2], r.bottom - 1, true), Intersect(t[3], t[0], r.bottom - 1, true)};
  } else {
    points = {Intersect(t[0], t[1], r.left, false), Intersect(t[0], t[1], r.right - 1, false),
              Intersect(t[3], t[2], r.right - 1, false), Intersect(t[3], t[2], r.left, false)};
  }
}

void InflateTrapezoid(TTrap& t, int n) {
  t[0] = TPoint(t[0].x - n, t[0].y - n);
  t[1] = TPoint(t[1].x + n, t[1].y - n);
  t[2] = TPoint(t[2].x + n, t[2].y + n);
  t[3] = TPoint(t[3].x - n, t[3].y + n);
}

void DrawTrapezoidBorder(TCanvas* canvas, const TTrap& trap, TTrapBevelStyle bevel, int width) {
  if (bevel == TTrapBevelStyle::bsNone) return;
  TPen* pen = canvas->Pen();
  const TColor oldColor = pen->Color();
  const int oldWidth = pen->Width();
  pen->SetWidth(1);
  const bool lowered = bevel == TTrapBevelStyle::bsLowered;
  for (int ring = 0; ring < width; ++ring) {
    TTrap t = trap;
    InflateTrapezoid(t, -ring);
    pen->SetColor(lowered ? clBtnHighlight : clBtnShadow);
    canvas->MoveTo(t[1].x, t[1].y);
    canvas->LineTo(t[2].x, t[2].y);
    canvas->LineTo(t[3].x, t[3].y);
    pen->SetColor(lowered ? clBtnShadow : clBtnHighlight);
    canvas->MoveTo(t[3].x, t[3].y);
    canvas->LineTo(t[0].x, t[0].y);
    canvas->LineTo(t[1].x, t[1].y);
  }
  pen->SetColor(oldColor);
  pen->SetWidth(oldWidth);
}
