// Global memory blocks held by a scope: OwnedGlobal frees a block made for one hand-over unless
// it was handed over (to the clipboard, say), and LockedGlobal unlocks a block it locked, both on
// every way out.
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
  explicit operator bool() const { return block_ != nullptr; }
  // Gives the block up to its new owner, who frees it.
  HGLOBAL Release() { return std::exchange(block_, nullptr); }

 private:
  HGLOBAL block_ = nullptr;
};

class LockedGlobal {
 public:
  explicit LockedGlobal(HGLOBAL block) : block_(block), data_(GlobalLock(block)) {}
  ~LockedGlobal() {
    if (data_) GlobalUnlock(block_);
  }
  LockedGlobal(const LockedGlobal&) = delete;
  LockedGlobal& operator=(const LockedGlobal&) = delete;

  // The block's bytes; null when it could not be locked (an empty block or a bad handle).
  template <typename T>
  T* As() const {
    return static_cast<T*>(data_);
  }
  SIZE_T Size() const { return GlobalSize(block_); }

 private:
  HGLOBAL block_;
  void* data_;
};
