// The byte stream every codec of the image library reads and writes through, so that a picture
// can come from a standard-I/O file (IxIOFile) or from a growable memory buffer (IxMemFile).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

class IxFile {
 public:
  virtual ~IxFile() = default;

  virtual bool Close() = 0;
  // Returns the number of whole items read or written.
  virtual size_t Read(void* buffer, size_t size, size_t count) = 0;
  virtual size_t Write(const void* buffer, size_t size, size_t count) = 0;
  // origin: 0 (SEEK_SET) from the start, 1 (SEEK_CUR) from the position, 2 (SEEK_END) from the end.
  virtual bool Seek(int64_t offset, int origin) = 0;
  virtual int64_t Tell() = 0;
  virtual int64_t Size() = 0;
  virtual bool Flush() = 0;
  virtual bool Eof() = 0;
  virtual long Error() = 0;
  virtual bool PutC(uint8_t c) { return Write(&c, 1, 1) == 1; }
  // The next byte as 0..255, or -1.
  virtual long GetC() = 0;
  // The bytes from the position to the end when the stream holds them in memory, else null: a
  // reader may use them in place (while the stream is not written) and seek past what it took.
  virtual const uint8_t* Unread(size_t* count) {
    *count = 0;
    return nullptr;
  }
};
