// The BMP file image a TBitmap reads and writes: ReadBmpFile takes 1/4/8/16/24/32-bit files
// (core and info headers up to version 5, RLE4/RLE8, bit fields, top-down or bottom-up) through
// one bounded cursor and gives top-down rows; WriteBmpFile writes a bottom-up file. Bad data
// raises EInvalidGraphic "Bitmap image is not valid".
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/gdi/GdiTypes.h"

struct TDibImage {
  int Width = 0;
  int Height = 0;
  int BitCount = 0;                // 1, 4, 8, 16, 24 or 32
  bool BitFields = false;          // 16 and 32 bits: Masks are the channel masks
  DWORD Masks[3] = {0, 0, 0};      // red, green, blue
  std::vector<RGBQUAD> Table;      // the colour table (up to 256 entries)
  std::vector<std::uint8_t> Bits;  // top-down rows of Stride() bytes
  int Stride() const {
    return static_cast<int>(((static_cast<std::int64_t>(Width) * BitCount + 31) / 32) * 4);
  }
};

TDibImage ReadBmpFile(const std::uint8_t* data, std::size_t size);
std::vector<std::uint8_t> WriteBmpFile(const TDibImage& image);
