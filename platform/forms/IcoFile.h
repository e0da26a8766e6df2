// Icon files (.ico): the directory of images and one image decoded from it (1, 4, 8, 24 or
// 32 bits with their AND mask, or the alpha channel of a 32-bit image). Images stored as PNG
// inside the file are passed over. Bad data raises EInvalidGraphic "Icon image is not valid".
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct TIcoImage {
  int Width = 0, Height = 0;
  std::vector<std::uint32_t> Pixels;  // top-down rows, 0x00RRGGBB
  std::vector<std::uint8_t> Opaque;   // 1 where the icon covers what is beneath
};

// Decodes the image whose size is nearest to `want` x `want` (the most colours on a tie).
TIcoImage DecodeIco(const std::uint8_t* data, std::size_t size, int want = 32);
