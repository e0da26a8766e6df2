// The generated tables of the single-byte code pages (see tools/gen-codepage-tables).
#pragma once

namespace platform {

// The UTF-16 units of bytes 0x80-0xFF of a single-byte page (874, 1250-1258), 0xFFFD where the
// page defines no character; null for any other page. Bytes below 0x80 are ASCII everywhere.
const char16_t* SingleByteHighHalf(unsigned codePage);

}  // namespace platform
