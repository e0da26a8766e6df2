#include "tests/editor/SolidPicture.h"

namespace editortest {

std::string SolidBmp(int width, int height, uint32_t rgb) {
  const int row = (width * 3 + 3) & ~3;
  const uint32_t pixels = uint32_t(row * height);
  std::string b(54, 0);
  auto put32 = [&b](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = char(v >> (8 * i));
  };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, 54 + pixels);
  put32(10, 54);
  put32(14, 40);
  put32(18, uint32_t(width));
  put32(22, uint32_t(height));
  b[26] = 1;
  b[28] = 24;
  put32(34, pixels);
  std::string data(pixels, 0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      data[size_t(y * row + x * 3)] = char(rgb & 0xFF);
      data[size_t(y * row + x * 3 + 1)] = char((rgb >> 8) & 0xFF);
      data[size_t(y * row + x * 3 + 2)] = char((rgb >> 16) & 0xFF);
    }
  }
  return b + data;
}

}  // namespace editortest
