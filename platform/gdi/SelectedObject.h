// An object selected into a DC for one scope: the one it replaced is put back on every way out,
// so a drawing that raises leaves the DC as it found it. Declare the object's owner
// (OwnedGdiObject) before the selection, so the selection ends first and the object can go.
#pragma once

#include "platform/gdi/Gdi.h"

class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~SelectedObject() {
    if (old_) SelectObject(dc_, old_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};
