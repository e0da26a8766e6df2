// An object selected into a DC for one scope (a font for a measurement, a bitmap for a blit):
// the object it replaced goes back on every way out, so a drawing that raises leaves the DC as it
// found it and the object free to be deleted.
#pragma once

#include "platform/gdi/Gdi.h"

class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), replaced_(SelectObject(dc, object)) {}
  ~SelectedObject() {
    if (replaced_) SelectObject(dc_, replaced_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ replaced_;
};
