// The chunk checksum of PNG files (the reflected CRC-32, polynomial 0xEDB88320) and the
// big-endian numbers chunk data are written in.
#pragma once

#include <cstddef>
#include <cstdint>

// Runs `crc` over `length` bytes; a chunk's CRC starts at 0xFFFFFFFF and is complemented at the end.
std::uint32_t update_crc(std::uint32_t crc, const std::uint8_t* buffer, std::size_t length);

constexpr std::uint32_t ByteSwap(std::uint32_t v) {
  return (v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24);
}
constexpr std::uint16_t ByteSwap16(std::uint16_t v) { return std::uint16_t((v >> 8) | (v << 8)); }

inline std::uint32_t ReadBigEndian32(const std::uint8_t* p) {
  return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}
inline std::uint16_t ReadBigEndian16(const std::uint8_t* p) { return std::uint16_t((p[0] << 8) | p[1]); }
inline void WriteBigEndian32(std::uint8_t* p, std::uint32_t v) {
  p[0] = std::uint8_t(v >> 24);
  p[1] = std::uint8_t(v >> 16);
  p[2] = std::uint8_t(v >> 8);
  p[3] = std::uint8_t(v);
}
inline void WriteBigEndian16(std::uint8_t* p, std::uint16_t v) {
  p[0] = std::uint8_t(v >> 8);
  p[1] = std::uint8_t(v);
}
