// TNetscapeColorLookup: the 216-colour web palette, by arithmetic.
#pragma once

#include "pictures/color/TColorLookup.h"

class TNetscapeColorLookup : public TColorLookup {
 public:
  explicit TNetscapeColorLookup(HPALETTE palette) : TColorLookup(palette) { colors_ = 216; }
  int NearestIndex(BYTE red, BYTE green, BYTE blue, BYTE& outRed, BYTE& outGreen, BYTE& outBlue) override {
    const int r = (red + 3) / 51, g = (green + 3) / 51, b = (blue + 3) / 51;
    outRed = BYTE(r * 51);
    outGreen = BYTE(g * 51);
    outBlue = BYTE(b * 51);
    return r * 36 + g * 6 + b;
  }
};
