#include "platform/forms/ControlColorBrush.h"

#include "platform/win/Win.h"

TControlColorBrush::~TControlColorBrush() {
  if (brush_) DeleteObject(brush_);
}

void TControlColorBrush::Answer(TControl& control, TMessage& m) {
  const COLORREF color = ColorToRGB(control.Color());
  if (!brush_ || color != color_) {
    if (brush_) DeleteObject(brush_);
    brush_ = CreateSolidBrush(color);
    color_ = color;
  }
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  SetTextColor(dc, ColorToRGB(control.Font()->Color()));
  SetBkColor(dc, color);
  m.Result = reinterpret_cast<LRESULT>(brush_);
}
