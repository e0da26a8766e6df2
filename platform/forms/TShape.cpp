#include "platform/forms/TShape.h"

#include <algorithm>

TShape::TShape(TComponent* owner) : TGraphicControl(owner) {
  ControlStyle |= csReplicatable;
  SetBounds(0, 0, 65, 65);
  pen_.OnChange = [this](TObject*) { Invalidate(); };
  brush_.OnChange = [this](TObject*) { Invalidate(); };
}

void TShape::SetShape(TShapeType value) {
  if (shape_ == value) return;
  shape_ = value;
  Invalidate();
}

void TShape::Paint() {
  TCanvas* c = Canvas();
  c->Pen()->Assign(&pen_);
  c->Brush()->Assign(&brush_);
  int penWidth = pen_.Width();
  // The pen's middle runs half its width inside the bounds.
  int x = penWidth / 2, y = x;
  int w = Width() - penWidth + 1, h = Height() - penWidth + 1;
  if (penWidth == 0) {
    --w;
    --h;
  }
  int s = std::min(w, h);
  if (shape_ == stSquare || shape_ == stRoundSquare || shape_ == stCircle) {
    x += (w - s) / 2;
    y += (h - s) / 2;
    w = h = s;
  }
  switch (shape_) {
    case stRectangle:
    case stSquare:
      c->Rectangle(x, y, x + w, y + h);
      break;
    case stRoundRect:
    case stRoundSquare:
      c->RoundRect(x, y, x + w, y + h, s / 4, s / 4);
      break;
    case stEllipse:
    case stCircle:
      c->Ellipse(x, y, x + w, y + h);
      break;
  }
}
