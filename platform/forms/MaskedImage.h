// Pictures with covered and uncovered pixels (icons, image list entries) drawn on a canvas:
// the uncovered pixels leave what is beneath; a greyed drawing shows the covered shape
// embossed in the 3D colours.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/GdiTypes.h"

class TCanvas;

struct TMaskedImage {
  int Width = 0, Height = 0;
  std::vector<std::uint32_t> Pixels;  // top-down rows, 0x00RRGGBB
  std::vector<std::uint8_t> Opaque;   // 1 where the picture covers

  // Stretches the picture into `dest`.
  void Draw(TCanvas* canvas, const RECT& dest) const;
  // The covered shape in clBtnHighlight one pixel down and right, then in clBtnShadow.
  void DrawDisabled(TCanvas* canvas, int x, int y) const;
};
