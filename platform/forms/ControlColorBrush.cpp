#include "platform/forms/ControlColorBrush.h"

#include "platform/win/Win.h"

void TControlColorBrush::Answer(TControl& control, TMessage& m) {
  const COLORREF color = ColorToRGB(control.Color());
  if (!brush_ || color != color_) {
    brush_.Reset(CreateSolidBrush(color));
    color_ = color;
  }
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  SetTextColor(dc, ColorToRGB(control.Font()->Color()));
  SetBkColor(dc, color);
  m.Result = reinterpret_cast<LRESULT>(brush_.Get());
}

bool TControlColorBrush::AnswerColorQuestion(TControl& control, TMessage& m) {
  if (!IsControlColorMessage(m.Msg)) return false;
  Answer(control, m);
  return true;
}
