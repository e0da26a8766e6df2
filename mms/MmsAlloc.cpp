#include "mms/MmsAlloc.h"

#include <cstdlib>
#include <cstring>

namespace {
long g_allowed = -1;  // requests that may still succeed; negative: no limit
}

void* MmsAlloc(std::size_t size) {
  if (g_allowed == 0) return nullptr;
  if (g_allowed > 0) --g_allowed;
  return std::malloc(size == 0 ? 1 : size);
}

char* MmsStrDup(const char* text) {
  std::size_t size = std::strlen(text) + 1;
  char* copy = static_cast<char*>(MmsAlloc(size));
  if (copy != nullptr) std::memcpy(copy, text, size);
  return copy;
}

void MmsAllocFailAfter(long count) { g_allowed = count < 0 ? -1 : count; }
