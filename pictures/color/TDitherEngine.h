// TDitherEngine: maps the pixels of one image, row by row, to palette indices through a colour
// lookup, walking serpentine (left to right, then right to left). The plain engine takes the
// nearest colour; the error-diffusion engines derived from it spread each pixel's error over
// neighbours not yet visited.
//
// The caller, per row: start at Column(); while 0 <= Column() < width, hand the pixel there to
// DitherPixel (or pass it over with SkipPixel) and move one pixel in Direction(); then NextRow.
#pragma once

#include "pictures/color/TColorLookup.h"

class TDitherEngine : public TObject {
 public:
  TDitherEngine(int width, TColorLookup* lookup) : lookup_(lookup), width_(width) {}
  // The index of the chosen colour, which comes back in the out components; steps the column.
  virtual int DitherPixel(BYTE red, BYTE green, BYTE blue, BYTE& outRed, BYTE& outGreen, BYTE& outBlue);
  // Passes over the pixel at the column (one the caller leaves untouched): it takes and spreads
  // no error, and the engine's place in its error rows moves with the column.
  virtual void SkipPixel() { StepColumn(); }
  virtual void NextRow();

  int Direction() const { return direction_; }
  int Column() const { return column_; }
  int Width() const { return width_; }

 protected:
  void StepColumn() { column_ += direction_; }

  int direction_ = 1;
  int column_ = 0;
  TColorLookup* lookup_;
  int width_;
};
