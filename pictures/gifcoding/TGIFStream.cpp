#include "pictures/gifcoding/TGIFStream.h"

#include "pictures/GIFException.h"

int TGIFStream::Read(void*, int) { throw Exception(sInvalidStream); }
int TGIFStream::Write(const void*, int) { throw Exception(sInvalidStream); }
std::int64_t TGIFStream::Seek(std::int64_t, int) { throw Exception(sInvalidStream); }

void TGIFStream::Warning(TGIFSeverity severity, const AnsiString& message) {
  if (warning_) warning_(this, severity, message);
}
