// TSlowColorLookup: any palette, through the drawing layer's nearest-entry search.
#pragma once

#include <vector>

#include "pictures/color/TColorLookup.h"

class TSlowColorLookup : public TColorLookup {
 public:
  explicit TSlowColorLookup(HPALETTE palette);
  int NearestIndex(BYTE red, BYTE green, BYTE blue, BYTE& outRed, BYTE& outGreen, BYTE& outBlue) override;

 private:
  std::vector<PALETTEENTRY> entries_;
};
