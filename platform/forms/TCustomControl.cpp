#include "platform/forms/TCustomControl.h"

#include "platform/forms/CanvasHandleScope.h"

void TCustomControl::PaintWindow(HDC dc) {
  CanvasHandleScope drawing(canvas_, dc);
  canvas_.Font()->Assign(Font());
  Paint();
}
