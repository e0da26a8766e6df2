#include "pictures/gif/TGIFTrailer.h"

#include "pictures/GIFException.h"
#include "pictures/gifcoding/GIFStreamRoutines.h"

void TGIFTrailer::SaveToStream(TStream* stream) { WriteByte(stream, 0x3B); }

void TGIFTrailer::LoadFromStream(TStream* stream) {
  BYTE b = 0;
  if (ReadByte(stream, b) && b != 0x3B) Warning(gsWarning, sBadTrailer);
}
