// One-pixel frames of the control library: lines by side sets, bevels, 3-D and button borders
// in system colours, the same shapes in shades of one colour, and frames by style. Each routine
// gives back, through its last parameter, the rectangle left inside what it drew. A side whose
// colour is clNone is not drawn.
#pragma once

#include "platform/forms/TCanvas.h"

enum TSide { sdLeft, sdTop, sdRight, sdBottom };
// A set of sides: bit 1 left, 2 top, 4 right, 8 bottom.
using TSides = unsigned;
constexpr TSides SideBit(TSide s) { return 1u << s; }
constexpr TSides kAllSides = 15;

enum TFrameStyleEx {
  fsNone,
  fsFlat,
  fsGroove,
  fsBump,
  fsLowered,
  fsButtonDown,
  fsRaised,
  fsButtonUp,
  fsStatus,
  fsPopup,
  fsFlatBold,
  fsFlatRounded
};

void DrawSides(TCanvas* canvas, const RECT& bounds, TColor topLeft, TSides sides, TColor bottomRight,
               RECT& inner);
void DrawBevel(TCanvas* canvas, const RECT& bounds, TColor topLeft, TSides sides, int count,
               TColor bottomRight, RECT& inner);

void DrawCtl3DBorder(TCanvas* canvas, const RECT& bounds, bool lowered, RECT& inner);
void DrawCtl3DBorderSides(TCanvas* canvas, const RECT& bounds, bool lowered, TSides sides, RECT& inner);
void DrawButtonBorder(TCanvas* canvas, const RECT& bounds, bool down, RECT& inner);
void DrawButtonBorderSides(TCanvas* canvas, const RECT& bounds, bool down, TSides sides, RECT& inner);

// fsFlatRounded draws nothing here: rounded frames have their own routine.
void DrawBorder(TCanvas* canvas, const RECT& bounds, TFrameStyleEx style, RECT& inner);
void DrawBorderSides(TCanvas* canvas, const RECT& bounds, TFrameStyleEx style, TSides sides, RECT& inner);

// The shapes of DrawBorder in shades of `color` (DarkerColor/LighterColor of it).
void DrawColorBorder(TCanvas* canvas, const RECT& bounds, TColor color, TFrameStyleEx style, RECT& inner);
void DrawColorBorderSides(TCanvas* canvas, const RECT& bounds, TColor color, TFrameStyleEx style,
                          TSides sides, RECT& inner);
void DrawColorButtonBorder(TCanvas* canvas, const RECT& bounds, TColor color, bool down, RECT& inner);
void DrawColorButtonBorderSides(TCanvas* canvas, const RECT& bounds, TColor color, bool down, TSides sides,
                                RECT& inner);

// One outline round the rectangle whose right and bottom are given inclusive: left and top in
// `first`, right and bottom in `second`, drawn as one path from the bottom-left corner.
void DrawRaisedEdge(TCanvas* canvas, int left, int top, int right, int bottom, TColor first, TColor second);
