#include "pictures/png/PngCrc.h"

#include <array>

namespace {
constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}
constexpr std::array<std::uint32_t, 256> kCrcTable = MakeCrcTable();
}  // namespace

std::uint32_t update_crc(std::uint32_t crc, const std::uint8_t* buffer, std::size_t length) {
  for (std::size_t i = 0; i < length; ++i) crc = kCrcTable[(crc ^ buffer[i]) & 0xFF] ^ (crc >> 8);
  return crc;
}
