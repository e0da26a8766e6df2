// UTF-16 text on a canvas: output, clipped output and measuring, in the canvas's font.
#pragma once

#include "platform/forms/TCanvas.h"
#include "platform/rtl/WideString.h"

// Leaves the pen at (x + text width, y).
void WideCanvasTextOut(TCanvas* canvas, int x, int y, const WideString& text);
// Clipped to `rect`, which is filled first unless the brush is clear.
void WideCanvasTextRect(TCanvas* canvas, const RECT& rect, int x, int y, const WideString& text);
SIZE WideDCTextExtent(HDC dc, const WideString& text);
SIZE WideCanvasTextExtent(TCanvas* canvas, const WideString& text);
int WideCanvasTextWidth(TCanvas* canvas, const WideString& text);
int WideCanvasTextHeight(TCanvas* canvas, const WideString& text);
