// A GIF code-stream coder that needs no LZW table on the writer's side: it emits pixel codes,
// and for runs of one pixel value the codes that any standard decoder's table is known to hold
// for such runs (built up as a ramp right after a clear code). The output is a valid GIF code
// stream that every decoder reads; it is larger than LZW's except on long runs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "imagelib/IxGifCodeWriter.h"

class IxGifRleEncoder {
 public:
  // `initBits` is the minimum code size plus one (3..9). Appends the code stream's sub-blocks
  // to `out`, without the zero-length terminator.
  void Compress(const uint8_t* pixels, size_t count, int initBits, std::vector<uint8_t>& out);

 private:
  void Output(int code);
  // Emits a pixel or table code and keeps the count of codes since the last clear, growing the
  // width and clearing the table when the decoder's table would demand it.
  void OutputPlain(int code);
  void DidClear();
  void MaxOutClear();
  void ResetOutClear();
  void Flush();
  void FlushFromClear(int count);
  void FlushClearOrRepeat(int count);
  void FlushWithTable(int count);
  // The number of ramp codes (runs of 1, 2, 3, ... pixels) that cover `count` pixels when a
  // ramp can hold at most `rampCodes` codes before the table must be cleared.
  static int RampCost(unsigned count, unsigned rampCodes);

  IxGifCodeWriter* writer_ = nullptr;
  int clearCode_ = 0;
  int endCode_ = 0;
  int baseCode_ = 0;
  int initBits_ = 0;
  int width_ = 0;
  int bumpInit_ = 0;
  int bump_ = 0;
  int clearInit_ = 0;
  int clearAt_ = 0;
  int maxCodes_ = 0;
  int outCount_ = 0;
  bool justCleared_ = false;
  int runPixel_ = 0;
  int runCount_ = 0;
  int tablePixel_ = 0;
  int tableMax_ = 0;
};
