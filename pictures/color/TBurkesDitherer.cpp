#include "pictures/color/TBurkesDitherer.h"

int TBurkesDitherer::DitherPixel(BYTE red, BYTE green, BYTE blue, BYTE& outRed, BYTE& outGreen,
                                 BYTE& outBlue) {
  return rows_.Pixel(this, 32, red, green, blue, outRed, outGreen, outBlue, [this](int channel, int error) {
    rows_.Spread(channel, 0, 1, direction_, error * 8);
    rows_.Spread(channel, 0, 2, direction_, error * 4);
    rows_.Spread(channel, 1, -2, direction_, error * 2);
    rows_.Spread(channel, 1, -1, direction_, error * 4);
    rows_.Spread(channel, 1, 0, direction_, error * 8);
    rows_.Spread(channel, 1, 1, direction_, error * 4);
    rows_.Spread(channel, 1, 2, direction_, error * 2);
  });
}

void TBurkesDitherer::SkipPixel() {
  StepColumn();
  rows_.Move(direction_);
}

void TBurkesDitherer::NextRow() {
  TDitherEngine::NextRow();
  rows_.Rotate(column_);
}
