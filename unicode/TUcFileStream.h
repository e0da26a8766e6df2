// Streams that open files and resources by UTF-16 name, and the errors they raise.
#pragma once

#include "platform/rtl/Resources.h"
#include "platform/rtl/TFileStream.h"
#include "platform/rtl/TMemoryStream.h"
#include "unicode/WideException.h"

class EWideFileStreamError : public WideException {
 public:
  using WideException::WideException;
  // `format` filled with the expanded file name and the system's text of the last OS error.
  EWideFileStreamError(const WideString& format, const WideString& fileName);
};
class EWideFCreateError : public EWideFileStreamError {
 public:
  using EWideFileStreamError::EWideFileStreamError;
};
class EWideFOpenError : public EWideFileStreamError {
 public:
  using EWideFileStreamError::EWideFileStreamError;
};

class TUcFileStream : public THandleStream {
 public:
  // Mode fmCreate (0xFFFF) creates or truncates the file; any other mode opens an existing one.
  // Raises EWideFCreateError "Cannot create file %s" or EWideFOpenError "Cannot open file %s"
  // with the full path.
  TUcFileStream(const WideString& fileName, unsigned mode);
  ~TUcFileStream() override;
  TUcFileStream(const TUcFileStream&) = delete;
  TUcFileStream& operator=(const TUcFileStream&) = delete;
};

class TUcMemoryStream : public TMemoryStream {
 public:
  void LoadFromFile(const WideString& fileName);
  // Replaces the file safely (a temporary renamed over it).
  void SaveToFile(const WideString& fileName);
};

// Writes `size` bytes as the whole new content of the file, through a temporary in its folder
// renamed over it: a failure leaves the previous file as it was. Raises EWideFCreateError when
// the file cannot be made there, EWriteError when the bytes cannot all be written.
void UcWriteFileReplacing(const WideString& fileName, const void* data, std::size_t size);
