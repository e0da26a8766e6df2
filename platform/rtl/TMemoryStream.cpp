// Memory streams.
#include "platform/rtl/TMemoryStream.h"

#include <algorithm>
#include <cstring>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TFileStream.h"

void TCustomMemoryStream::SetPointer(void* memory, std::int64_t size) {
  memory_ = static_cast<char*>(memory);
  size_ = size;
}

int TCustomMemoryStream::Read(void* buffer, int count) {
  if (count <= 0 || position_ >= size_) return 0;
  std::int64_t n = std::min<std::int64_t>(count, size_ - position_);
  std::memcpy(buffer, memory_ + position_, static_cast<std::size_t>(n));
  position_ += n;
  return static_cast<int>(n);
}

int TCustomMemoryStream::Write(const void* /*buffer*/, int /*count*/) {
  throw EStreamError("Can't write to a read-only memory stream");
}

std::int64_t TCustomMemoryStream::Seek(std::int64_t offset, int origin) {
  std::int64_t base = origin == soFromCurrent ? position_ : (origin == soFromEnd ? size_ : 0);
  std::int64_t target = base + offset;
  if (target < 0) return -1;
  position_ = target;  // past the end is allowed; a write there fills the gap with zeros
  return position_;
}

void TCustomMemoryStream::SaveToStream(TStream* stream) {
  std::int64_t done = 0;
  while (done < size_) {
    int n = static_cast<int>(std::min<std::int64_t>(size_ - done, 1 << 30));
    stream->WriteBuffer(memory_ + done, n);
    done += n;
  }
}

void TCustomMemoryStream::SaveToFile(const AnsiString& fileName) {
  if (!platform::WriteFileReplacing(platform::FsPath(fileName), memory_, static_cast<std::size_t>(size_)))
    throw EFCreateError("Cannot create file " + fileName);
}

void TMemoryStream::SetCapacity(std::int64_t capacity) {
  if (capacity < size_) capacity = size_;
  buffer_.resize(static_cast<std::size_t>(capacity));
  buffer_.shrink_to_fit();
  memory_ = buffer_.empty() ? nullptr : buffer_.data();
}

void TMemoryStream::SetSize(std::int64_t newSize) {
  if (newSize < 0) throw EStreamError("Could not change the size of the stream");
  if (newSize > Capacity()) {
    // Grow in steps so that many small writes stay linear.
    std::int64_t grown = std::max<std::int64_t>(newSize, Capacity() + Capacity() / 2);
    buffer_.resize(static_cast<std::size_t>((grown + 0x1FFF) & ~std::int64_t{0x1FFF}));
    memory_ = buffer_.data();
  }
  if (newSize > size_) std::memset(memory_ + size_, 0, static_cast<std::size_t>(newSize - size_));
  size_ = newSize;
  if (position_ > size_) position_ = size_;
}

int TMemoryStream::Write(const void* buffer, int count) {
  if (count <= 0) return 0;
  std::int64_t end = position_ + count;
  if (end > size_) {
    std::int64_t keep = position_;
    SetSize(end);
    position_ = keep;
  }
  std::memcpy(memory_ + position_, buffer, static_cast<std::size_t>(count));
  position_ = end;
  return count;
}

void TMemoryStream::Clear() {
  buffer_.clear();
  buffer_.shrink_to_fit();
  memory_ = nullptr;
  size_ = 0;
  position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream* stream) {
  stream->SetPosition(0);
  std::int64_t count = stream->Size();
  SetSize(count);
  std::int64_t done = 0;
  while (done < count) {
    int n = static_cast<int>(std::min<std::int64_t>(count - done, 1 << 30));
    stream->ReadBuffer(memory_ + done, n);
    done += n;
  }
  position_ = 0;
}

void TMemoryStream::LoadFromFile(const AnsiString& fileName) {
  TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&file);
}
