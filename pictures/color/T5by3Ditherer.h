// T5by3Ditherer: the base of the engines whose matrix reaches two pixels to each side and two
// rows down (Stucki, Sierra, Jarvis-Judice-Ninke): three error rows per channel; each subclass
// spreads an error by its own weights.
#pragma once

#include "pictures/color/DitherErrorRows.h"

class T5by3Ditherer : public TDitherEngine {
 public:
  T5by3Ditherer(int width, TColorLookup* lookup, int divisor = 1)
      : TDitherEngine(width, lookup), divisor_(divisor), rows_(3, 2, width) {}
  int DitherPixel(BYTE red, BYTE green, BYTE blue, BYTE& outRed, BYTE& outGreen, BYTE& outBlue) override;
  void SkipPixel() override;
  void NextRow() override;

 protected:
  // Adds `error` x weight to the matrix's places of `channel` in rows 0, 1 and 2 through Put.
  virtual void SpreadError(int channel, int error) = 0;
  void Put(int channel, int row, int offset, int weightedError) {
    rows_.Spread(channel, row, offset, direction_, weightedError);
  }

  int divisor_;

 private:
  DitherErrorRows rows_;
};
