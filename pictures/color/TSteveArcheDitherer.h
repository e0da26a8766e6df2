// TSteveArcheDitherer: the error diffusion of Stevenson and Arce: four rows, three pixels to each side
// (divisor 200).
#pragma once

#include "pictures/color/DitherErrorRows.h"

class TSteveArcheDitherer : public TDitherEngine {
 public:
  TSteveArcheDitherer(int width, TColorLookup* lookup) : TDitherEngine(width, lookup), rows_(4, 3, width) {}
  int DitherPixel(BYTE red, BYTE green, BYTE blue, BYTE& outRed, BYTE& outGreen, BYTE& outBlue) override;
  void SkipPixel() override;
  void NextRow() override;

 private:
  DitherErrorRows rows_;
};
