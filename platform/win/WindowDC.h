// A window's DC (GetDC) owned for one scope: released on every way out, so a measurement or a
// drawing that raises gives the DC back all the same.
#pragma once

#include "platform/win/Win.h"

class WindowDC {
 public:
  // The DC of `hwnd`'s client area; of the screen for a null window.
  explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~WindowDC() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;

  HDC Get() const { return dc_; }
  operator HDC() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};
