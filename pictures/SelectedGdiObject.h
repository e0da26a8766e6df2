// A drawing object selected into a DC for one scope: the DC's earlier object is put back on every
// way out, so the object is no longer selected when its owner deletes it. Declare the owners of
// the DC and of the object before this scope, so that they end after it.
#pragma once

#include "platform/gdi/Gdi.h"

class SelectedGdiObject {
 public:
  SelectedGdiObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectedGdiObject() {
    if (previous_) SelectObject(dc_, previous_);
  }
  SelectedGdiObject(const SelectedGdiObject&) = delete;
  SelectedGdiObject& operator=(const SelectedGdiObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};
