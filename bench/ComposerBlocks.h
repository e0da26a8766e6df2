// Blocks handed to the message composer, which takes them over and frees them with free().
#pragma once

#include <cstdlib>
#include <cstring>

namespace benchblocks {

template <typename T>
T* Copy(const T* data, std::size_t count) {
  T* block = static_cast<T*>(std::malloc(count * sizeof(T)));
  std::memcpy(block, data, count * sizeof(T));
  return block;
}

inline char* CopyText(const char* text) { return Copy(text, std::strlen(text) + 1); }

}  // namespace benchblocks
