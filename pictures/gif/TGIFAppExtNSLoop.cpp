#include "pictures/gif/TGIFAppExtNSLoop.h"

#include <cstring>

#include "pictures/GIFException.h"
#include "pictures/gifcoding/GIFStreamRoutines.h"

TGIFAppExtNSLoop::TGIFAppExtNSLoop(TGIFSubImage* subImage) : TGIFApplicationExtension(subImage) {
  std::memcpy(application_.Identifier, "NETSCAPE", 8);
  std::memcpy(application_.Authentication, "2.0", 3);
}

void TGIFAppExtNSLoop::SaveData(TStream* stream) {
  BYTE loop[4] = {3, 1, 0, 0};
  PutGIFWord(loop + 2, loops_);
  stream->WriteBuffer(loop, 4);
  if (bufferSize_ != 0) {
    BYTE buffer[6] = {
        5, 2, BYTE(bufferSize_), BYTE(bufferSize_ >> 8), BYTE(bufferSize_ >> 16), BYTE(bufferSize_ >> 24)};
    stream->WriteBuffer(buffer, 6);
  }
  WriteByte(stream, 0);
}

// A stream cut inside the block ends it: what was read stays.
void TGIFAppExtNSLoop::LoadData(TStream* stream) {
  BYTE size = 0;
  while (ReadByte(stream, size) && size != 0) {
    BYTE id = 0;
    if (!ReadByte(stream, id)) break;
    int remaining = size - 1;
    if ((id & 7) == 1) {
      if (remaining < 2) GIFError(sInvalidData);
      BYTE bytes[2];
      if (stream->Read(bytes, 2) != 2) break;
      loops_ = GIFWord(bytes);
      remaining -= 2;
    } else if ((id & 7) == 2) {
      if (remaining < 4) GIFError(sInvalidData);
      BYTE bytes[4];
      if (stream->Read(bytes, 4) != 4) break;
      bufferSize_ = DWORD(bytes[0]) | DWORD(bytes[1]) << 8 | DWORD(bytes[2]) << 16 | DWORD(bytes[3]) << 24;
      remaining -= 4;
    }
    SkipBytes(stream, remaining);
  }
}
