// Gradient fills of the control library: linear bands across or down a rectangle (from one edge,
// or from the middle out), diagonal bands, and nested boxes from the edges to the centre. The
// colour steps in 16.16 fixed point and bands are at least a few pixels long, so a gradient of
// few colours shows broad stripes, as the controls that use it always drew them.
#pragma once

#include "platform/forms/TCanvas.h"

enum TGradientDirection {
  gdDiagonalUp,
  gdDiagonalDown,
  gdHorizontalEnd,
  gdHorizontalCenter,
  gdHorizontalBox,
  gdVerticalEnd,
  gdVerticalCenter,
  gdVerticalBox,
  gdSquareBox,
  gdBigSquareBox
};

// Draws into a bitmap of the rectangle's size, then onto the canvas; nothing for an empty rectangle.
void PaintGradient(TCanvas* canvas, const RECT& rect, TGradientDirection direction, int colorCount,
                   TColor start, TColor stop);

// Bands along `length` pixels of `dc` from `start` to `stop`: vertical bands (columns) when
// `alongX`, else horizontal ones (rows), each `span` pixels across, at (x, y). `centered` runs
// start..stop over the first half and back over the second.
void FillGrad(HDC dc, int x, int y, bool alongX, int span, int length, int colorCount, COLORREF start,
              COLORREF stop, bool centered);
// Nested rectangles from `rect`'s edges towards its centre, from `stop` to `start`, one colour per
// ring (the colour count does not apply).
void FillGradRect(HDC dc, const RECT& rect, int colorCount, COLORREF start, COLORREF stop);
// Diagonal bands over `rect`; a negative width runs them the other way.
void FillGradDiag(HDC dc, const RECT& rect, int width, int colorCount, COLORREF start, COLORREF stop);
