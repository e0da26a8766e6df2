// Widths of slide texts as the page canvas draws them: the text run on a bitmap's canvas in the
// platform's default font. The editor makes it the document's measurer at start-up, so that the
// "Text" region is as high as the lines the canvas draws.
#pragma once

#include <string>

#include "mms/TTextMeasurer.h"

class TCanvas;

class TCanvasTextMeasurer : public TTextMeasurer {
 public:
  // Measures on the canvas of a new bitmap each time: nothing is kept from one platform run to
  // the next.
  TCanvasTextMeasurer() = default;
  // Measures on `canvas` (not owned), the one the lines are then drawn on.
  explicit TCanvasTextMeasurer(TCanvas* canvas) : canvas_(canvas) {}

  int TextWidth(const std::string& text) const override;

 private:
  TCanvas* canvas_ = nullptr;
};
