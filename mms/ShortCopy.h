// Copies of a few dozen bytes (part names, content types, ids) that the message writer makes
// for every part: moves of fixed sizes, the last overlapping the one before, cost less than a
// call at these sizes. Nothing outside [from, from + size) is read.
#pragma once

#include <cstddef>
#include <cstring>

inline void ShortCopy(void* to, const void* from, std::size_t size) {
  auto* d = static_cast<unsigned char*>(to);
  const auto* s = static_cast<const unsigned char*>(from);
  if (size >= 16) {
    for (std::size_t i = 0; i + 16 < size; i += 16) std::memcpy(d + i, s + i, 16);
    std::memcpy(d + size - 16, s + size - 16, 16);
  } else if (size >= 8) {
    std::memcpy(d, s, 8);
    std::memcpy(d + size - 8, s + size - 8, 8);
  } else if (size >= 4) {
    std::memcpy(d, s, 4);
    std::memcpy(d + size - 4, s + size - 4, 4);
  } else {
    for (std::size_t i = 0; i < size; ++i) d[i] = s[i];
  }
}
