#include "pictures/gifcoding/GIFStreamRoutines.h"

#include <algorithm>
#include <cstring>

#include "pictures/GIFException.h"
#include "platform/rtl/TStrings.h"

void ReadCheck(TStream* stream, void* buffer, int count) {
  if (count <= 0) return;
  if (stream->Read(buffer, count) != count) GIFError(sOutOfData);
}

bool ReadByte(TStream* stream, BYTE& value) { return stream->Read(&value, 1) == 1; }

void WriteByte(TStream* stream, BYTE value) { stream->WriteBuffer(&value, 1); }

std::int64_t GIFBytesLeft(TStream* stream) {
  return std::max<std::int64_t>(0, stream->Size() - stream->Position());
}

void SkipBytes(TStream* stream, std::int64_t count) {
  count = std::min(count, GIFBytesLeft(stream));
  if (count > 0) stream->Seek(count, soFromCurrent);
}

void SkipSubBlocks(TStream* stream) {
  BYTE length = 0;
  while (ReadByte(stream, length) && length != 0) SkipBytes(stream, length);
}

void WriteStrings(TStream* stream, TStrings* strings) {
  for (int i = 0; i < strings->Count(); ++i) {
    AnsiString line = strings->Strings(i);
    for (int at = 0; at < line.Length(); at += 255) {
      int size = std::min(255, line.Length() - at);
      WriteByte(stream, BYTE(size));
      stream->WriteBuffer(line.data() + at, size);
    }
  }
  WriteByte(stream, 0);
}

void ReadStrings(TStream* stream, TStrings* strings) {
  strings->Clear();
  BYTE size = 0;
  char buffer[256];
  while (ReadByte(stream, size) && size != 0) {
    ReadCheck(stream, buffer, size);
    // The sub-block's bytes as they are, zero bytes included: writing gives them back.
    strings->Add(AnsiString(buffer, size));
  }
}
