// THandleStream over a file descriptor, and TFileStream, which opens or creates the file by
// name (8-bit name, taken as UTF-8). Opening failures raise EFOpenError "Cannot open file %s"
// or EFCreateError "Cannot create file %s".
#pragma once

#include "platform/rtl/AnsiString.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TStream.h"

class THandleStream : public TStream {
 public:
  // Does not take ownership of the handle.
  explicit THandleStream(int handle) : handle_(handle) {}
  int Read(void* buffer, int count) override;
  int Write(const void* buffer, int count) override;
  std::int64_t Seek(std::int64_t offset, int origin) override;
  void SetSize(std::int64_t newSize) override;
  int Handle() const { return handle_; }

 protected:
  int handle_;
};

class TFileStream : public THandleStream {
 public:
  // `mode` is fmCreate or an fmOpen... value (sharing bits are ignored).
  TFileStream(const AnsiString& fileName, unsigned mode);
  ~TFileStream() override;
  const AnsiString& FileName() const { return fileName_; }

 private:
  AnsiString fileName_;
};
