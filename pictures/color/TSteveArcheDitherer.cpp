#include "pictures/color/TSteveArcheDitherer.h"

int TSteveArcheDitherer::DitherPixel(BYTE red, BYTE green, BYTE blue, BYTE& outRed, BYTE& outGreen,
                                     BYTE& outBlue) {
  return rows_.Pixel(this, 200, red, green, blue, outRed, outGreen, outBlue, [this](int channel, int error) {
    rows_.Spread(channel, 0, 2, direction_, error * 32);
    rows_.Spread(channel, 1, -3, direction_, error * 12);
    rows_.Spread(channel, 1, -1, direction_, error * 26);
    rows_.Spread(channel, 1, 1, direction_, error * 30);
    rows_.Spread(channel, 1, 3, direction_, error * 16);
    rows_.Spread(channel, 2, -2, direction_, error * 12);
    rows_.Spread(channel, 2, 0, direction_, error * 26);
    rows_.Spread(channel, 2, 2, direction_, error * 12);
    rows_.Spread(channel, 3, -3, direction_, error * 5);
    rows_.Spread(channel, 3, -1, direction_, error * 12);
    rows_.Spread(channel, 3, 1, direction_, error * 12);
    rows_.Spread(channel, 3, 3, direction_, error * 5);
  });
}

void TSteveArcheDitherer::SkipPixel() {
  StepColumn();
  rows_.Move(direction_);
}

void TSteveArcheDitherer::NextRow() {
  TDitherEngine::NextRow();
  rows_.Rotate(column_);
}
