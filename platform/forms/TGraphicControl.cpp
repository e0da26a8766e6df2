#include "platform/forms/TGraphicControl.h"

#include "platform/forms/CanvasHandleScope.h"

void TGraphicControl::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  if (m.Msg == WM_PAINT && m.WParam) {
    CanvasHandleScope drawing(canvas_, reinterpret_cast<HDC>(m.WParam));
    canvas_.Font()->Assign(Font());
    Paint();
    return;
  }
  TControl::Dispatch(message);
}
