// TGIFWriter: cuts what a coder writes into data sub-blocks of at most 255 bytes, each written
// with its length byte in front. The last, short sub-block goes out when the writer is freed.
#pragma once

#include "pictures/gifcoding/TGIFStream.h"

class TGIFWriter : public TGIFStream {
 public:
  TGIFWriter(TStream* stream, TGIFWarning warning);
  // Flushes what is left; a failure here is swallowed, so coders flush themselves on success.
  ~TGIFWriter() override;
  int Write(const void* buffer, int count) override;
  void WriteByte(BYTE value);
  // Writes the buffered bytes as one sub-block.
  void FlushBuffer();

 private:
  bool outputDirty_ = false;
};
