// Boxes of the control library: a rectangle centred in another, drop shadows, one-pixel boxes and
// their corners, dotted and inverted focus borders, and flat borders with cut corners.
#pragma once

#include "controls/FrameDrawing.h"
#include "platform/forms/TCanvas.h"

// A w x h rectangle centred in `rect` (halves of the spare room, truncated).
RECT CenterRect(const RECT& rect, int w, int h);
// `depth` bands along the right and bottom edges, blended with `color` from weight 128 down.
void DrawDropShadow(TCanvas* canvas, const RECT& rect, int depth, TColor color);
void DrawBox(TCanvas* canvas, const RECT& rect, TColor color);
// Only the four corners, as L-shapes of `length` pixels.
void DrawBoxCorners(TCanvas* canvas, const RECT& rect, TColor color, int length);
void DrawDashedBorder(TCanvas* canvas, const RECT& rect, TColor color);
// Every second pixel of the outline inverted: a second call takes it away.
void DrawFocusBorder(TCanvas* canvas, const RECT& rect);
// A one-pixel frame whose drawn corners are cut by one pixel.
void DrawRoundedFlatBorder(TCanvas* canvas, const RECT& rect, TColor color, TSides sides);
