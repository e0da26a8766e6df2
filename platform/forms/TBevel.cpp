#include "platform/forms/TBevel.h"

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) {
  ControlStyle |= csReplicatable;
  SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape value) {
  if (shape_ == value) return;
  shape_ = value;
  Invalidate();
}

void TBevel::SetStyle(TBevelStyle value) {
  if (style_ == value) return;
  style_ = value;
  Invalidate();
}

void TBevel::Paint() {
  TCanvas* c = Canvas();
  c->Pen()->SetWidth(1);
  TColor first = style_ == bsLowered ? clBtnShadow : clBtnHighlight;
  TColor second = style_ == bsLowered ? clBtnHighlight : clBtnShadow;
  // Left and top edges in the first colour, right and bottom in the second.
  auto box = [c](const RECT& r, TColor topLeft, TColor bottomRight) {
    c->Pen()->SetColor(topLeft);
    POINT a[] = {{r.left, r.bottom}, {r.left, r.top}, {r.right, r.top}};
    c->Polyline(a, 3);
    c->Pen()->SetColor(bottomRight);
    POINT b[] = {{r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}};
    c->Polyline(b, 3);
  };
  auto line = [c](TColor color, int x1, int y1, int x2, int y2) {
    c->Pen()->SetColor(color);
    c->MoveTo(x1, y1);
    c->LineTo(x2, y2);
  };
  int w = Width(), h = Height();
  switch (shape_) {
    case bsBox:
      box(RECT{0, 0, w - 1, h - 1}, first, second);
      break;
    case bsFrame:
      // Two boxes, the outer in the first colour and the inner in the second, give a groove.
      box(RECT{1, 1, w - 1, h - 1}, second, second);
      box(RECT{0, 0, w - 2, h - 2}, first, first);
      break;
    case bsTopLine:
      line(first, 0, 0, w, 0);
      line(second, 0, 1, w, 1);
      break;
    case bsBottomLine:
      line(first, 0, h - 2, w, h - 2);
      line(second, 0, h - 1, w, h - 1);
      break;
    case bsLeftLine:
      line(first, 0, 0, 0, h);
      line(second, 1, 0, 1, h);
      break;
    case bsRightLine:
      line(first, w - 2, 0, w - 2, h);
      line(second, w - 1, 0, w - 1, h);
      break;
    case bsSpacer:
      break;
  }
}
