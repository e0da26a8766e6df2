// Font routines of the control library: a font turned by an angle, whether a font is TrueType,
// the least height a line of it needs and its average character width.
#pragma once

#include "platform/forms/TCanvas.h"
#include "platform/forms/TFont.h"

// A new font handle (the caller deletes it) like `font`, its escapement `angle` x 10 (tenths of
// a degree), weight 700 when bold else 400.
HFONT RotateFont(TFont* font, int angle);
bool IsTrueTypeFont(TFont* font);
// The font's height plus 2.
int GetMinFontHeight(TFont* font);
// The width of the 52 letters A-Z and a-z divided by 52, rounded.
int GetAvgCharWidth(TCanvas* canvas);
