#include "pictures/gifcoding/TGIFWriter.h"

#include <algorithm>
#include <cstring>

TGIFWriter::TGIFWriter(TStream* stream, TGIFWarning warning) : TGIFStream(stream, std::move(warning)) {
  // Byte 0 holds the sub-block's length.
  bufferCount_ = 1;
}

TGIFWriter::~TGIFWriter() {
  if (!outputDirty_) return;
  try {
    FlushBuffer();
  } catch (...) {
    // Only reached on a way out by failure: the coder flushes itself when it succeeds.
  }
}

int TGIFWriter::Write(const void* buffer, int count) {
  outputDirty_ = true;
  const BYTE* from = static_cast<const BYTE*>(buffer);
  int left = count;
  while (left > 0) {
    const int n = std::min(left, 256 - bufferCount_);
    std::memcpy(buffer_ + bufferCount_, from, std::size_t(n));
    bufferCount_ += n;
    from += n;
    left -= n;
    if (bufferCount_ == 256) FlushBuffer();
  }
  return count;
}

void TGIFWriter::WriteByte(BYTE value) {
  outputDirty_ = true;
  buffer_[bufferCount_++] = value;
  if (bufferCount_ == 256) FlushBuffer();
}

void TGIFWriter::FlushBuffer() {
  if (bufferCount_ > 1) {
    buffer_[0] = BYTE(bufferCount_ - 1);
    const int n = bufferCount_;
    bufferCount_ = 1;
    stream_->WriteBuffer(buffer_, n);
  }
  outputDirty_ = false;
}
