#include "unicode/TUcFileStream.h"

#include <vector>

#include "platform/rtl/LastError.h"
#include "platform/rtl/SysUtils.h"
#include "unicode/WideErrorMessages.h"
#include "unicode/WideFileNames.h"
#include "unicode/WideFileSystem.h"

EWideFileStreamError::EWideFileStreamError(const WideString& format, const WideString& fileName)
    : WideException(format,
                    {TVarRec(WideExpandFileName(fileName)), TVarRec(WideSysErrorMessage(GetLastError()))}) {}

namespace {

int OpenOrCreate(const WideString& fileName, unsigned mode) {
  if (mode == fmCreate) {
    int handle = WideFileCreate(fileName);
    if (handle < 0)
      throw EWideFCreateError(u"Cannot create file %s", {TVarRec(WideExpandFileName(fileName))});
    return handle;
  }
  int handle = WideFileOpen(fileName, mode);
  if (handle < 0) throw EWideFOpenError(u"Cannot open file %s", {TVarRec(WideExpandFileName(fileName))});
  return handle;
}

}  // namespace

TUcFileStream::TUcFileStream(const WideString& fileName, unsigned mode)
    : THandleStream(OpenOrCreate(fileName, mode)) {}

TUcFileStream::~TUcFileStream() {
  if (handle_ >= 0) FileClose(handle_);
}

void TUcMemoryStream::LoadFromFile(const WideString& fileName) {
  TUcFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&stream);
}

void TUcMemoryStream::SaveToFile(const WideString& fileName) {
  UcWriteFileReplacing(fileName, Memory(), static_cast<std::size_t>(Size()));
}

void UcWriteFileReplacing(const WideString& fileName, const void* data, std::size_t size) {
  if (platform::WriteFileReplacing(platform::FsPath(UcFileSystemName(fileName)), data, size)) return;
  DWORD error = GetLastError();
  if (error == ERROR_PATH_NOT_FOUND || error == ERROR_FILE_NOT_FOUND || error == ERROR_ACCESS_DENIED ||
      error == ERROR_INVALID_PARAMETER)
    throw EWideFCreateError(u"Cannot create file %s", {TVarRec(WideExpandFileName(fileName))});
  throw EWriteError("Could not write to the stream");
}
