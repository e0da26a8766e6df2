// TGraphicsObject: the base of the canvas tools (pen, brush, font). Each keeps its settings,
// makes its drawing-layer handle on demand and drops it when a setting changes, and fires
// OnChange so the canvas that uses it selects the new handle.
#pragma once

#include "platform/gdi/GdiTypes.h"
#include "platform/rtl/Object.h"

class TGraphicsObject : public TPersistent {
 public:
  TNotifyEvent OnChange;

 protected:
  virtual void Changed() {
    if (OnChange) OnChange(this);
  }
};
