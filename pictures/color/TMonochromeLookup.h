// TMonochromeLookup: black or white, by luminance.
#pragma once

#include "pictures/color/TColorLookup.h"

class TMonochromeLookup : public TColorLookup {
 public:
  explicit TMonochromeLookup(HPALETTE palette) : TColorLookup(palette) { colors_ = 2; }
  int NearestIndex(BYTE red, BYTE green, BYTE blue, BYTE& outRed, BYTE& outGreen, BYTE& outBlue) override {
    const bool white = red * 77 + green * 150 + blue * 29 >= 32513;
    outRed = outGreen = outBlue = white ? 255 : 0;
    return white ? 1 : 0;
  }
};
