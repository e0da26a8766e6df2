// A global memory block locked for one scope: the address GlobalLock gave is good until the scope
// ends, and the lock goes on every way out, so a copy that raises leaves the block unlocked.
#pragma once

#include "platform/rtl/GlobalMemory.h"

class GlobalLockScope {
 public:
  explicit GlobalLockScope(HGLOBAL block) : block_(block), address_(block ? GlobalLock(block) : nullptr) {}
  ~GlobalLockScope() {
    if (address_) GlobalUnlock(block_);
  }
  GlobalLockScope(const GlobalLockScope&) = delete;
  GlobalLockScope& operator=(const GlobalLockScope&) = delete;

  // The block's first byte; null when it could not be locked (an empty block or a bad handle).
  void* Address() const { return address_; }

 private:
  HGLOBAL block_;
  void* address_;
};
