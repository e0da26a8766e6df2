// A 32-bit bitmap filled with one colour, for the drawing tests to draw on and read back.
#pragma once

#include "platform/forms/TBitmap.h"

namespace skintest {

class Sheet {
 public:
  Sheet(int w, int h, TColor fill = clWhite) {
    bitmap.SetPixelFormat(pf32bit);
    bitmap.SetSize(w, h);
    canvas()->Brush()->SetColor(fill);
    canvas()->FillRect(RECT{0, 0, w, h});
  }
  TCanvas* canvas() { return bitmap.Canvas(); }
  // The pixel as a COLORREF (red in the low byte), without the fourth byte.
  COLORREF at(int x, int y) { return canvas()->Pixels(x, y) & 0xFFFFFF; }
  TBitmap bitmap;
};

}  // namespace skintest
