#include "editor/PictureFit.h"

#include <algorithm>

SIZE FitToBox(int pictureWidth, int pictureHeight, int boxHeight, int boxWidth) {
  if (pictureWidth <= 0 || pictureHeight <= 0) return SIZE{0, 0};
  // 64-bit products: a huge picture must not wrap around.
  long long w = static_cast<long long>(boxHeight) * pictureWidth / pictureHeight;
  long long h = boxHeight;
  if (w > boxWidth) {
    h = static_cast<long long>(boxWidth) * pictureHeight / pictureWidth;
    w = h * pictureWidth / pictureHeight;
  }
  return SIZE{static_cast<LONG>(std::max<long long>(w, 1)), static_cast<LONG>(std::max<long long>(h, 1))};
}

SIZE FitToRegion(int pictureWidth, int pictureHeight, int regionWidth, int regionHeight) {
  if (pictureWidth <= 0 || pictureHeight <= 0 || regionWidth <= 0 || regionHeight <= 0) return SIZE{0, 0};
  long long h = static_cast<long long>(regionWidth) * pictureHeight / pictureWidth;
  long long w = regionWidth;
  if (h > regionHeight) {
    w = static_cast<long long>(regionHeight) * pictureWidth / pictureHeight;
    h = regionHeight;
  }
  return SIZE{static_cast<LONG>(std::max<long long>(w, 1)), static_cast<LONG>(std::max<long long>(h, 1))};
}
