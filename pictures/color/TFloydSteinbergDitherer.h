// TFloydSteinbergDitherer: Floyd and Steinberg's error diffusion (7/16 to the next pixel, 3/16,
// 5/16 and 1/16 to the three below) with one error row per channel and three carries.
#pragma once

#include <vector>

#include "pictures/color/TDitherEngine.h"

class TFloydSteinbergDitherer : public TDitherEngine {
 public:
  TFloydSteinbergDitherer(int width, TColorLookup* lookup);
  int DitherPixel(BYTE red, BYTE green, BYTE blue, BYTE& outRed, BYTE& outGreen, BYTE& outBlue) override;
  void SkipPixel() override;
  void NextRow() override;

 private:
  // Entry c + 1 holds the error waiting for column c of the row being walked; the pointer stands
  // one entry behind the column in the direction of travel, where the row below is written.
  void Spread(int channel, int error);

  std::vector<int> errors_[3];
  int pointer_ = 0;
  int current_[3] = {};
  int below_[3] = {};
  int belowPrevious_[3] = {};
};
