// File streams over POSIX descriptors.
#include "platform/rtl/TFileStream.h"

#include <unistd.h>

#include <cerrno>

#include "platform/rtl/Exceptions.h"

int THandleStream::Read(void* buffer, int count) {
  if (count <= 0) return 0;
  // Fill the whole request unless the file ends, as the classic stream does.
  int done = 0;
  while (done < count) {
    int r = FileRead(handle_, static_cast<char*>(buffer) + done, static_cast<unsigned>(count - done));
    if (r <= 0) break;
    done += r;
  }
  return done;
}

int THandleStream::Write(const void* buffer, int count) {
  if (count <= 0) return 0;
  int done = 0;
  while (done < count) {
    int w = FileWrite(handle_, static_cast<const char*>(buffer) + done, static_cast<unsigned>(count - done));
    if (w <= 0) break;
    done += w;
  }
  return done;
}

std::int64_t THandleStream::Seek(std::int64_t offset, int origin) {
  return FileSeek(handle_, offset, origin);
}

void THandleStream::SetSize(std::int64_t newSize) {
  if (newSize < 0 || ::ftruncate(handle_, static_cast<off_t>(newSize)) != 0)
    throw EStreamError("Could not change the size of the stream");
  if (Position() > newSize) Seek(newSize, soFromBeginning);
}

namespace {
int OpenOrRaise(const AnsiString& fileName, unsigned mode) {
  if (mode == fmCreate) {
    int fd = FileCreate(fileName);
    if (fd < 0) throw EFCreateError("Cannot create file " + fileName);
    return fd;
  }
  int fd = FileOpen(fileName, mode);
  if (fd < 0) throw EFOpenError("Cannot open file " + fileName);
  return fd;
}
}  // namespace

TFileStream::TFileStream(const AnsiString& fileName, unsigned mode)
    : THandleStream(OpenOrRaise(fileName, mode)), fileName_(fileName) {}

TFileStream::~TFileStream() { FileClose(handle_); }
