// What the window system needs of the drawing layer, and no more: regions (update regions and
// window shapes) and the region behind a handle, the screen size, DCs over a top-level window's
// surface and the screen, and the surface bitmap itself, which it only makes and hands on.
#pragma once

#include <memory>
#include <optional>

#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/Region.h"

namespace platform::gdi {

class Bitmap;

// The region behind a region handle (nullptr for a dead handle).
Region* FindRegion(HRGN region);
// Screen size the layer reports (set by the window system from its backend at start-up).
SIZE& ScreenSize();
// A new 32-bit top-down surface for a top-level window; pixels start black.
std::shared_ptr<Bitmap> CreateWindowSurface(int width, int height);
// A new window DC over a surface: origin = where the DC's 0,0 lies on the surface, visible = the
// area it may draw in, relative to that origin.
HDC CreateWindowSurfaceDC(std::shared_ptr<Bitmap> surface, POINT origin, std::optional<Region> visible);
// A new screen DC, which measures like a window DC and discards its drawing.
HDC CreateScreenDC();

}  // namespace platform::gdi
