// The helpers of TStream.
#include "platform/rtl/TStream.h"

#include <vector>

#include "platform/rtl/Exceptions.h"

void TStream::ReadBuffer(void* buffer, int count) {
  if (count < 0 || (count != 0 && Read(buffer, count) != count))
    throw EReadError("Could not read from the stream");
}

void TStream::WriteBuffer(const void* buffer, int count) {
  if (count < 0 || (count != 0 && Write(buffer, count) != count))
    throw EWriteError("Could not write to the stream");
}

std::int64_t TStream::CopyFrom(TStream* source, std::int64_t count) {
  if (count == 0) {
    source->SetPosition(0);
    count = source->Size();
  }
  std::vector<char> buffer(static_cast<std::size_t>(std::min<std::int64_t>(count, 0xF000)));
  std::int64_t done = 0;
  while (done < count) {
    int n = static_cast<int>(std::min<std::int64_t>(count - done, static_cast<std::int64_t>(buffer.size())));
    source->ReadBuffer(buffer.data(), n);
    WriteBuffer(buffer.data(), n);
    done += n;
  }
  return done;
}

std::int64_t TStream::Size() {
  std::int64_t position = Seek(0, soFromCurrent);
  std::int64_t size = Seek(0, soFromEnd);
  Seek(position, soFromBeginning);
  return size;
}

void TStream::SetSize(std::int64_t /*newSize*/) { throw EStreamError("This stream cannot change its size"); }
