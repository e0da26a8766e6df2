// Scaling a picture to a new size: nearest pixel, bicubic B-spline, area averaging (24-bit
// shrinks) and bilinear. Source coordinates are single-precision products truncated towards zero;
// the results depend on that, so this file must never be built with fast-math.
#include <algorithm>
#include <cmath>
#include <cstdint>
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

int64_t Truncate(float v) { return static_cast<int64_t>(v); }

// Adds `weight` times each byte of `src` to `acc`. The hot loop of area averaging: written so
// the compiler turns it into vector code, and built for AVX2 as well where the processor has it.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
__attribute__((target_clones("avx2", "default")))
#endif
void AddWeightedRow(uint32_t* __restrict acc, const uint8_t* __restrict src, size_t n, uint32_t weight) {
  size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    for (size_t k = 0; k < 16; ++k) acc[i + k] += static_cast<uint32_t>(src[i + k]) * weight;
  }
  for (; i < n; ++i) acc[i] += static_cast<uint32_t>(src[i]) * weight;
}

// The same for blocks too tall for 32-bit sums.
void AddWeightedRow(uint64_t* __restrict acc, const uint8_t* __restrict src, size_t n, uint32_t weight) {
  for (size_t i = 0; i < n; ++i) acc[i] += uint64_t{src[i]} * weight;
}

// Splits the pixels cut by a column edge between the column on the left (`share` thousandths)
// and the one on the right. `sums` holds each pixel's block sum: whole rows weighted 1000, the
// cut row below weighted `bs` (its values in `below`) and the one above `ts` (values in
// `above`). The whole rows split exactly; the cut rows' parts are rounded down, so the right
// part is what the left part leaves, less one for each cut row whose left part was rounded.
// All values fit 32 bits while a block sum does.
template <class Sum>
[[gnu::always_inline]] inline void SplitCutPixelsOf(const Sum* __restrict sums,
                                                    const uint8_t* __restrict below,
                                                    const uint8_t* __restrict above,
                                                    const Sum* __restrict share, size_t n, Sum bs, Sum ts,
                                                    Sum* __restrict left, Sum* __restrict right) {
  for (size_t i = 0; i < n; ++i) {
    const Sum vb = below[i], vt = above[i];
    const Sum whole = (sums[i] - vb * bs - vt * ts) / 1000;
    const Sum xb = share[i] * bs * vb, xt = share[i] * ts * vt;
    const Sum ab = xb / 1000, at = xt / 1000;
    const Sum l = share[i] * whole + ab + at;
    left[i] = l;
    right[i] = sums[i] - l - static_cast<Sum>(ab * 1000 != xb) - static_cast<Sum>(at * 1000 != xt);
  }
}

#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
__attribute__((target_clones("avx2", "default")))
#endif
void SplitCutPixels(const uint32_t* sums, const uint8_t* below, const uint8_t* above, const uint32_t* share, size_t n,
                    uint32_t bs, uint32_t ts, uint32_t* left, uint32_t* right) {
  SplitCutPixelsOf(sums, below, above, share, n, bs, ts, left, right);
}

void SplitCutPixels(const uint64_t* sums, const uint8_t* below, const uint8_t* above, const uint64_t* share,
                    size_t n, uint64_t bs, uint64_t ts, uint64_t* left, uint64_t* right) {
  SplitCutPixelsOf(sums, below, above, share, n, bs, ts, left, right);
}

// Area averaging of a 24-bit picture into a smaller one, in weights of thousandths. Each
// destination pixel is the sum of the source pixels it covers, each weighted by the part of it
// that lies inside (a pixel cut by a block edge is split at thousandths of a pixel, edges placed
// in single precision), divided by the weight of a whole block. Where a pixel is cut by both a
// column and a row edge its share is rounded down to a whole weight.
//
// The rows of each block are added up first, whole rows with weight 1000 and the cut rows at
// its top and bottom with their shares, into a row of sums; the columns of that row are then
// added up per destination pixel. Column edges and shares are the same for every row and are
// worked out once. The pixels cut by a column edge are split between their two columns once per
// block, with the rounded shares of the cut rows put back. `Sum` is 32-bit unless a block is
// taller than 32-bit sums can hold.
template <class Sum>
class AreaAverager {
 public:
  AreaAverager(const uint8_t* src, size_t srcStride, int64_t width, uint8_t* dst, size_t dstStride,
               int64_t newx, float sx, int64_t divisor)
      : src_(src),
        srcStride_(srcStride),
        dst_(dst),
        dstStride_(dstStride),
        divisor_(static_cast<uint64_t>(divisor)),
        // ceil(2^64 / divisor); the divisor is at least 1000.
        reciprocal_(~uint64_t{0} / divisor_ + 1),
        sums_(static_cast<size_t>(3 * width)),
        zeros_(static_cast<size_t>(3 * width), 0) {
    float xbound = sx - 1.0f;
    int64_t begin = 0;
    for (int64_t m = 0; m < width && static_cast<int64_t>(columns_.size()) < newx; ++m) {
      if (static_cast<float>(m) < xbound) continue;
      columns_.push_back(Column{static_cast<size_t>(3 * begin), static_cast<size_t>(3 * m)});
      const Sum share = static_cast<Sum>(1000 - Truncate((static_cast<float>(m) - xbound) * 1000.0f));
      for (int k = 0; k < 3; ++k) {
        edges_.push_back(static_cast<size_t>(3 * m + k));
        shares_.push_back(share);
      }
      xbound += sx;
      begin = m + 1;
    }
    // The last column may end at the picture's edge without a cut pixel.
    if (static_cast<int64_t>(columns_.size()) < newx) {
      columns_.push_back(Column{static_cast<size_t>(3 * begin), static_cast<size_t>(3 * width)});
    }
    const size_t cut = edges_.size();
    cutSums_.resize(cut);
    cutBelow_.resize(cut);
    cutAbove_.resize(cut);
    leftPart_.resize(cut);
    rightPart_.resize(cut);
  }

  const uint8_t* SourceRow(int64_t j) const { return src_ + static_cast<size_t>(j) * srcStride_; }

  // Starts a block: the cut row above it (null for none) with its share.
  void Start(const uint8_t* top, int64_t topShare) {
    top_ = top != nullptr ? top : zeros_.data();
    topShare_ = static_cast<Sum>(topShare);
    std::fill(sums_.begin(), sums_.end(), Sum{0});
    if (top != nullptr) AddWeightedRow(sums_.data(), top, sums_.size(), static_cast<uint32_t>(topShare));
  }

  void AddWholeRow(const uint8_t* row) { AddWeightedRow(sums_.data(), row, sums_.size(), 1000); }

  // Ends the block with the cut row below it (null for none) and writes destination row `y`.
  void Finish(const uint8_t* bottom, int64_t bottomShare, int64_t y) {
    if (bottom != nullptr)
      AddWeightedRow(sums_.data(), bottom, sums_.size(), static_cast<uint32_t>(bottomShare));
    const uint8_t* below = bottom != nullptr ? bottom : zeros_.data();
    const Sum* w = sums_.data();
    const size_t cut = edges_.size();
    const size_t* edges = edges_.data();
    const uint8_t* above = top_;
    Sum* cutSums = cutSums_.data();
    uint8_t* cutBelow = cutBelow_.data();
    uint8_t* cutAbove = cutAbove_.data();
    for (size_t i = 0; i < cut; ++i) {
      cutSums[i] = w[edges[i]];
      cutBelow[i] = below[edges[i]];
      cutAbove[i] = above[edges[i]];
    }
    SplitCutPixels(cutSums_.data(), cutBelow_.data(), cutAbove_.data(), shares_.data(), cut,
                   static_cast<Sum>(bottomShare), topShare_, leftPart_.data(), rightPart_.data());
    uint8_t* out = dst_ + static_cast<size_t>(y) * dstStride_;
    const size_t n = columns_.size();
    const Column* columns = columns_.data();
    const Sum* left = leftPart_.data();
    const Sum* right = rightPart_.data();
    for (size_t c = 0; c < n; ++c) {
      uint64_t total[3] = {0, 0, 0};
      for (size_t i = columns[c].begin; i < columns[c].end; i += 3) {
        total[0] += w[i];
        total[1] += w[i + 1];
        total[2] += w[i + 2];
      }
      for (size_t k = 0; k < 3; ++k) {
        if (3 * c + k < cut) total[k] += left[3 * c + k];
        if (c > 0) total[k] += right[3 * (c - 1) + k];
        out[3 * c + k] = static_cast<uint8_t>(std::min<uint64_t>(Quotient(total[k]), 255));
      }
    }
  }

 private:
  struct Column {
    size_t begin, end;  // the bytes of the pixels wholly inside
  };

  // total / divisor rounded down: the product with the rounded-up reciprocal is the quotient or
  // one more.
  uint64_t Quotient(uint64_t total) const {
    __extension__ using Wide = unsigned __int128;
    uint64_t q = static_cast<uint64_t>((static_cast<Wide>(total) * reciprocal_) >> 64);
    if (q * divisor_ > total) --q;
    return q;
  }

  const uint8_t* src_;
  size_t srcStride_;
  uint8_t* dst_;
  size_t dstStride_;
  uint64_t divisor_;
  uint64_t reciprocal_;
  std::vector<Sum> sums_;
  std::vector<uint8_t> zeros_;
  std::vector<Column> columns_;
  // Per colour of each pixel cut by a column edge: where it is, the share of it in the column on
  // its left, and per block its sum, its values in the cut rows and its two parts.
  std::vector<size_t> edges_;
  std::vector<Sum> shares_;
  std::vector<Sum> cutSums_;
  std::vector<uint8_t> cutBelow_, cutAbove_;
  std::vector<Sum> leftPart_, rightPart_;
  const uint8_t* top_ = nullptr;
  Sum topShare_ = 0;
};

// Runs the averager down the source rows, a block of rows per destination row; block edges are
// placed in single precision. `progress(row, rows)` returns false to stop with the rows done.
template <class Averager, class Progress>
void AreaAverage(Averager& averager, int64_t height, int64_t newy, float sy, Progress& progress) {
  averager.Start(nullptr, 0);
  int64_t dstY = 0;
  float ybound = sy - 1.0f;
  bool rowPending = false;  // the sums hold a destination row not yet written
  for (int64_t j = 0; j < height; ++j) {
    if (!progress(j, height)) break;
    rowPending = true;
    if (dstY >= newy) continue;
    const uint8_t* row = averager.SourceRow(j);
    if (static_cast<float>(j) < ybound) {
      averager.AddWholeRow(row);
      continue;
    }
    // The row is cut by the block's lower edge: its upper part ends this block, the rest
    // starts the next.
    const int64_t r = Truncate((static_cast<float>(j) - ybound) * 1000.0f);
    averager.Finish(row, 1000 - r, dstY);
    averager.Start(row, r);
    ++dstY;
    ybound += sy;
  }
  if (rowPending && dstY < newy) averager.Finish(nullptr, 0, dstY);
}

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
  const bool indexed = head.biClrUsed != 0;
  // A nearest-pixel copy of a 24-bit picture writes every byte of every row, padding included
  // (and clears the rows a cancel leaves), so its picture need not be cleared first.
  const bool writesEveryByte = mode == 1 && !indexed && head.biBitCount == 24;
  if ((writesEveryByte ? work.CreateUncleared(newx, newy, head.biBitCount, info.dwType)
                       : work.Create(newx, newy, head.biBitCount, info.dwType)) == nullptr)
    return false;
  work.SetPalette(GetPalette(), 256);

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
    // The byte offsets of the source pixels, and how many leading pixels can be copied four bytes
    // at a time: those whose source pixel and destination pixel both have a pixel after them
    // (the fourth byte is written again by the next pixel).
    std::vector<uint32_t> offset(static_cast<size_t>(newx));
    for (int64_t x = 0; x < newx; ++x)
      offset[static_cast<size_t>(x)] = static_cast<uint32_t>(3 * column[static_cast<size_t>(x)]);
    int64_t wordPixels = 0;
    while (wordPixels + 1 < newx && column[static_cast<size_t>(wordPixels)] + 1 < width) ++wordPixels;
    int64_t y = 0;
    for (; y < newy; ++y) {
      if (!progress(y, newy)) break;
      const int64_t fy = std::min<int64_t>(Truncate(static_cast<float>(y) * sy), height - 1);
      if (!indexed) {
        // Same as the colour-by-colour copy below, without the per-pixel checks.
        const uint8_t* src = GetBits(0) + static_cast<size_t>(fy) * info.dwEffWidth;
        uint8_t* dst = work.GetBits(0) + static_cast<size_t>(y) * work.info.dwEffWidth;
        int64_t x = 0;
        for (; x < wordPixels; ++x) {
          uint32_t bgr;
          std::memcpy(&bgr, src + offset[static_cast<size_t>(x)], 4);
          std::memcpy(dst + 3 * x, &bgr, 4);
        }
        for (; x < newx; ++x) {
          const uint8_t* p = src + offset[static_cast<size_t>(x)];
          dst[3 * x] = p[0];
          dst[3 * x + 1] = p[1];
          dst[3 * x + 2] = p[2];
        }
        std::memset(dst + 3 * newx, 0, work.info.dwEffWidth - static_cast<size_t>(3 * newx));
        continue;
      }
      for (int64_t x = 0; x < newx; ++x) {
        work.SetPixelColor(x, y, GetPixelColor(column[static_cast<size_t>(x)], fy, true), false);
      }
    }
    if (writesEveryByte && y < newy) {
      std::memset(work.GetBits(0) + static_cast<size_t>(y) * work.info.dwEffWidth, 0,
                  static_cast<size_t>(newy - y) * work.info.dwEffWidth);
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
    // Area averaging; the row sums are 32-bit while a block has fewer than about 16,800 rows.
    const int64_t divisor = std::max<int64_t>(1, Truncate(1000.0f * sx * sy));
    if (sy < static_cast<float>(UINT32_MAX / (255u * 1000u) - 2)) {
      AreaAverager<uint32_t> averager(GetBits(0), info.dwEffWidth, width, work.GetBits(0),
                                      work.info.dwEffWidth, newx, sx, divisor);
      AreaAverage(averager, height, newy, sy, progress);
    } else {
      AreaAverager<uint64_t> averager(GetBits(0), info.dwEffWidth, width, work.GetBits(0),
                                      work.info.dwEffWidth, newx, sx, divisor);
      AreaAverage(averager, height, newy, sy, progress);
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
