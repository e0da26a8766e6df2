// Writers of the WSP encoding's basic values (WAP-230): uintvars, value lengths and texts. The
// caller gives room for what is written: at most 5 bytes for a uintvar, 6 for a value length,
// the text's length plus 2 for a text.
#pragma once

#include <cstdint>

#include "mms/WspCodes.h"

inline constexpr int WSP_UINTVAR_MAX_BYTES = 5;
inline constexpr int WSP_VALUE_LENGTH_MAX_BYTES = 1 + WSP_UINTVAR_MAX_BYTES;

// The bytes WspEncodeUintvar and WspEncodeValueLength write for a value, without writing them.
constexpr int WspUintvarSize(std::uint32_t value) {
  int count = 1;
  while (value >= 0x80) {
    value >>= 7;
    ++count;
  }
  return count;
}
constexpr int WspValueLengthSize(std::uint32_t length) {
  return length <= WSP_MAX_SHORT_LENGTH ? 1 : 1 + WspUintvarSize(length);
}

// 7-bit groups, most significant first, bit 7 set on all but the last; answers the bytes written.
// Inline: the file writer writes two for every part.
inline int WspEncodeUintvar(unsigned char* dest, std::uint32_t value) {
  const int count = WspUintvarSize(value);
  dest[count - 1] = static_cast<unsigned char>(value & 0x7F);
  for (int i = count - 2; i >= 0; --i) {
    value >>= 7;
    dest[i] = static_cast<unsigned char>(0x80 | (value & 0x7F));
  }
  return count;
}
// One byte for a length up to 30, else 0x1F (Length-quote) and the uintvar; answers the bytes
// written.
int WspEncodeValueLength(unsigned char* dest, std::uint32_t length);
// The bytes a text takes as a WSP Text-string: its own, the NUL, and a 0x7F quote before a first
// byte from 0x80 on (which would otherwise read as a well-known value).
std::uint32_t WspTextSize(const char* text);
// Writes the text as a Text-string at the cursor and advances the cursor past its NUL.
void WspEncodeText(unsigned char** cursor, const char* text);
