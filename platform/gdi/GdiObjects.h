// The objects behind drawing handles and the process's handle table. Handles are numbers in a
// range per object kind (never C++ pointers); the table maps them to shared objects so that a
// DC keeps what it has selected alive. Internal to platform/gdi and platform/win.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/Region.h"

namespace platform::gdi {

struct GdiObject {
  explicit GdiObject(DWORD t) : type(t) {}
  virtual ~GdiObject() = default;
  DWORD type;
  bool stock = false;
  int selectCount = 0;  // DCs (current state) holding it
};

struct PenObject : GdiObject {
  PenObject() : GdiObject(OBJ_PEN) {}
  LOGPEN pen{};
};

struct BrushObject : GdiObject {
  BrushObject() : GdiObject(OBJ_BRUSH) {}
  UINT style = BS_SOLID;
  COLORREF color = 0;
  int hatch = 0;
  std::shared_ptr<Bitmap> pattern;  // BS_PATTERN (and hatches, as an 8 x 8 monochrome pattern)
};

struct BitmapObject : GdiObject {
  BitmapObject() : GdiObject(OBJ_BITMAP) {}
  std::shared_ptr<Bitmap> bitmap;
};

struct PaletteObject : GdiObject {
  PaletteObject() : GdiObject(OBJ_PAL) {}
  std::vector<PALETTEENTRY> entries;
};

// The text engine keeps its own data for a font; this is the logical description.
struct FontObject : GdiObject {
  FontObject() : GdiObject(OBJ_FONT) {}
  LOGFONTW font{};
  std::shared_ptr<void> engineData;
};

struct RegionObject : GdiObject {
  RegionObject() : GdiObject(OBJ_REGION) {}
  Region region;
};

class DeviceContext;
struct DcObject : GdiObject {
  explicit DcObject(DWORD t) : GdiObject(t) {}
  std::shared_ptr<DeviceContext> dc;
};

// Handle <-> object. Thread-safe; objects themselves are used by one thread at a time.
uintptr_t InsertObject(std::shared_ptr<GdiObject> object);
std::shared_ptr<GdiObject> FindObject(uintptr_t handle);
template <class T>
std::shared_ptr<T> Find(const void* handle, DWORD type) {
  auto o = FindObject(reinterpret_cast<uintptr_t>(handle));
  if (!o || o->type != type) return nullptr;
  return std::static_pointer_cast<T>(o);
}
bool RemoveObject(uintptr_t handle);

std::shared_ptr<DeviceContext> FindDc(HDC dc);
std::shared_ptr<Bitmap> FindBitmap(HBITMAP bitmap);

// Handles of the stock objects (made on first use).
uintptr_t StockHandle(int index);

// 20 static colours of the default palette and the 256-entry halftone table.
const std::vector<PALETTEENTRY>& StaticColors();
const std::vector<PALETTEENTRY>& HalftoneColors();

// Resolves a DC colour value (system colours, PALETTEINDEX through the DC's palette) to RGB.
COLORREF ResolveColor(const DeviceContext* dc, COLORREF color);

}  // namespace platform::gdi
