#include "pictures/color/TFloydSteinbergDitherer.h"

#include <algorithm>

#include "pictures/color/DitherErrorRows.h"

TFloydSteinbergDitherer::TFloydSteinbergDitherer(int width, TColorLookup* lookup)
    : TDitherEngine(width, lookup) {
  for (auto& row : errors_) row.assign(std::size_t(width) + 2, 0);
}

int TFloydSteinbergDitherer::DitherPixel(BYTE red, BYTE green, BYTE blue, BYTE& outRed, BYTE& outGreen,
                                         BYTE& outBlue) {
  const int components[3] = {red, green, blue};
  int value[3];
  for (int channel = 0; channel < 3; ++channel) {
    const int waiting = errors_[channel][std::size_t(pointer_ + direction_)] + current_[channel];
    value[channel] = std::clamp(components[channel] + FloorDiv(waiting + 8, 16), 0, 255);
  }
  const int index =
      TDitherEngine::DitherPixel(BYTE(value[0]), BYTE(value[1]), BYTE(value[2]), outRed, outGreen, outBlue);
  const int chosen[3] = {outRed, outGreen, outBlue};
  // An error of 0 goes through the same steps: the row entry must be written and the carries
  // moved on, or the next row would take an error that was already used.
  for (int channel = 0; channel < 3; ++channel) Spread(channel, value[channel] - chosen[channel]);
  pointer_ += direction_;
  return index;
}

void TFloydSteinbergDitherer::Spread(int channel, int error) {
  errors_[channel][std::size_t(pointer_)] = belowPrevious_[channel] + 3 * error;
  belowPrevious_[channel] = below_[channel] + 5 * error;
  below_[channel] = error;
  current_[channel] = 7 * error;
}

void TFloydSteinbergDitherer::SkipPixel() {
  // The pixel neither takes the error coming to it nor gives any.
  for (int channel = 0; channel < 3; ++channel) Spread(channel, 0);
  StepColumn();
  pointer_ += direction_;
}

void TFloydSteinbergDitherer::NextRow() {
  for (int channel = 0; channel < 3; ++channel) {
    errors_[channel][std::size_t(pointer_)] = belowPrevious_[channel];
    current_[channel] = below_[channel] = belowPrevious_[channel] = 0;
  }
  TDitherEngine::NextRow();
  pointer_ = direction_ > 0 ? 0 : width_ + 1;
}
