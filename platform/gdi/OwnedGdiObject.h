// Drawing objects and memory DCs owned by a scope: a pen, brush, font, bitmap or region made
// for one drawing is deleted, and a memory DC made for one blit is deleted, on every way out.
// Deselect an object before its owner ends (a selected object is not deleted).
#pragma once

#include <utility>

#include "platform/gdi/Gdi.h"

template <typename Handle>
class OwnedGdiObject {
 public:
  OwnedGdiObject() = default;
  explicit OwnedGdiObject(Handle handle) : handle_(handle) {}
  ~OwnedGdiObject() { Reset(); }
  OwnedGdiObject(OwnedGdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  OwnedGdiObject& operator=(OwnedGdiObject&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  OwnedGdiObject(const OwnedGdiObject&) = delete;
  OwnedGdiObject& operator=(const OwnedGdiObject&) = delete;

  Handle Get() const { return handle_; }
  operator Handle() const { return handle_; }
  // Gives the handle up to the caller, who deletes it.
  Handle Release() { return std::exchange(handle_, nullptr); }
  void Reset(Handle handle = nullptr) {
    if (handle_) DeleteObject(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

class OwnedMemoryDC {
 public:
  // A memory DC compatible with `dc` (with the screen for null).
  explicit OwnedMemoryDC(HDC dc) : dc_(CreateCompatibleDC(dc)) {}
  ~OwnedMemoryDC() {
    if (dc_) DeleteDC(dc_);
  }
  OwnedMemoryDC(const OwnedMemoryDC&) = delete;
  OwnedMemoryDC& operator=(const OwnedMemoryDC&) = delete;

  HDC Get() const { return dc_; }
  operator HDC() const { return dc_; }

 private:
  HDC dc_;
};
