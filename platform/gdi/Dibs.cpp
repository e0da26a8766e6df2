// Bitmaps and device-independent bitmaps: creation, colour tables and the conversions between
// a bitmap and a BITMAPINFO-described buffer (GetDIBits, SetDIBits, CreateDIBitmap).
#include <cstring>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Gdi.h"

using namespace platform::gdi;

namespace {

HBITMAP Wrap(std::shared_ptr<Bitmap> bitmap) {
  auto o = std::make_shared<BitmapObject>();
  o->bitmap = std::move(bitmap);
  return reinterpret_cast<HBITMAP>(InsertObject(o));
}

bool SaneSize(int w, int h) { return w > 0 && h > 0 && int64_t(w) * int64_t(h) <= (int64_t(1) << 28); }

// Colour table used when converting into an indexed format the bitmap does not already have.
std::vector<RGBQUAD> DefaultTable(int bpp) {
  std::vector<RGBQUAD> table;
  auto add = [&](const PALETTEENTRY& e) { table.push_back({e.peBlue, e.peGreen, e.peRed, 0}); };
  if (bpp == 1) {
    table = {{0, 0, 0, 0}, {255, 255, 255, 0}};
  } else if (bpp == 4) {
    const auto& s = StaticColors();
    for (int i = 0; i < 8; ++i) add(s[size_t(i)]);
    for (int i = 12; i < 20; ++i) add(s[size_t(i)]);
  } else {
    for (const auto& e : HalftoneColors()) add(e);
  }
  return table;
}

}  // namespace

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
  if (!SaneSize(width, height) || planes != 1 || (bitsPerPixel != 1 && bitsPerPixel != 32)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto b = bitsPerPixel == 1 ? Bitmap::CreateMono(width, height) : Bitmap::CreateSurface(width, height);
  if (bits) std::memcpy(b->bits(), bits, b->byteSize());
  return Wrap(b);
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height) {
  auto dc = FindDc(hdc);
  if (!dc) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (width == 0 || height == 0) return Wrap(Bitmap::CreateMono(1, 1));
  if (!SaneSize(width, height)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  // A memory DC still holding its first 1 x 1 bitmap makes monochrome bitmaps (classic rule).
  const bool mono = dc->kind() == DeviceContext::Kind::Memory && dc->surface() && dc->surface()->isMonoDdb();
  return Wrap(mono ? Bitmap::CreateMono(width, height) : Bitmap::CreateSurface(width, height));
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD) {
  if (bits) *bits = nullptr;
  if (usage != DIB_RGB_COLORS || section) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  auto b = Bitmap::CreateDib(info);
  if (!b) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (bits) *bits = b->bits();
  return Wrap(b);
}

int GetDIBits(HDC, HBITMAP hbitmap, UINT start, UINT lines, void* bits, BITMAPINFO* info, UINT usage) {
  auto b = FindBitmap(hbitmap);
  if (!b || !info || usage != DIB_RGB_COLORS) {
    SetLastError(b ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return 0;
  }
  BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biSize < sizeof(BITMAPINFOHEADER)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (h.biBitCount == 0) {
    // Describe the bitmap itself.
    const LONG height = h.biHeight;
    h = b->header();
    h.biHeight = height < 0 ? -b->height() : b->height();
    h.biSizeImage = DWORD(((int64_t(b->width()) * b->bpp() + 31) / 32) * 4 * b->height());
    if (b->kind() != Bitmap::Kind::DibSection) h.biClrUsed = 0;
    return 1;
  }
  const int bpp = h.biBitCount;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (h.biCompression != BI_RGB && h.biCompression != BI_BITFIELDS) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return 0;
  }
  h.biWidth = b->width();
  const bool topDown = h.biHeight < 0;
  h.biHeight = topDown ? -b->height() : b->height();
  h.biPlanes = 1;
  const int64_t stride = ((int64_t(b->width()) * bpp + 31) / 32) * 4;
  h.biSizeImage = DWORD(stride * b->height());
  if (bpp <= 8) {
    std::vector<RGBQUAD> table = (b->bpp() == bpp) ? b->colorTable() : DefaultTable(bpp);
    table.resize(size_t(1) << bpp);
    std::memcpy(info->bmiColors, table.data(), table.size() * sizeof(RGBQUAD));
    h.biClrUsed = 0;
  } else if (h.biCompression == BI_BITFIELDS) {
    DWORD* masks = reinterpret_cast<DWORD*>(info->bmiColors);
    if (bpp == 16) {
      masks[0] = 0xF800;
      masks[1] = 0x07E0;
      masks[2] = 0x001F;
    } else {
      masks[0] = 0xFF0000;
      masks[1] = 0xFF00;
      masks[2] = 0xFF;
    }
  }
  if (!bits) return int(b->height());
  if (start >= UINT(b->height())) return 0;
  if (lines > UINT(b->height()) - start) lines = UINT(b->height()) - start;
  auto out = Bitmap::CreateDib(info, bits);
  if (!out) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const bool same = b->SameDomain(*out) && !b->isMonoDdb();
  // Scan line n of the buffer is counted from the bottom of a bottom-up DIB.
  for (UINT n = start; n < start + lines; ++n) {
    const int y = topDown ? int(n) : b->height() - 1 - int(n);
    for (int x = 0; x < b->width(); ++x) {
      const uint32_t raw = b->GetRaw(x, y);
      uint32_t v = same ? raw : out->ColorToRaw(b->RawToColor(raw));
      if (b->isMonoDdb() && bpp == 1) v = raw;
      out->SetRaw(x, y, v);
    }
  }
  return int(lines);
}

int SetDIBits(HDC, HBITMAP hbitmap, UINT start, UINT lines, const void* bits, const BITMAPINFO* info,
              UINT usage) {
  auto b = FindBitmap(hbitmap);
  if (!b || !info || !bits || usage != DIB_RGB_COLORS) {
    SetLastError(b ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return 0;
  }
  auto in = Bitmap::CreateDib(info, bits);
  if (!in) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const int height = std::min(in->height(), b->height());
  const int width = std::min(in->width(), b->width());
  if (start >= UINT(height)) return 0;
  if (lines > UINT(height) - start) lines = UINT(height) - start;
  const bool same = b->SameDomain(*in);
  for (UINT n = start; n < start + lines; ++n) {
    const int yIn = in->topDown() ? int(n) : in->height() - 1 - int(n);
    const int yOut = in->topDown() ? int(n) : b->height() - 1 - int(n);
    if (yOut < 0 || yOut >= b->height()) continue;
    for (int x = 0; x < width; ++x) {
      const uint32_t raw = in->GetRaw(x, yIn);
      b->SetRaw(x, yOut, (same ? raw : b->ColorToRaw(in->RawToColor(raw))) & b->RawMask());
    }
  }
  return int(lines);
}

HBITMAP CreateDIBitmap(HDC hdc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                       const BITMAPINFO* info, UINT usage) {
  if (!header) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const int height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
  if (!SaneSize(header->biWidth, height)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  (void)hdc;
  HBITMAP made = Wrap(Bitmap::CreateSurface(header->biWidth, height));
  if ((init & CBM_INIT) && bits && info) {
    if (!SetDIBits(nullptr, made, 0, UINT(height), bits, info, usage)) {
      DeleteObject(made);
      return nullptr;
    }
  }
  return made;
}

UINT GetDIBColorTable(HDC hdc, UINT start, UINT count, RGBQUAD* out) {
  auto dc = FindDc(hdc);
  Bitmap* b = dc ? dc->surface() : nullptr;
  if (!b || b->kind() != Bitmap::Kind::DibSection || b->bpp() > 8) return 0;
  const auto& table = b->colorTable();
  if (start >= table.size()) return 0;
  const UINT n = std::min<UINT>(count, UINT(table.size()) - start);
  if (out) std::memcpy(out, table.data() + start, n * sizeof(RGBQUAD));
  return n;
}

UINT SetDIBColorTable(HDC hdc, UINT start, UINT count, const RGBQUAD* colors) {
  auto dc = FindDc(hdc);
  Bitmap* b = dc ? dc->surface() : nullptr;
  if (!b || !colors || b->kind() != Bitmap::Kind::DibSection || b->bpp() > 8) return 0;
  auto& table = b->colorTable();
  const UINT capacity = 1u << b->bpp();
  if (start >= capacity) return 0;
  const UINT n = std::min<UINT>(count, capacity - start);
  if (table.size() < start + n) table.resize(start + n, RGBQUAD{0, 0, 0, 0});
  std::memcpy(table.data() + start, colors, n * sizeof(RGBQUAD));
  return n;
}
