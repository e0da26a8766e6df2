#include "pictures/dib/DIBRoutines.h"

#include <cstdlib>
#include <cstring>

#include "pictures/GIFException.h"
#include "pictures/dib/GDICheck.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/OwnedGdiObject.h"
#include "platform/rtl/ScopeExit.h"

int AlignBit(int width, int bitsPerPixel, int alignment) {
  const std::int64_t bits = std::int64_t(width) * bitsPerPixel;
  return int(((bits + alignment - 1) & ~std::int64_t(alignment - 1)) / 8);
}

BITMAPINFOHEADER InitializeBitmapInfoHeader(HBITMAP bitmap, TPixelFormat pixelFormat) {
  DIBSECTION section{};
  int bytes = GetObjectA(bitmap, sizeof section, &section);
  if (bytes == 0) GIFError("Bitmap image is not valid");
  BITMAPINFOHEADER header{};
  if (bytes >= int(sizeof section) && section.dsBmih.biSize >= 40) {
    header = section.dsBmih;
  } else {
    header.biSize = 40;
    header.biWidth = section.dsBm.bmWidth;
    header.biHeight = section.dsBm.bmHeight;
  }
  switch (pixelFormat) {
    case pf1bit:
      header.biBitCount = 1;
      break;
    case pf4bit:
      header.biBitCount = 4;
      break;
    case pf8bit:
      header.biBitCount = 8;
      break;
    case pf24bit:
      header.biBitCount = 24;
      break;
    default:
      GIFError(sInvalidPixelFormat);
  }
  header.biPlanes = 1;
  header.biCompression = BI_RGB;
  header.biSizeImage =
      DWORD(AlignBit(header.biWidth, header.biBitCount, 32)) * DWORD(std::abs(header.biHeight));
  return header;
}

void InternalGetDIBSizes(HBITMAP bitmap, int& infoHeaderSize, int& imageSize, TPixelFormat pixelFormat) {
  BITMAPINFOHEADER header = InitializeBitmapInfoHeader(bitmap, pixelFormat);
  infoHeaderSize = 40;
  if (header.biBitCount <= 8) infoHeaderSize += 4 * (1 << header.biBitCount);
  if (header.biCompression & 3) infoHeaderSize += 12;
  imageSize = int(header.biSizeImage);
}

bool InternalGetDIB(HBITMAP bitmap, HPALETTE palette, void* info, void* bits, TPixelFormat pixelFormat) {
  auto* header = static_cast<BITMAPINFOHEADER*>(info);
  *header = InitializeBitmapInfoHeader(bitmap, pixelFormat);
  const OwnedMemoryDC dc(nullptr);
  GDICheck(dc.Get());
  HPALETTE oldPalette = nullptr;
  // Declared after the DC, so the palette goes back before the DC goes.
  const platform::ScopeExit restorePalette([&] {
    if (oldPalette) SelectPalette(dc, oldPalette, FALSE);
  });
  if (palette) {
    oldPalette = SelectPalette(dc, palette, FALSE);
    RealizePalette(dc);
  }
  const int rows = GetDIBits(dc, bitmap, 0, UINT(std::abs(header->biHeight)), bits,
                             static_cast<BITMAPINFO*>(info), DIB_RGB_COLORS);
  return rows != 0;
}
