// The drawing layer's door for the window system: surfaces and DCs made over them.
#include "platform/gdi/WindowDrawing.h"

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DeviceContext.h"

namespace platform::gdi {

std::shared_ptr<Bitmap> CreateWindowSurface(int width, int height) {
  return Bitmap::CreateSurface(width, height);
}

HDC CreateWindowSurfaceDC(std::shared_ptr<Bitmap> surface, POINT origin, std::optional<Region> visible) {
  return CreateSurfaceDC(std::move(surface), origin, std::move(visible), DeviceContext::Kind::Window);
}

HDC CreateScreenDC() { return CreateSurfaceDC(nullptr, {0, 0}, std::nullopt, DeviceContext::Kind::Screen); }

}  // namespace platform::gdi
