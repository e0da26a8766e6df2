// Frames of whole controls: an outer frame, an optional bevel and an inner frame by style (flat
// styles in shades of a frame colour, rounded flat ones with cut corners); a control's frame over
// its area, optionally over a 2-pixel bevel in its colour; and the background of a group bar.
#pragma once

#include "controls/FrameDrawing.h"
#include "controls/XPColors.h"
#include "platform/forms/TCanvas.h"

// Draws `outer`, then a bevel of `bevelWidth` pixels in `bevelColor` (none when 0), then `inner`;
// `rect` becomes what is left inside.
void DrawInnerOuterBorders(TCanvas* canvas, RECT& rect, TFrameStyleEx outer, TFrameStyleEx inner,
                           int bevelWidth, TColor bevelColor, TColor frameColor);
// The frame of `style` round (0, 0, width, height); with `bevel` a 2-pixel bevel in `controlColor`
// inside it. A frame colour other than clWindow draws the frame in shades of that colour.
RECT DrawFrame(TCanvas* canvas, int width, int height, TFrameStyleEx style, TColor frameColor, bool bevel,
               TColor controlColor);
// The themed explorer-bar background, else a vertical gradient in the group-bar colours.
void DrawGroupBarBackground(TCanvas* canvas, const RECT& rect, TSkGradientColorStyle style);
