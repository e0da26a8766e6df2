// An IxFile over a standard-I/O file stream. A stream built over a caller's FILE never closes it;
// only one built without a file (and given none) owns what it holds.
#pragma once

#include <cstdio>

#include "imagelib/IxFile.h"

class IxIOFile : public IxFile {
 public:
  explicit IxIOFile(FILE* fp = nullptr);
  ~IxIOFile() override;
  IxIOFile(const IxIOFile&) = delete;
  IxIOFile& operator=(const IxIOFile&) = delete;

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

 protected:
  FILE* m_fp;
  bool m_bCloseFile;
};
