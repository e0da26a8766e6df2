// Logical palettes: creation, entries, nearest-colour search, the halftone palette and the DC's
// selected palette (realising it changes nothing on 32-bit surfaces).
#include <cstring>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Gdi.h"

using namespace platform::gdi;

namespace {

HPALETTE Wrap(std::vector<PALETTEENTRY> entries) {
  auto p = std::make_shared<PaletteObject>();
  p->entries = std::move(entries);
  return reinterpret_cast<HPALETTE>(InsertObject(p));
}

}  // namespace

HPALETTE CreatePalette(const LOGPALETTE* palette) {
  if (!palette || palette->palVersion != 0x300 || palette->palNumEntries == 0 ||
      palette->palNumEntries > 256) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return Wrap(std::vector<PALETTEENTRY>(palette->palPalEntry, palette->palPalEntry + palette->palNumEntries));
}

HPALETTE CreateHalftonePalette(HDC) { return Wrap(HalftoneColors()); }

UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* out) {
  auto p = Find<PaletteObject>(palette, OBJ_PAL);
  if (!p) return 0;
  if (!out) return UINT(p->entries.size());
  if (start >= p->entries.size()) return 0;
  const UINT n = std::min<UINT>(count, UINT(p->entries.size()) - start);
  std::memcpy(out, p->entries.data() + start, n * sizeof(PALETTEENTRY));
  return n;
}

UINT SetPaletteEntries(HPALETTE palette, UINT start, UINT count, const PALETTEENTRY* entries) {
  auto p = Find<PaletteObject>(palette, OBJ_PAL);
  if (!p || !entries || p->stock || start >= p->entries.size()) return 0;
  const UINT n = std::min<UINT>(count, UINT(p->entries.size()) - start);
  std::memcpy(p->entries.data() + start, entries, n * sizeof(PALETTEENTRY));
  return n;
}

BOOL ResizePalette(HPALETTE palette, UINT count) {
  auto p = Find<PaletteObject>(palette, OBJ_PAL);
  if (!p || p->stock || count == 0 || count > 1024) return FALSE;
  p->entries.resize(count, PALETTEENTRY{0, 0, 0, 0});
  return TRUE;
}

UINT GetNearestPaletteIndex(HPALETTE palette, COLORREF color) {
  auto p = Find<PaletteObject>(palette, OBJ_PAL);
  if (!p || p->entries.empty()) return 0xFFFFFFFF;
  std::vector<RGBQUAD> table;
  table.reserve(p->entries.size());
  for (const auto& e : p->entries) table.push_back({e.peBlue, e.peGreen, e.peRed, 0});
  return UINT(NearestIndex(table.data(), table.size(), color & 0xFFFFFF));
}

COLORREF GetNearestColor(HDC hdc, COLORREF color) {
  auto dc = FindDc(hdc);
  if (!dc) return CLR_INVALID;
  const COLORREF c = ResolveColor(dc.get(), color);
  Bitmap* s = dc->surface();
  if (s && s->indexed()) return s->RawToColor(s->ColorToRaw(c));
  return c;
}

HPALETTE SelectPalette(HDC hdc, HPALETTE palette, BOOL) {
  auto dc = FindDc(hdc);
  auto p = FindObject(reinterpret_cast<uintptr_t>(palette));
  if (!dc || !p || p->type != OBJ_PAL) return nullptr;
  DcState& s = dc->state();
  const uintptr_t previous = s.paletteHandle;
  if (s.palette) --s.palette->selectCount;
  s.palette = p;
  s.paletteHandle = reinterpret_cast<uintptr_t>(palette);
  ++p->selectCount;
  return reinterpret_cast<HPALETTE>(previous);
}

UINT RealizePalette(HDC hdc) { return FindDc(hdc) ? 0 : 0xFFFFFFFF; }

UINT GetSystemPaletteEntries(HDC, UINT, UINT, PALETTEENTRY*) { return 0; }
