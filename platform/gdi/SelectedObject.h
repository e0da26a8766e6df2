// An object selected into a DC for one scope: the object it replaced goes back on every way
// out, so a drawing or a measurement that raises leaves the DC as it found it (and the object
// free to be deleted).
#pragma once

#include "platform/gdi/Gdi.h"

class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectedObject() {
    if (previous_) SelectObject(dc_, previous_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};
