// A window's DC (GetDC, or GetWindowDC for the whole window) owned for one scope: released on
// every way out, so a measurement or a drawing that raises gives the DC back all the same.
#pragma once

#include "platform/win/Win.h"

class WindowDC {
 public:
  // What the DC draws on: the client area, or the whole window with its frame.
  enum Area { Client, Whole };

  // The DC of `hwnd`'s client area (or whole window); of the screen for a null window.
  explicit WindowDC(HWND hwnd, Area area = Client)
      : hwnd_(hwnd), dc_(area == Whole ? GetWindowDC(hwnd) : GetDC(hwnd)) {}
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
