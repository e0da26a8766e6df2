// TStream, the form library's byte stream: Read/Write/Seek from the concrete class, and the
// classic helpers over them. ReadBuffer and WriteBuffer raise EReadError / EWriteError when
// the whole count cannot be moved.
#pragma once

#include <cstdint>

#include "platform/rtl/Object.h"

constexpr int soFromBeginning = 0;
constexpr int soFromCurrent = 1;
constexpr int soFromEnd = 2;

class TStream : public TObject {
 public:
  // Bytes moved, 0 at the end or on failure.
  virtual int Read(void* buffer, int count) = 0;
  virtual int Write(const void* buffer, int count) = 0;
  // The new position, or -1 when the seek fails.
  virtual std::int64_t Seek(std::int64_t offset, int origin) = 0;

  void ReadBuffer(void* buffer, int count);
  void WriteBuffer(const void* buffer, int count);
  // Copies `count` bytes from the source's position; a count of 0 copies the whole source
  // from its start. Returns the bytes copied.
  std::int64_t CopyFrom(TStream* source, std::int64_t count);

  std::int64_t Position() { return Seek(0, soFromCurrent); }
  void SetPosition(std::int64_t position) { Seek(position, soFromBeginning); }
  virtual std::int64_t Size();
  virtual void SetSize(std::int64_t newSize);
};
