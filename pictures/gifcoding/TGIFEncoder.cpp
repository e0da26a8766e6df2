#include "pictures/gifcoding/TGIFEncoder.h"

#include "pictures/GIFException.h"
#include "pictures/gifcoding/GIFStreamRoutines.h"

void TGIFEncoder::Encode(TStream* stream, int bitsPerPixel, int colorCount, const BYTE* pixels,
                         bool interlaced, int height, int width) {
  stream_ = stream;
  colorCount_ = colorCount;
  pixels_ = pixels;
  interlaced_ = interlaced;
  height_ = height;
  width_ = width;
  if (bitsPerPixel < 2) bitsPerPixel = 2;
  bitsPerPixel_ = bitsPerPixel;
  initialBitsPerCode_ = bitsPerPixel + 1;
  WriteByte(stream, BYTE(bitsPerPixel));

  bitsPerCode_ = initialBitsPerCode_;
  maxCode_ = (1 << initialBitsPerCode_) - 1;
  clearCode_ = 1 << (initialBitsPerCode_ - 1);
  endCode_ = clearCode_ + 1;
  baseCode_ = clearCode_ + 2;
  outputBucket_ = 0;
  outputBits_ = 0;
  clearFlag_ = false;
  columnsLeft_ = interlaced ? width : std::int64_t(width) * height;
  row_ = 0;
  pass_ = 0;
  pixel_ = pixels;

  TGIFWriter writer(stream, Warning);
  writer_ = &writer;
  struct Reset {
    TGIFWriter*& writer;
    ~Reset() { writer = nullptr; }
  } reset{writer_};
  if (pixels && width > 0 && height > 0) EncodeData();
  EmitEnd();
  writer.FlushBuffer();
  WriteByte(stream, 0);
}

void TGIFEncoder::EmitCode(int code) {
  if (outputBits_ > 0)
    outputBucket_ = (outputBucket_ & ((1u << outputBits_) - 1)) | (std::uint32_t(code) << outputBits_);
  else
    outputBucket_ = std::uint32_t(code);
  outputBits_ += bitsPerCode_;
  while (outputBits_ >= 8) {
    writer_->WriteByte(BYTE(outputBucket_ & 0xFF));
    outputBucket_ >>= 8;
    outputBits_ -= 8;
  }
}

void TGIFEncoder::EmitClear() {
  clearFlag_ = true;
  EmitCode(clearCode_);
}

void TGIFEncoder::EmitEnd() {
  EmitCode(endCode_);
  while (outputBits_ > 0) {
    writer_->WriteByte(BYTE(outputBucket_ & 0xFF));
    outputBucket_ >>= 8;
    outputBits_ = outputBits_ > 8 ? outputBits_ - 8 : 0;
  }
}
