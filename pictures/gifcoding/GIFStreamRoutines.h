// The small stream routines every part of a GIF stream is read and written with: exact reads
// that fail with "Premature end of data", single bytes, and text kept as data sub-blocks.
#pragma once

#include <cstdint>

#include "platform/rtl/TStream.h"
#include "platform/rtl/Types.h"

class TStrings;

// Reads `count` bytes or raises "Premature end of data".
void ReadCheck(TStream* stream, void* buffer, int count);
// False at the end of the stream.
bool ReadByte(TStream* stream, BYTE& value);
void WriteByte(TStream* stream, BYTE value);
// The bytes left between the position and the end.
std::int64_t GIFBytesLeft(TStream* stream);
// Moves forward by at most `count` bytes, never past the end.
void SkipBytes(TStream* stream, std::int64_t count);
// Skips data sub-blocks up to and including the zero-length terminator, or to the end.
void SkipSubBlocks(TStream* stream);
// Each line as sub-blocks of at most 255 bytes, then one terminator.
void WriteStrings(TStream* stream, TStrings* strings);
// One line per sub-block (cut at its first zero byte) up to the terminator or the end.
void ReadStrings(TStream* stream, TStrings* strings);
