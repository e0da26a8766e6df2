// Global memory blocks: numbered handles to byte blocks with a lock count, as the clipboard
// hands them around. GlobalSize answers the size asked for.
#include <cstring>
#include <map>
#include <mutex>
#include <vector>

#include "platform/win/Win.h"

namespace {

struct Block {
  std::vector<uint8_t> bytes;
  SIZE_T size = 0;
  int locks = 0;
};

struct Blocks {
  std::mutex mutex;
  std::map<uintptr_t, Block> blocks;
  uintptr_t next = 0x3000000;
};

Blocks& B() {
  static Blocks* b = new Blocks();
  return *b;
}

}  // namespace

HGLOBAL GlobalAlloc(UINT, SIZE_T size) {
  if (size > (SIZE_T(1) << 31)) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  Blocks& b = B();
  std::lock_guard lock(b.mutex);
  const uintptr_t h = ++b.next;
  Block& block = b.blocks[h];
  block.bytes.assign(size ? size : 1, 0);  // always zeroed: no stale bytes leave the process
  block.size = size;
  return reinterpret_cast<HGLOBAL>(h);
}

LPVOID GlobalLock(HGLOBAL handle) {
  Blocks& b = B();
  std::lock_guard lock(b.mutex);
  auto it = b.blocks.find(reinterpret_cast<uintptr_t>(handle));
  if (it == b.blocks.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  ++it->second.locks;
  return it->second.bytes.data();
}

BOOL GlobalUnlock(HGLOBAL handle) {
  Blocks& b = B();
  std::lock_guard lock(b.mutex);
  auto it = b.blocks.find(reinterpret_cast<uintptr_t>(handle));
  if (it == b.blocks.end() || it->second.locks == 0) return FALSE;
  return --it->second.locks > 0;
}

SIZE_T GlobalSize(HGLOBAL handle) {
  Blocks& b = B();
  std::lock_guard lock(b.mutex);
  auto it = b.blocks.find(reinterpret_cast<uintptr_t>(handle));
  return it == b.blocks.end() ? 0 : it->second.size;
}

HGLOBAL GlobalFree(HGLOBAL handle) {
  Blocks& b = B();
  std::lock_guard lock(b.mutex);
  if (!b.blocks.erase(reinterpret_cast<uintptr_t>(handle))) {
    SetLastError(ERROR_INVALID_HANDLE);
    return handle;
  }
  return nullptr;
}

HGLOBAL GlobalReAlloc(HGLOBAL handle, SIZE_T size, UINT) {
  Blocks& b = B();
  std::lock_guard lock(b.mutex);
  auto it = b.blocks.find(reinterpret_cast<uintptr_t>(handle));
  if (it == b.blocks.end() || it->second.locks > 0 || size > (SIZE_T(1) << 31)) return nullptr;
  it->second.bytes.resize(size ? size : 1, 0);
  it->second.size = size;
  return handle;
}
