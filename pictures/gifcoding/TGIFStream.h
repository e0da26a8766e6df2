// TGIFStream: the base of the streams that sit between a GIF coder and the stream it reads or
// writes, with a 256-byte buffer. By itself it can neither read, write nor seek: each of these
// raises "Invalid stream operation".
#pragma once

#include "pictures/GIFTypes.h"
#include "platform/forms/TGraphic.h"
#include "platform/rtl/TStream.h"

class TGIFStream : public TStream {
 public:
  TGIFStream(TStream* stream, TGIFWarning warning) : stream_(stream), warning_(std::move(warning)) {}
  int Read(void* buffer, int count) override;
  int Write(const void* buffer, int count) override;
  std::int64_t Seek(std::int64_t offset, int origin) override;

  TStream* Stream() const { return stream_; }
  TProgressEvent OnProgress;

 protected:
  void Warning(TGIFSeverity severity, const AnsiString& message);

  TStream* stream_;
  TGIFWarning warning_;
  BYTE buffer_[256] = {};
  int bufferCount_ = 0;
};
