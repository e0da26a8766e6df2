// The guard for drawing-layer handles the GIF classes create: a null handle raises
// EOutOfResources with the system's text for the last error, or "Out of system resources".
#pragma once

#include "platform/gdi/GdiTypes.h"

// Raises for a null handle.
void GDIError();

template <typename H>
H GDICheck(H handle) {
  if (!handle) GDIError();
  return handle;
}
