// DitherErrorRows: the error rows of an error-diffusion engine: per colour channel `rows` rows of
// ints (row 0 the current image row), one entry per column plus a margin on each side wide enough
// for the matrix's reach, with one position that moves with the engine's column. Errors are kept
// multiplied by the matrix's divisor.
#pragma once

#include <algorithm>
#include <vector>

#include "pictures/color/TDitherEngine.h"

// a / b rounded down (b > 0).
inline int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

class DitherErrorRows {
 public:
  DitherErrorRows(int rows, int margin, int width)
      : rows_(rows),
        margin_(margin),
        stride_(width + 2 * margin),
        entries_(std::size_t(3 * rows) * std::size_t(stride_), 0),
        position_(margin) {}

  // The component corrected by the error waiting at the position, 0..255. The error is rounded
  // to the nearest level: truncating negative errors towards zero would make every dithered
  // picture lighter than its source.
  int Corrected(int channel, int component, int divisor) const {
    const int value = component + FloorDiv(Row(channel, 0)[position_] + divisor / 2, divisor);
    return std::clamp(value, 0, 255);
  }
  // Adds error x weight at `offset` pixels from the position, along `direction`, in `row`.
  void Spread(int channel, int row, int offset, int direction, int weightedError) {
    Row(channel, row)[position_ + offset * direction] += weightedError;
  }
  void Move(int direction) { position_ += direction; }

  // One pixel of an error-diffusion engine: correct the components by the waiting error, map
  // them through the plain engine (which steps the column), hand each channel's error (corrected
  // value minus chosen component) to `spread`, and move on.
  template <typename Engine, typename SpreadFn>
  int Pixel(Engine* engine, int divisor, BYTE red, BYTE green, BYTE blue, BYTE& outRed, BYTE& outGreen,
            BYTE& outBlue, SpreadFn spread) {
    const int value[3] = {Corrected(0, red, divisor), Corrected(1, green, divisor),
                          Corrected(2, blue, divisor)};
    const int index = engine->TDitherEngine::DitherPixel(BYTE(value[0]), BYTE(value[1]), BYTE(value[2]),
                                                         outRed, outGreen, outBlue);
    const int chosen[3] = {outRed, outGreen, outBlue};
    for (int channel = 0; channel < 3; ++channel) {
      const int error = value[channel] - chosen[channel];
      if (error != 0) spread(channel, error);
    }
    Move(engine->Direction());
    return index;
  }
  // Row 0 is done: the others move up, a cleared row becomes the last; the position goes to
  // `column`.
  void Rotate(int column) {
    for (int channel = 0; channel < 3; ++channel) {
      int* first = Row(channel, 0);
      std::fill(first, first + stride_, 0);
      std::rotate(first, first + stride_, first + std::ptrdiff_t(stride_) * rows_);
    }
    position_ = margin_ + column;
  }

 private:
  int* Row(int channel, int row) {
    return entries_.data() + std::size_t(channel * rows_ + row) * std::size_t(stride_);
  }
  const int* Row(int channel, int row) const {
    return entries_.data() + std::size_t(channel * rows_ + row) * std::size_t(stride_);
  }

  int rows_;
  int margin_;
  int stride_;
  std::vector<int> entries_;
  int position_;
};
