// The handle table of drawing objects, the stock objects and the object-level functions
// (SelectObject, DeleteObject, GetObject, GetObjectType, GetStockObject).
#include <cstring>
#include <mutex>
#include <unordered_map>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Gdi.h"

namespace platform::gdi {

namespace {

struct Table {
  std::mutex mutex;
  std::unordered_map<uintptr_t, std::shared_ptr<GdiObject>> objects;
  uint32_t next[16] = {};
};

Table& TheTable() {
  static Table* table = new Table();  // lives to process end: DCs may be released late
  return *table;
}

}  // namespace

uintptr_t InsertObject(std::shared_ptr<GdiObject> object) {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  const DWORD kind = object->type & 0xF;
  // 0x11000000 + kind: away from the ranges of the window system's handles.
  const uintptr_t handle = 0x10000000 + (uintptr_t(kind) << 24) + (++t.next[kind] & 0xFFFFFF);
  t.objects[handle] = std::move(object);
  return handle;
}

std::shared_ptr<GdiObject> FindObject(uintptr_t handle) {
  if (!handle) return nullptr;
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  auto it = t.objects.find(handle);
  return it == t.objects.end() ? nullptr : it->second;
}

bool RemoveObject(uintptr_t handle) {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  return t.objects.erase(handle) > 0;
}

std::size_t LiveObjectCount() {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  return t.objects.size();
}

std::shared_ptr<DeviceContext> FindDc(HDC dc) {
  auto o = FindObject(reinterpret_cast<uintptr_t>(dc));
  if (!o || (o->type != OBJ_DC && o->type != OBJ_MEMDC)) return nullptr;
  return static_cast<DcObject*>(o.get())->dc;
}

std::shared_ptr<Bitmap> FindBitmap(HBITMAP bitmap) {
  auto b = Find<BitmapObject>(bitmap, OBJ_BITMAP);
  return b ? b->bitmap : nullptr;
}

const std::vector<PALETTEENTRY>& StaticColors() {
  static const std::vector<PALETTEENTRY> colors = {
      {0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},   {0, 0, 128, 0},
      {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0}, {192, 220, 192, 0}, {166, 202, 240, 0},
      {255, 251, 240, 0}, {160, 160, 164, 0}, {128, 128, 128, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},
      {255, 255, 0, 0},   {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0},   {255, 255, 255, 0}};
  return colors;
}

const std::vector<PALETTEENTRY>& HalftoneColors() {
  static const std::vector<PALETTEENTRY> colors = [] {
    std::vector<PALETTEENTRY> c(256);
    const auto& s = StaticColors();
    for (int i = 0; i < 10; ++i) c[size_t(i)] = s[size_t(i)];
    for (int i = 0; i < 10; ++i) c[size_t(246 + i)] = s[size_t(10 + i)];
    for (int r = 0; r < 6; ++r)
      for (int g = 0; g < 6; ++g)
        for (int b = 0; b < 6; ++b)
          c[size_t(10 + 36 * r + 6 * g + b)] = {BYTE(r * 51), BYTE(g * 51), BYTE(b * 51), 0};
    for (int i = 0; i < 20; ++i) {
      const BYTE v = BYTE(12 * (i + 1));
      c[size_t(226 + i)] = {v, v, v, 0};
    }
    return c;
  }();
  return colors;
}

COLORREF ResolveColor(const DeviceContext* dc, COLORREF color) {
  if ((color >> 24) == 0x01) {
    const PaletteObject* pal = dc ? static_cast<const PaletteObject*>(dc->state().palette.get()) : nullptr;
    const auto& entries = pal ? pal->entries : StaticColors();
    const size_t i = color & 0xFFFF;
    if (i >= entries.size()) return RGB(0, 0, 0);
    return RGB(entries[i].peRed, entries[i].peGreen, entries[i].peBlue);
  }
  return color & 0xFFFFFF;
}

uintptr_t StockHandle(int index) {
  static std::once_flag once;
  static uintptr_t handles[18] = {};
  std::call_once(once, [] {
    auto brush = [](COLORREF c, UINT style) {
      auto b = std::make_shared<BrushObject>();
      b->style = style;
      b->color = c;
      b->stock = true;
      return InsertObject(b);
    };
    auto pen = [](COLORREF c, UINT style) {
      auto p = std::make_shared<PenObject>();
      p->pen = {style, {1, 0}, c};
      p->stock = true;
      return InsertObject(p);
    };
    handles[WHITE_BRUSH] = brush(RGB(255, 255, 255), BS_SOLID);
    handles[LTGRAY_BRUSH] = brush(RGB(192, 192, 192), BS_SOLID);
    handles[GRAY_BRUSH] = brush(RGB(128, 128, 128), BS_SOLID);
    handles[DKGRAY_BRUSH] = brush(RGB(64, 64, 64), BS_SOLID);
    handles[BLACK_BRUSH] = brush(RGB(0, 0, 0), BS_SOLID);
    handles[NULL_BRUSH] = brush(0, BS_NULL);
    handles[WHITE_PEN] = pen(RGB(255, 255, 255), PS_SOLID);
    handles[BLACK_PEN] = pen(RGB(0, 0, 0), PS_SOLID);
    handles[NULL_PEN] = pen(0, PS_NULL);
    auto font = [](LONG height) {
      auto f = std::make_shared<FontObject>();
      f->font.lfHeight = height;
      f->font.lfWeight = FW_NORMAL;
      f->stock = true;
      return InsertObject(f);
    };
    handles[ANSI_VAR_FONT] = font(-11);
    handles[SYSTEM_FONT] = font(-11);
    handles[DEFAULT_GUI_FONT] = font(-11);
    auto pal = std::make_shared<PaletteObject>();
    pal->entries = StaticColors();
    pal->stock = true;
    handles[DEFAULT_PALETTE] = InsertObject(pal);
    auto mono = std::make_shared<BitmapObject>();
    mono->bitmap = Bitmap::CreateMono(1, 1);
    mono->stock = true;
    handles[16] = InsertObject(mono);  // the 1 x 1 bitmap memory DCs start with
  });
  if (index < 0 || index >= 18) return 0;
  return handles[index];
}

}  // namespace platform::gdi

using namespace platform::gdi;

HGDIOBJ GetStockObject(int index) { return reinterpret_cast<HGDIOBJ>(StockHandle(index)); }

DWORD GetObjectType(HGDIOBJ object) {
  auto o = FindObject(reinterpret_cast<uintptr_t>(object));
  if (!o) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return o->type;
}

BOOL GdiFlush() { return TRUE; }

namespace {

template <class T>
int CopyOut(const T& value, int size, LPVOID out) {
  if (!out) return int(sizeof(T));
  const int n = size < int(sizeof(T)) ? size : int(sizeof(T));
  if (n <= 0) return 0;
  std::memcpy(out, &value, size_t(n));
  return n;
}

int GetObjectImpl(HGDIOBJ object, int size, LPVOID out, bool wide) {
  auto o = FindObject(reinterpret_cast<uintptr_t>(object));
  if (!o) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  switch (o->type) {
    case OBJ_PEN:
      return CopyOut(static_cast<PenObject*>(o.get())->pen, size, out);
    case OBJ_BRUSH: {
      auto* b = static_cast<BrushObject*>(o.get());
      LOGBRUSH lb{b->style, b->color, ULONG_PTR(b->hatch)};
      return CopyOut(lb, size, out);
    }
    case OBJ_PAL: {
      const WORD n = WORD(static_cast<PaletteObject*>(o.get())->entries.size());
      return CopyOut(n, size, out);
    }
    case OBJ_FONT: {
      const LOGFONTW& f = static_cast<FontObject*>(o.get())->font;
      if (wide) return CopyOut(f, size, out);
      LOGFONTA a{};
      std::memcpy(&a, &f, offsetof(LOGFONTA, lfFaceName));
      for (int i = 0; i < LF_FACESIZE; ++i)
        a.lfFaceName[i] = f.lfFaceName[i] < 0x80 ? char(f.lfFaceName[i]) : '?';
      return CopyOut(a, size, out);
    }
    case OBJ_BITMAP: {
      const Bitmap& b = *static_cast<BitmapObject*>(o.get())->bitmap;
      BITMAP bm{0, b.width(), b.height(), b.stride(), 1, WORD(b.bpp()), nullptr};
      if (b.kind() == Bitmap::Kind::DibSection) {
        bm.bmBits = const_cast<uint8_t*>(b.bits());
        if (out && size >= int(sizeof(DIBSECTION))) {
          DIBSECTION ds{};
          ds.dsBm = bm;
          ds.dsBmih = b.header();
          ds.dsBitfields[0] = b.masks()[0];
          ds.dsBitfields[1] = b.masks()[1];
          ds.dsBitfields[2] = b.masks()[2];
          return CopyOut(ds, size, out);
        }
      }
      return CopyOut(bm, size, out);
    }
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
  }
}

}  // namespace

int GetObjectA(HGDIOBJ object, int size, LPVOID out) { return GetObjectImpl(object, size, out, false); }
int GetObjectW(HGDIOBJ object, int size, LPVOID out) { return GetObjectImpl(object, size, out, true); }

BOOL DeleteObject(HGDIOBJ object) {
  const uintptr_t h = reinterpret_cast<uintptr_t>(object);
  auto o = FindObject(h);
  if (!o || o->type == OBJ_DC || o->type == OBJ_MEMDC) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (o->stock) return TRUE;  // deleting a stock object is harmless and does nothing
  if (o->selectCount > 0) return FALSE;
  if (o->type == OBJ_BITMAP && static_cast<BitmapObject*>(o.get())->bitmap->selectedInto) return FALSE;
  return RemoveObject(h) ? TRUE : FALSE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object) {
  auto dc = FindDc(hdc);
  auto o = FindObject(reinterpret_cast<uintptr_t>(object));
  if (!dc || !o) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  DcState& s = dc->state();
  const uintptr_t h = reinterpret_cast<uintptr_t>(object);
  auto swap = [&](std::shared_ptr<GdiObject>& slot, uintptr_t& slotHandle) -> HGDIOBJ {
    const uintptr_t previous = slotHandle;
    if (slot) --slot->selectCount;
    slot = o;
    slotHandle = h;
    ++o->selectCount;
    return reinterpret_cast<HGDIOBJ>(previous);
  };
  switch (o->type) {
    case OBJ_PEN:
      return swap(s.pen, s.penHandle);
    case OBJ_BRUSH:
      return swap(s.brush, s.brushHandle);
    case OBJ_FONT:
      return swap(s.font, s.fontHandle);
    case OBJ_REGION: {
      s.clip = static_cast<RegionObject*>(o.get())->region;
      return reinterpret_cast<HGDIOBJ>(uintptr_t(s.clip->Complexity()));
    }
    case OBJ_BITMAP: {
      if (dc->kind() != DeviceContext::Kind::Memory) return nullptr;
      auto& bmp = static_cast<BitmapObject*>(o.get())->bitmap;
      if (bmp->selectedInto && bmp->selectedInto != reinterpret_cast<uintptr_t>(hdc)) return nullptr;
      const uintptr_t previous = s.bitmap;
      if (s.bitmapObject) static_cast<BitmapObject*>(s.bitmapObject.get())->bitmap->selectedInto = 0;
      s.bitmapObject = o;
      s.bitmap = h;
      if (!o->stock) bmp->selectedInto = reinterpret_cast<uintptr_t>(hdc);
      return reinterpret_cast<HGDIOBJ>(previous);
    }
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
  }
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
  auto dc = FindDc(hdc);
  if (!dc) return nullptr;
  const DcState& s = dc->state();
  switch (type) {
    case OBJ_PEN:
      return reinterpret_cast<HGDIOBJ>(s.penHandle);
    case OBJ_BRUSH:
      return reinterpret_cast<HGDIOBJ>(s.brushHandle);
    case OBJ_FONT:
      return reinterpret_cast<HGDIOBJ>(s.fontHandle);
    case OBJ_PAL:
      return reinterpret_cast<HGDIOBJ>(s.paletteHandle);
    case OBJ_BITMAP:
      return reinterpret_cast<HGDIOBJ>(s.bitmap);
    default:
      return nullptr;
  }
}
