#include "mms/WspEncoder.h"

#include <cstring>

#include "mms/WspCodes.h"

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
