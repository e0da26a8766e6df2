// TGIFEncoder: what both GIF image data coders share: the code-size byte, packing codes of a
// growing width least significant bit first into sub-blocks, and the walk over the pixels in
// row order or in the four passes of an interlaced frame.
#pragma once

#include <memory>

#include "pictures/GIFException.h"
#include "pictures/gifcoding/TGIFWriter.h"

class TGIFEncoder : public TObject {
 public:
  // Writes the image data of `pixels` (rows top-down, `width` x `height`) to `stream`: code-size
  // byte, sub-blocks, terminator. A pixel at or above `colorCount` raises "Color not in color
  // table" with what was written so far left in the stream.
  void Encode(TStream* stream, int bitsPerPixel, int colorCount, const BYTE* pixels, bool interlaced,
              int height, int width);
  TGIFWarning Warning;

 protected:
  virtual void EmitCode(int code);
  virtual void EmitClear();
  virtual void EncodeData() = 0;

  // The pixel at the walk's position; raises "Color not in color table" for an index at or
  // above the colour count.
  int CurrentPixel() const;
  // Moves the walk one pixel on; false when all pixels were visited.
  bool NextPixel();

  int colorCount_ = 0;
  int bitsPerPixel_ = 0;
  TStream* stream_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  bool interlaced_ = false;
  const BYTE* pixels_ = nullptr;
  TGIFWriter* writer_ = nullptr;
  std::uint32_t outputBucket_ = 0;
  int outputBits_ = 0;
  bool clearFlag_ = false;
  int bitsPerCode_ = 0;
  int initialBitsPerCode_ = 0;
  int maxCode_ = 0;
  int clearCode_ = 0;
  int endCode_ = 0;
  int baseCode_ = 0;
  const BYTE* pixel_ = nullptr;
  std::int64_t columnsLeft_ = 0;
  int row_ = 0;
  int pass_ = 0;

 private:
  void EmitEnd();
};

inline int TGIFEncoder::CurrentPixel() const {
  const int pixel = *pixel_;
  if (pixel >= colorCount_) GIFError(sInvalidColor);
  return pixel;
}

inline bool TGIFEncoder::NextPixel() {
  ++pixel_;
  if (--columnsLeft_ > 0) return true;
  if (!interlaced_) return false;
  columnsLeft_ = width_;
  // The passes start at rows 0, 4, 2 and 1 and step by 8, 8, 4 and 2; one whose first row lies
  // below the frame is passed over, as a decoder does.
  static constexpr int kStart[] = {0, 4, 2, 1};
  static constexpr int kStep[] = {8, 8, 4, 2};
  row_ += kStep[pass_];
  while (row_ >= height_) {
    if (++pass_ > 3) return false;
    row_ = kStart[pass_];
  }
  pixel_ = pixels_ + std::size_t(row_) * std::size_t(width_);
  return true;
}
