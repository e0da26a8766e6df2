// Packed DIBs as the clipboard carries them (a BITMAPINFOHEADER, masks or colour table, then
// the rows) to and from plain 0x00RRGGBB pixels, for crossing to the desktop as PNG and BMP.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform::desktop {

struct DibPixels {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;  // top-down, 0x00RRGGBB
};

// Reads 1, 4, 8, 16, 24 and 32-bit uncompressed DIBs (bit fields for 16 and 32). Every length
// is checked against the block; false (with the reason) for anything else.
bool ReadPackedDib(const uint8_t* data, size_t size, DibPixels& out, std::string* error);

// A 32-bit bottom-up BI_RGB packed DIB.
std::vector<uint8_t> WritePackedDib(const DibPixels& in);

}  // namespace platform::desktop
