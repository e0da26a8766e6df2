// TGrayScaleLookup: a 256-level grey palette, by luminance.
#pragma once

#include "pictures/color/TColorLookup.h"

class TGrayScaleLookup : public TColorLookup {
 public:
  explicit TGrayScaleLookup(HPALETTE palette) : TColorLookup(palette) { colors_ = 256; }
  int NearestIndex(BYTE red, BYTE green, BYTE blue, BYTE& outRed, BYTE& outGreen, BYTE& outBlue) override {
    const int grey = (red * 77 + green * 150 + blue * 29) >> 8;
    outRed = outGreen = outBlue = BYTE(grey);
    return grey;
  }
};
