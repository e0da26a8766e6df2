// TRLEEncoder: GIF image data without compression patents: runs of one pixel value sent as codes
// that a standard LZW decoder, building its table in step, reads back as runs of that pixel.
#pragma once

#include "pictures/gifcoding/TGIFEncoder.h"

class TRLEEncoder : public TGIFEncoder {
 protected:
  void EmitClear() override;
  void EncodeData() override;

 private:
  void EmitPlain(int code);
  void Flush(std::int64_t count);
  void FlushFromClear(std::int64_t count);
  void FlushClearOrRepeat(std::int64_t count);
  void FlushWithTable(std::int64_t count);
  void ResetOutClear();
  // The fewest codes that send `count` pixels as growing runs 1, 2, 3... with `codes` usable.
  static std::int64_t TriangleCount(std::int64_t count, std::int64_t codes);

  int maximumCodes_ = 0;
  int outBumpInit_ = 0;
  int outClearInit_ = 0;
  int runPixel_ = -1;
  int runTableMax_ = 0;
  int runTablePixel_ = 0;
  int outCount_ = 0;
  int outClear_ = 0;
  int outBump_ = 0;
};
