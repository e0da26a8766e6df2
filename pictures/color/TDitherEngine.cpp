#include "pictures/color/TDitherEngine.h"

int TDitherEngine::DitherPixel(BYTE red, BYTE green, BYTE blue, BYTE& outRed, BYTE& outGreen, BYTE& outBlue) {
  const int index = lookup_->NearestIndex(red, green, blue, outRed, outGreen, outBlue);
  StepColumn();
  return index;
}

void TDitherEngine::NextRow() {
  direction_ = -direction_;
  column_ = direction_ > 0 ? 0 : width_ - 1;
}
