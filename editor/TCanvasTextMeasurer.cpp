#include "editor/TCanvasTextMeasurer.h"

#include "platform/forms/TBitmap.h"
#include "platform/forms/TCanvas.h"

int TCanvasTextMeasurer::TextWidth(const std::string& text) const {
  if (canvas_) return canvas_->TextWidth(AnsiString(text.c_str()));
  TBitmap bitmap;
  bitmap.SetSize(1, 1);  // a canvas without pixels gives no drawing context to measure with
  return bitmap.Canvas()->TextWidth(AnsiString(text.c_str()));
}
