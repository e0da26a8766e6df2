// Pictures the editor's tests make: a 24-bit BMP of one colour.
#pragma once

#include <cstdint>
#include <string>

namespace editortest {

// `width` x `height` pixels of `rgb` (0xRRGGBB).
std::string SolidBmp(int width, int height, uint32_t rgb);

}  // namespace editortest
