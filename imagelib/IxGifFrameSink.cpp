#include "imagelib/IxGifFrameSink.h"

#include "imagelib/IxImage.h"

namespace {
constexpr int kPassStart[4] = {0, 4, 2, 1};
constexpr int kPassStep[4] = {8, 8, 4, 2};
}  // namespace

IxGifFrameSink::IxGifFrameSink(IxImage& picture, const Frame& frame, const IxRGBQuad* colours)
    : picture_(picture), frame_(frame), colours_(colours), mask_((1 << frame.bpp) - 1) {}

int IxGifFrameSink::NextRow() {
  if (!frame_.interlaced) return row_ < frame_.height ? row_++ : -1;
  if (pass_ >= 4) return -1;
  const int row = row_;
  row_ += kPassStep[pass_];
  while (pass_ < 4 && row_ >= frame_.height) {
    ++pass_;
    if (pass_ < 4) row_ = kPassStart[pass_];
  }
  return row;
}

bool IxGifFrameSink::PutLine(const uint8_t* indices, int count) {
  const int row = NextRow();
  if (row < 0) return false;
  const int64_t pictureWidth = picture_.GetWidth();
  const int64_t pictureHeight = picture_.GetHeight();
  const int64_t screenRow = static_cast<int64_t>(frame_.top) + row;
  if (screenRow >= pictureHeight) return true;
  const int64_t y = pictureHeight - 1 - screenRow;  // rows are stored bottom-up
  int64_t n = count < frame_.width ? count : frame_.width;
  if (frame_.left + n > pictureWidth) n = pictureWidth - frame_.left;
  uint8_t* bits = picture_.GetBits(static_cast<int32_t>(y));
  if (bits == nullptr || n <= 0) return true;

  if (colours_ != nullptr) {
    const int skip = frame_.colourSkipsTransparent ? frame_.transIndex : -1;
    uint8_t* p = bits + static_cast<size_t>(frame_.left) * 3;
    uint8_t* alpha = picture_.AlphaGetPointer();
    if (alpha != nullptr) alpha += y * pictureWidth + frame_.left;
    for (int64_t x = 0; x < n; ++x, p += 3) {
      const int index = indices[x] & mask_;
      if (index == skip) continue;
      const IxRGBQuad& c = colours_[index];
      p[0] = c.rgbBlue;
      p[1] = c.rgbGreen;
      p[2] = c.rgbRed;
      if (alpha != nullptr) alpha[x] = 255;
    }
    return true;
  }
  const bool byteRows = picture_.GetBpp() == 8;
  for (int64_t x = 0; x < n; ++x) {
    const int index = indices[x] & mask_;
    if (index == frame_.transIndex) continue;
    if (byteRows)
      bits[frame_.left + x] = static_cast<uint8_t>(index);
    else
      picture_.SetPixelIndex(frame_.left + x, y, static_cast<uint8_t>(index));
  }
  return true;
}
