#include "imagelib/IxStreamCursor.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "imagelib/IxFile.h"

namespace {

// Up to this much decoded picture no proportion to the input is asked for.
constexpr uint64_t kUncheckedBytes = 64ull << 20;

}  // namespace

IxStreamCursor::IxStreamCursor(IxFile* file) : file_(file), start_(0), size_(-1) {
  if (file_ == nullptr) {
    size_ = 0;
    return;
  }
  start_ = file_->Tell();
  const int64_t total = file_->Size();
  if (start_ >= 0 && total >= 0) size_ = total > start_ ? total - start_ : 0;
}

uint64_t IxStreamCursor::Remaining() const {
  if (size_ < 0) return UINT64_MAX / 2;
  const uint64_t size = static_cast<uint64_t>(size_);
  return position_ < size ? size - position_ : 0;
}

bool IxStreamCursor::Fill() {
  if (file_ == nullptr) return false;
  bufferPos_ = 0;
  const uint64_t want = std::min<uint64_t>(sizeof(buffer_), Remaining());
  bufferLen_ = want == 0 ? 0 : file_->Read(buffer_, 1, static_cast<size_t>(want));
  return bufferLen_ > 0;
}

int IxStreamCursor::Peek() {
  if (bufferPos_ >= bufferLen_ && !Fill()) return -1;
  return buffer_[bufferPos_];
}

int IxStreamCursor::ReadByte() {
  const int c = Peek();
  if (c >= 0) {
    ++bufferPos_;
    ++position_;
  }
  return c;
}

bool IxStreamCursor::Read(uint8_t* out, uint64_t count) {
  if (count > Remaining()) {
    Skip(Remaining());
    return false;
  }
  return ReadSome(out, count) == count;
}

uint64_t IxStreamCursor::ReadSome(uint8_t* out, uint64_t count) {
  count = std::min(count, Remaining());
  uint64_t done = 0;
  while (done < count) {
    if (bufferPos_ >= bufferLen_) {
      // Large reads go straight to the caller's buffer.
      if (count - done >= sizeof(buffer_)) {
        const size_t got = file_->Read(out + done, 1, static_cast<size_t>(count - done));
        position_ += got;
        return done + got;
      }
      if (!Fill()) break;
    }
    const size_t n = static_cast<size_t>(std::min<uint64_t>(count - done, bufferLen_ - bufferPos_));
    memcpy(out + done, buffer_ + bufferPos_, n);
    bufferPos_ += n;
    position_ += n;
    done += n;
  }
  return done;
}

bool IxStreamCursor::ReadLE16(uint16_t& v) {
  uint8_t b[2];
  if (!Read(b, 2)) return false;
  v = LE16(b);
  return true;
}

bool IxStreamCursor::ReadLE32(uint32_t& v) {
  uint8_t b[4];
  if (!Read(b, 4)) return false;
  v = LE32(b);
  return true;
}

bool IxStreamCursor::ReadBE32(uint32_t& v) {
  uint8_t b[4];
  if (!Read(b, 4)) return false;
  v = BE32(b);
  return true;
}

bool IxStreamCursor::Skip(uint64_t count) {
  // Past the end: go to the end and report the failure.
  const bool whole = count <= Remaining();
  if (!whole) count = Remaining();
  const uint64_t inBuffer = bufferLen_ - bufferPos_;
  if (count <= inBuffer) {
    bufferPos_ += static_cast<size_t>(count);
    position_ += count;
    return whole;
  }
  return SeekTo(position_ + count) && whole;
}

bool IxStreamCursor::SeekTo(uint64_t offset) {
  if (file_ == nullptr || (size_ >= 0 && offset > static_cast<uint64_t>(size_))) return false;
  if (offset > static_cast<uint64_t>(INT64_MAX - start_)) return false;
  if (!file_->Seek(start_ + static_cast<int64_t>(offset), SEEK_SET)) return false;
  position_ = offset;
  bufferPos_ = bufferLen_ = 0;
  return true;
}

bool IxStreamCursor::CanYield(uint64_t decodedBytes, uint64_t maxExpansion) const {
  if (decodedBytes <= kUncheckedBytes) return true;
  return decodedBytes / maxExpansion <= Remaining();
}
