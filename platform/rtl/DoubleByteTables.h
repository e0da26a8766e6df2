// The generated tables of the double-byte code pages 932, 936, 949 and 950 (see
// tools/gen-double-byte-tables).
#pragma once

#include <cstdint>

namespace platform {

struct DoubleBytePageTables {
  unsigned codePage;
  // Bytes 0x80-0xFF taken alone; 0xFFFD for an undefined byte and for a lead byte.
  const char16_t* single;
  // For bytes 0x80-0xFF: 0 when the byte is no lead byte, else its row in `rows` plus one.
  const std::uint8_t* leadRow;
  // A bit per byte value: the bytes a lead byte takes as its trail, even when the pair is
  // undefined. Any other byte after a lead is read again on its own.
  const std::uint64_t* trail;
  // Per lead byte, the units of trail bytes 0x40-0xFE; 0xFFFD where the pair is undefined.
  const char16_t (*rows)[0xFE - 0x40 + 1];
  // Pairs (lead << 8 | trail) that decode to a unit another sequence encodes; ends with 0.
  const std::uint16_t* decodeOnly;
};

// Null for any other page. Bytes below 0x80 are ASCII in every page.
const DoubleBytePageTables* DoubleBytePageTablesFor(unsigned codePage);

}  // namespace platform
