// An IxFile over a growable memory buffer. Over a caller's buffer the stream does not own the
// memory until it has to grow it: growing copies into a block of its own, which it then frees on
// Close unless GetBuffer(true) hands it to the caller.
#pragma once

#include "imagelib/IxFile.h"

class IxMemFile : public IxFile {
 public:
  explicit IxMemFile(uint8_t* buffer = nullptr, size_t size = 0);
  ~IxMemFile() override;
  IxMemFile(const IxMemFile&) = delete;
  IxMemFile& operator=(const IxMemFile&) = delete;

  bool Open();
  // detach = true: the caller takes the buffer and must free() it.
  uint8_t* GetBuffer(bool detach = true);

  bool Close() override;
  size_t Read(void* buffer, size_t size, size_t count) override;
  size_t Write(const void* buffer, size_t size, size_t count) override;
  bool Seek(int64_t offset, int origin) override;
  int64_t Tell() override;
  int64_t Size() override;
  bool Flush() override;
  bool Eof() override;
  long Error() override;
  bool PutC(uint8_t c) override;
  long GetC() override;
  const uint8_t* Unread(size_t* count) override;

  size_t AllocatedLength() const { return m_Edge; }

 protected:
  bool Alloc(size_t needed);

  uint8_t* m_pBuffer;
  size_t m_Size;
  bool m_bFreeOnClose;
  size_t m_Position;
  size_t m_Edge;      // allocated length
  bool m_bOwnsBlock;  // the block came from our own malloc (never realloc a caller's memory)
};
