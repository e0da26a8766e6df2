// Small fixtures for drawing tests: a memory DC over a 32-bit top-down DIB section whose pixels
// the test reads and writes directly (0x00RRGGBB, the fourth byte visible).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/Gdi.h"

namespace gditest {

struct Canvas {
  Canvas(int width, int height, int bpp = 32, std::vector<RGBQUAD> table = {}) : w(width), h(height) {
    std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    auto* bi = reinterpret_cast<BITMAPINFO*>(info.data());
    bi->bmiHeader = {40, width, -height, 1, WORD(bpp), BI_RGB, 0, 0, 0, DWORD(table.size()), 0};
    for (size_t i = 0; i < table.size(); ++i) bi->bmiColors[i] = table[i];
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateDIBSection(dc, bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    old = SelectObject(dc, bitmap);
    stride = ((width * bpp + 31) / 32) * 4;
  }
  ~Canvas() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  uint32_t& At(int x, int y) {
    return reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(bits) + y * stride)[x];
  }
  uint8_t& Byte(int x, int y) { return (static_cast<uint8_t*>(bits) + y * stride)[x]; }
  void Fill(uint32_t v) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) At(x, y) = v;
  }
  std::vector<uint32_t> Row(int y) {
    std::vector<uint32_t> r;
    for (int x = 0; x < w; ++x) r.push_back(At(x, y));
    return r;
  }

  int w, h, stride;
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ old;
  void* bits = nullptr;
};

// A monochrome bitmap selected into its own memory DC; rows of 16-bit units, MSB first.
struct MonoCanvas {
  MonoCanvas(int width, int height, const std::vector<uint8_t>& rows = {}) : w(width), h(height) {
    stride = ((width + 15) / 16) * 2;
    std::vector<uint8_t> data(size_t(stride * height), 0);
    for (size_t i = 0; i < rows.size() && i < data.size(); ++i) data[i] = rows[i];
    bitmap = CreateBitmap(width, height, 1, 1, data.data());
    dc = CreateCompatibleDC(nullptr);
    old = SelectObject(dc, bitmap);
  }
  ~MonoCanvas() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  int Bit(int x, int y) { return GetPixel(dc, x, y) == RGB(255, 255, 255) ? 1 : 0; }
  int w, h, stride;
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ old;
};

}  // namespace gditest
