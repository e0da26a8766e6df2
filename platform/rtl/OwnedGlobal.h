// A global memory block owned by a scope: freed on every way out unless it was given away (to
// the clipboard, to a caller), so a block that is not taken in the end is not lost.
#pragma once

#include <utility>

#include "platform/rtl/GlobalMemory.h"

class OwnedGlobal {
 public:
  OwnedGlobal() = default;
  explicit OwnedGlobal(HGLOBAL block) : block_(block) {}
  ~OwnedGlobal() {
    if (block_) GlobalFree(block_);
  }
  OwnedGlobal(const OwnedGlobal&) = delete;
  OwnedGlobal& operator=(const OwnedGlobal&) = delete;

  HGLOBAL Get() const { return block_; }
  operator HGLOBAL() const { return block_; }
  // Gives the block up to whoever takes it now.
  HGLOBAL Release() { return std::exchange(block_, nullptr); }

 private:
  HGLOBAL block_ = nullptr;
};
