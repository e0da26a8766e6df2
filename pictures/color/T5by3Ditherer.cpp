#include "pictures/color/T5by3Ditherer.h"

int T5by3Ditherer::DitherPixel(BYTE red, BYTE green, BYTE blue, BYTE& outRed, BYTE& outGreen, BYTE& outBlue) {
  return rows_.Pixel(this, divisor_, red, green, blue, outRed, outGreen, outBlue,
                     [this](int channel, int error) { SpreadError(channel, error); });
}

void T5by3Ditherer::SkipPixel() {
  StepColumn();
  rows_.Move(direction_);
}

void T5by3Ditherer::NextRow() {
  TDitherEngine::NextRow();
  rows_.Rotate(column_);
}
