// Streams over memory: TCustomMemoryStream reads a block it is given (SetPointer), and
// TMemoryStream owns a growable block. Memory() stays valid until the next size change.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/rtl/AnsiString.h"
#include "platform/rtl/TStream.h"

class TCustomMemoryStream : public TStream {
 public:
  int Read(void* buffer, int count) override;
  // A block set with SetPointer is read-only here: writing raises EStreamError.
  int Write(const void* buffer, int count) override;
  std::int64_t Seek(std::int64_t offset, int origin) override;
  std::int64_t Size() override { return size_; }
  void* Memory() const { return memory_; }
  void SaveToStream(TStream* stream);
  // Replaces the file safely (a temporary renamed over it); EFCreateError on failure.
  void SaveToFile(const AnsiString& fileName);

 protected:
  void SetPointer(void* memory, std::int64_t size);

  char* memory_ = nullptr;
  std::int64_t size_ = 0;
  std::int64_t position_ = 0;
};

class TMemoryStream : public TCustomMemoryStream {
 public:
  int Write(const void* buffer, int count) override;
  void SetSize(std::int64_t newSize) override;
  void Clear();
  std::int64_t Capacity() const { return static_cast<std::int64_t>(buffer_.size()); }
  void SetCapacity(std::int64_t capacity);
  // Replaces the contents with the whole stream or file; the position goes to 0.
  void LoadFromStream(TStream* stream);
  void LoadFromFile(const AnsiString& fileName);

 private:
  std::vector<char> buffer_;
};
