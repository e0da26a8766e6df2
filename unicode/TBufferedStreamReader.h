// A read-only stream over another stream that reads it through a buffer, for many small reads
// of a large source. The source is not owned; its size is taken once, and a read returns only
// the bytes the source actually delivered.
#pragma once

#include <vector>

#include "platform/rtl/TStream.h"

class TBufferedStreamReader : public TStream {
 public:
  TBufferedStreamReader(TStream* source, int bufferSize = 1024);
  int Read(void* buffer, int count) override;
  // Raises EUcInternalError "Internal Error: class can not write.".
  int Write(const void* buffer, int count) override;
  std::int64_t Seek(std::int64_t offset, int origin) override;
  std::int64_t Size() override { return sourceSize_; }

 private:
  void Fill(std::int64_t at);

  TStream* source_;
  std::int64_t sourceSize_;
  std::vector<char> buffer_;
  std::int64_t bufferStart_;      // source position of the buffer's first byte
  std::int64_t bufferValid_ = 0;  // bytes of the buffer that hold source data
  std::int64_t position_ = 0;
};
