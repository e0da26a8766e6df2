// A DC's state (clipping, viewport origin, colours, modes, selected objects) saved for one scope
// and restored on every way out, so a drawing that clips or moves the origin and then raises
// leaves the DC as it found it.
#pragma once

#include "platform/gdi/Gdi.h"

class SavedDCState {
 public:
  explicit SavedDCState(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
  ~SavedDCState() {
    if (saved_) RestoreDC(dc_, saved_);
  }
  SavedDCState(const SavedDCState&) = delete;
  SavedDCState& operator=(const SavedDCState&) = delete;

 private:
  HDC dc_;
  int saved_;
};
