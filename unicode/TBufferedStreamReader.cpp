#include "unicode/TBufferedStreamReader.h"

#include <algorithm>
#include <cstring>

#include "platform/rtl/ScopeExit.h"
#include "unicode/WideException.h"

TBufferedStreamReader::TBufferedStreamReader(TStream* source, int bufferSize)
    : source_(source),
      sourceSize_(source->Size()),
      buffer_(static_cast<std::size_t>(std::max(bufferSize, 1))),
      bufferStart_(-static_cast<std::int64_t>(buffer_.size())) {}

int TBufferedStreamReader::Write(const void*, int) {
  throw EUcInternalError("Internal Error: class can not write.");
}

std::int64_t TBufferedStreamReader::Seek(std::int64_t offset, int origin) {
  if (origin == soFromCurrent)
    position_ += offset;
  else if (origin == soFromEnd)
    position_ = sourceSize_ + offset;
  else
    position_ = offset;
  return position_;
}

void TBufferedStreamReader::Fill(std::int64_t at) {
  bufferValid_ = 0;
  bufferStart_ = at;
  // A read that raises leaves a buffer that holds no position.
  platform::ScopeExit invalidate([this] { bufferStart_ = -static_cast<std::int64_t>(buffer_.size()); });
  source_->SetPosition(at);
  std::int64_t got = 0;
  while (got < static_cast<std::int64_t>(buffer_.size())) {
    int n = source_->Read(buffer_.data() + got, static_cast<int>(buffer_.size() - got));
    if (n <= 0) break;
    got += n;
  }
  bufferValid_ = got;
  invalidate.Release();
}

int TBufferedStreamReader::Read(void* buffer, int count) {
  if (position_ < 0 || count < 0 || position_ >= sourceSize_) return 0;
  const std::int64_t wanted = std::min<std::int64_t>(count, sourceSize_ - position_);
  const auto bufferSize = static_cast<std::int64_t>(buffer_.size());
  char* out = static_cast<char*>(buffer);
  std::int64_t done = 0;
  while (done < wanted) {
    std::int64_t at = position_ + done;
    if (at >= bufferStart_ && at < bufferStart_ + bufferValid_) {
      std::int64_t n = std::min(wanted - done, bufferStart_ + bufferValid_ - at);
      std::memcpy(out + done, buffer_.data() + (at - bufferStart_), static_cast<std::size_t>(n));
      done += n;
      continue;
    }
    std::int64_t rest = wanted - done;
    if (rest >= bufferSize) {
      // Whole buffers go straight into the caller's memory.
      source_->SetPosition(at);
      int n = source_->Read(out + done, static_cast<int>(rest / bufferSize * bufferSize));
      if (n <= 0) break;
      done += n;
      if (n < rest / bufferSize * bufferSize) break;  // the source delivered less: stop there
      continue;
    }
    Fill(at);
    if (bufferValid_ == 0) break;
  }
  position_ += done;
  return static_cast<int>(done);
}
