// TBurkesDitherer: Burkes' error diffusion: two rows, two pixels to each side (divisor 32).
#pragma once

#include "pictures/color/DitherErrorRows.h"

class TBurkesDitherer : public TDitherEngine {
 public:
  TBurkesDitherer(int width, TColorLookup* lookup) : TDitherEngine(width, lookup), rows_(2, 2, width) {}
  int DitherPixel(BYTE red, BYTE green, BYTE blue, BYTE& outRed, BYTE& outGreen, BYTE& outBlue) override;
  void SkipPixel() override;
  void NextRow() override;

 private:
  DitherErrorRows rows_;
};
