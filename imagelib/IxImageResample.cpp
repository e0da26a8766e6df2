// Scaling a picture to a new size: nearest pixel, bicubic B-spline, area averaging (24-bit
// shrinks) and bilinear. Source coordinates are single-precision products truncated towards zero;
// the results depend on that, so this file must never be built with fast-math.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "imagelib/IxImage.h"

namespace {

uint8_t ClampToByte(float v) {
  if (!(v > 0.0f)) return 0;
  if (v >= 255.0f) return 255;
  return static_cast<uint8_t>(v);
}

uint8_t ClampToByte(int64_t v) { return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v)); }

int64_t Truncate(float v) { return static_cast<int64_t>(v); }

}  // namespace

float IxImage::KernelBSpline(float x) {
  if (x > 2.0f) return 0.0f;
  auto p = [](float t) { return t > 0.0f ? t * t * t : 0.0f; };
  return (p(x + 2.0f) - 4.0f * p(x + 1.0f) + 6.0f * p(x) - 4.0f * p(x - 1.0f)) * 0.16666667f;
}

bool IxImage::Resample(int32_t newx, int32_t newy, int mode, IxImage* iDst) {
  // Without a picture there is nothing to scale: making one out of nothing would hand a blank
  // picture to a caller that never checked its load.
  if (!IsValid()) return false;
  if (newx <= 0 || newy <= 0) return false;

  if (newx == head.biWidth && newy == head.biHeight) {
    if (iDst != nullptr) iDst->Copy(*this, true, true, true);
    return true;
  }

  const int64_t width = head.biWidth;
  const int64_t height = head.biHeight;
  const float sx = static_cast<float>(width) / static_cast<float>(newx);
  const float sy = static_cast<float>(height) / static_cast<float>(newy);

  IxImage work;
  work.CopyInfo(*this);
  if (work.Create(newx, newy, head.biBitCount, info.dwType) == nullptr) return false;
  work.SetPalette(GetPalette(), 256);

  const bool indexed = head.biClrUsed != 0;
  auto progress = [this](int64_t row, int64_t rows) {
    info.nProgress = static_cast<int32_t>(row * 100 / rows);
    return info.nEscape == 0;
  };

  if (mode == 1) {
    // Source columns are the same for every row: work them out once.
    std::vector<int64_t> column(static_cast<size_t>(newx));
    for (int64_t x = 0; x < newx; ++x) {
      column[static_cast<size_t>(x)] = std::min<int64_t>(Truncate(static_cast<float>(x) * sx), width - 1);
    }
    for (int64_t y = 0; y < newy; ++y) {
      if (!progress(y, newy)) break;
      const int64_t fy = std::min<int64_t>(Truncate(static_cast<float>(y) * sy), height - 1);
      if (!indexed) {
        // Same as the colour-by-colour copy below, without the per-pixel checks.
        const uint8_t* src = GetBits(0) + static_cast<size_t>(fy) * info.dwEffWidth;
        uint8_t* dst = work.GetBits(0) + static_cast<size_t>(y) * work.info.dwEffWidth;
        for (int64_t x = 0; x < newx; ++x) {
          const uint8_t* p = src + 3 * column[static_cast<size_t>(x)];
          dst[3 * x] = p[0];
          dst[3 * x + 1] = p[1];
          dst[3 * x + 2] = p[2];
        }
        continue;
      }
      for (int64_t x = 0; x < newx; ++x) {
        work.SetPixelColor(x, y, GetPixelColor(column[static_cast<size_t>(x)], fy, true), false);
      }
    }
  } else if (mode == 2) {
    for (int64_t y = 0; y < newy; ++y) {
      if (!progress(y, newy)) break;
      const float fy = static_cast<float>(y) * sy - 0.5f;
      const int64_t iy = static_cast<int64_t>(std::floor(fy));
      const float dy = fy - static_cast<float>(iy);
      for (int64_t x = 0; x < newx; ++x) {
        const float fx = static_cast<float>(x) * sx - 0.5f;
        const int64_t ix = static_cast<int64_t>(std::floor(fx));
        const float dx = fx - static_cast<float>(ix);
        float rr = 0.0f, gg = 0.0f, bb = 0.0f;
        for (int m = -1; m < 3; ++m) {
          const float wy = KernelBSpline(static_cast<float>(m) - dy);
          const int64_t sy2 = std::clamp<int64_t>(iy + m, 0, height - 1);
          for (int n = -1; n < 3; ++n) {
            const float w = wy * KernelBSpline(dx - static_cast<float>(n));
            const int64_t sx2 = std::clamp<int64_t>(ix + n, 0, width - 1);
            IxRGBQuad c;
            if (indexed) {
              c = GetPaletteColor(BlindGetPixelIndex(sx2, sy2));
            } else {
              const uint8_t* p = BlindGetPixelPointer(sx2, sy2);
              c = IxRGBQuad{p[0], p[1], p[2], 0};
            }
            rr += c.rgbRed * w;
            gg += c.rgbGreen * w;
            bb += c.rgbBlue * w;
          }
        }
        const IxRGBQuad out{ClampToByte(bb), ClampToByte(gg), ClampToByte(rr), 0};
        if (indexed) {
          work.SetPixelIndex(x, y, work.GetNearestIndex(out));
        } else {
          uint8_t* p = work.BlindGetPixelPointer(x, y);
          p[0] = out.rgbBlue;
          p[1] = out.rgbGreen;
          p[2] = out.rgbRed;
        }
      }
    }
  } else if (head.biBitCount == 24 && newx < width && newy < height) {
    // Area averaging in fixed point, weights in thousandths. Accumulators are 64-bit: a
    // destination pixel may cover millions of source pixels.
    const int64_t divisor = std::max<int64_t>(1, Truncate(1000.0f * sx * sy));
    const size_t cols = static_cast<size_t>(newx) + 1;
    std::vector<int64_t> rowA(3 * cols, 0), rowB(3 * cols, 0);
    int64_t* cur = rowA.data();
    int64_t* next = rowB.data();
    int64_t dstY = 0;
    float ybound = sy - 1.0f;
    bool rowPending = false;  // the current accumulator row holds a destination row not yet written

    auto writePixel = [&](int64_t col) {
      if (col >= newx || dstY >= newy) return;
      uint8_t* p = work.GetBits(0) + static_cast<size_t>(dstY) * work.info.dwEffWidth + 3 * col;
      for (int k = 0; k < 3; ++k) p[k] = ClampToByte(cur[3 * col + k] / divisor);
    };

    for (int64_t j = 0; j < height; ++j) {
      if (!progress(j, height)) break;
      const uint8_t* src = GetBits(0) + static_cast<size_t>(j) * info.dwEffWidth;
      float xbound = sx - 1.0f;
      int64_t col = 0;
      if (static_cast<float>(j) < ybound) {
        rowPending = true;
        for (int64_t m = 0; m < width; ++m) {
          const uint8_t* v = src + 3 * m;
          if (static_cast<float>(m) < xbound || col >= newx) {
            for (int k = 0; k < 3; ++k) cur[3 * col + k] += v[k] * 1000;
          } else {
            const int64_t q = Truncate((static_cast<float>(m) - xbound) * 1000.0f);
            for (int k = 0; k < 3; ++k) {
              cur[3 * col + k] += v[k] * (1000 - q);
              cur[3 * (col + 1) + k] += v[k] * q;
            }
            ++col;
            xbound += sx;
          }
        }
      } else {
        const int64_t r = Truncate((static_cast<float>(j) - ybound) * 1000.0f);
        for (int64_t m = 0; m < width; ++m) {
          const uint8_t* v = src + 3 * m;
          if (static_cast<float>(m) < xbound || col >= newx) {
            for (int k = 0; k < 3; ++k) {
              cur[3 * col + k] += (1000 - r) * v[k];
              next[3 * col + k] += v[k] * r;
            }
          } else {
            const int64_t q = Truncate((static_cast<float>(m) - xbound) * 1000.0f);
            for (int k = 0; k < 3; ++k) cur[3 * col + k] += (1000 - q) * (1000 - r) * v[k] / 1000;
            writePixel(col);
            for (int k = 0; k < 3; ++k) {
              next[3 * col + k] += v[k] * r * (1000 - q) / 1000;
              cur[3 * (col + 1) + k] += v[k] * q * (1000 - r) / 1000;
              next[3 * (col + 1) + k] = r * q * v[k] / 1000;
            }
            ++col;
            xbound += sx;
          }
        }
        if (col < newx) writePixel(col);
        std::swap(cur, next);
        for (int k = 0; k < 3; ++k) next[k] = 0;
        ++dstY;
        ybound += sy;
        rowPending = true;
      }
    }
    if (rowPending && dstY < newy) {
      for (int64_t col = 0; col < newx; ++col) writePixel(col);
    }
  } else {
    for (int64_t y = 0; y < newy; ++y) {
      if (!progress(y, newy)) break;
      const float fy = static_cast<float>(y) * sy;
      const int64_t iy = std::min<int64_t>(Truncate(fy), height - 1);
      const int64_t iy1 = std::min<int64_t>(iy + 1, height - 1);
      const float dy = fy - static_cast<float>(iy);
      for (int64_t x = 0; x < newx; ++x) {
        const float fx = static_cast<float>(x) * sx;
        const int64_t ix = std::min<int64_t>(Truncate(fx), width - 1);
        const int64_t ix1 = std::min<int64_t>(ix + 1, width - 1);
        const float dx = fx - static_cast<float>(ix);
        auto colour = [&](int64_t px, int64_t py) -> IxRGBQuad {
          if (indexed) return GetPaletteColor(BlindGetPixelIndex(px, py));
          const uint8_t* p = BlindGetPixelPointer(px, py);
          return IxRGBQuad{p[0], p[1], p[2], 0};
        };
        const IxRGBQuad c11 = colour(ix, iy), c21 = colour(ix1, iy), c12 = colour(ix, iy1),
                        c22 = colour(ix1, iy1);
        auto mix = [&](uint8_t a11, uint8_t a21, uint8_t a12, uint8_t a22) {
          const float a = (1.0f - dy) * a11 + dy * a12;
          const float b = (1.0f - dy) * a21 + dy * a22;
          return ClampToByte((1.0f - dx) * a + dx * b);
        };
        const IxRGBQuad out{mix(c11.rgbBlue, c21.rgbBlue, c12.rgbBlue, c22.rgbBlue),
                            mix(c11.rgbGreen, c21.rgbGreen, c12.rgbGreen, c22.rgbGreen),
                            mix(c11.rgbRed, c21.rgbRed, c12.rgbRed, c22.rgbRed), 0};
        work.SetPixelColor(x, y, out, false);
      }
    }
  }

  if (pAlpha != nullptr) {
    work.AlphaCreate();
    if (work.pAlpha != nullptr) {
      for (int64_t y = 0; y < newy; ++y) {
        const int64_t fy = std::min<int64_t>(Truncate(static_cast<float>(y) * sy), height - 1);
        for (int64_t x = 0; x < newx; ++x) {
          const int64_t fx = std::min<int64_t>(Truncate(static_cast<float>(x) * sx), width - 1);
          work.pAlpha[x + y * newx] = BlindAlphaGet(fx, fy);
        }
      }
    }
  }

  return iDst != nullptr ? iDst->Transfer(work) : Transfer(work);
}
