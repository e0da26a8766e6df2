#include "mms/WspEncoder.h"

#include <cstring>

#include "mms/WspCodes.h"

int WspEncodeUintvar(unsigned char* dest, std::uint32_t value) {
  unsigned char groups[WSP_UINTVAR_MAX_BYTES];
  int count = 0;
  do {
    groups[count++] = static_cast<unsigned char>(value & 0x7F);
    value >>= 7;
  } while (value != 0);
  for (int i = 0; i < count; ++i) {
    unsigned char group = groups[count - 1 - i];
    dest[i] = i + 1 < count ? static_cast<unsigned char>(group | 0x80) : group;
  }
  return count;
}

int WspEncodeValueLength(unsigned char* dest, std::uint32_t length) {
  if (length <= WSP_MAX_SHORT_LENGTH) {
    dest[0] = static_cast<unsigned char>(length);
    return 1;
  }
  dest[0] = WSP_LENGTH_QUOTE;
  return 1 + WspEncodeUintvar(dest + 1, length);
}

std::uint32_t WspTextSize(const char* text) {
  std::uint32_t size = static_cast<std::uint32_t>(std::strlen(text)) + 1;
  return static_cast<unsigned char>(text[0]) >= 0x80 ? size + 1 : size;
}

void WspEncodeText(unsigned char** cursor, const char* text) {
  if (static_cast<unsigned char>(text[0]) >= 0x80) *(*cursor)++ = WSP_TEXT_QUOTE;
  std::size_t size = std::strlen(text) + 1;
  std::memcpy(*cursor, text, size);
  *cursor += size;
}
