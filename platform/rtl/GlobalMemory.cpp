// Global memory blocks in the kernel-handle table.
#include "platform/rtl/GlobalMemory.h"

#include <new>
#include <vector>

#include "platform/rtl/KernelHandles.h"
#include "platform/rtl/LastError.h"

namespace {

// No block of this program comes near it; a larger request is a bad size, refused up front.
constexpr SIZE_T kLargestBlock = SIZE_T{1} << 31;

class Block : public platform::KernelObject {
 public:
  std::vector<unsigned char> bytes;
  int locks = 0;
};

std::shared_ptr<Block> BlockOf(HGLOBAL h) {
  return platform::LookupHandleAs<Block>(h, platform::HandleKind::GlobalMemory);
}

}  // namespace

HGLOBAL GlobalAlloc(UINT, SIZE_T bytes) {
  if (bytes > kLargestBlock) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  auto block = std::make_shared<Block>();
  try {
    block->bytes.resize(bytes);
  } catch (const std::bad_alloc&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  } catch (const std::length_error&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  return platform::AddHandle(platform::HandleKind::GlobalMemory, block);
}

LPVOID GlobalLock(HGLOBAL h) {
  auto block = BlockOf(h);
  if (!block || block->bytes.empty()) return nullptr;
  ++block->locks;
  return block->bytes.data();
}

BOOL GlobalUnlock(HGLOBAL h) {
  auto block = BlockOf(h);
  if (!block) return FALSE;
  if (block->locks > 0) --block->locks;
  if (block->locks == 0) SetLastError(NO_ERROR);
  return block->locks > 0 ? TRUE : FALSE;
}

SIZE_T GlobalSize(HGLOBAL h) {
  auto block = BlockOf(h);
  return block ? block->bytes.size() : 0;
}

HGLOBAL GlobalFree(HGLOBAL h) {
  if (!h) return nullptr;
  return platform::RemoveHandle(h, platform::HandleKind::GlobalMemory) ? nullptr : h;
}

HGLOBAL GlobalReAlloc(HGLOBAL h, SIZE_T bytes, UINT) {
  auto block = BlockOf(h);
  if (!block) return nullptr;
  if (bytes > kLargestBlock) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  if (block->locks > 0) {  // a locked block would move under its user
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  try {
    block->bytes.resize(bytes);
  } catch (const std::exception&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  return h;
}
