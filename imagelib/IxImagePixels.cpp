// Palette, pixel, alpha-plane and selection access of the image object: what codecs and
// transforms read and write pictures through.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "imagelib/IxImage.h"

namespace {

// Places a masked channel value on 8 bits: by the mask's lowest set bit and its width. A narrow
// channel of n bits is scaled over the whole range (v * 255 / (2^n - 1)), so its full value is
// 255; a wide one keeps its top 8 bits.
uint8_t ScaleMasked(uint32_t word, uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = __builtin_ctz(mask);
  const uint32_t field = mask >> shift;
  // Only the contiguous run from the lowest set bit counts.
  const int width = __builtin_popcount(field & ~(field + 1));
  const uint32_t value = ((word & mask) >> shift) & ((width >= 32) ? 0xFFFFFFFFu : ((1u << width) - 1));
  if (width >= 8) return static_cast<uint8_t>(value >> (width - 8));
  return static_cast<uint8_t>(value * 255 / ((1u << width) - 1));
}

}  // namespace

IxRGBQuad* IxImage::GetPalette() const {
  if (pDib == nullptr || head.biClrUsed == 0 || head.biBitCount > 8) return nullptr;
  return reinterpret_cast<IxRGBQuad*>(static_cast<uint8_t*>(pDib) + head.biSize);
}

IxRGBQuad IxImage::GetPaletteColor(uint8_t idx) const {
  IxRGBQuad rgb{0, 0, 0, 0};
  const IxRGBQuad* pal = GetPalette();
  if (pal != nullptr && idx < head.biClrUsed) rgb = pal[idx];
  return rgb;
}

bool IxImage::GetPaletteColor(uint8_t idx, uint8_t* r, uint8_t* g, uint8_t* b) const {
  const IxRGBQuad* pal = GetPalette();
  if (pal == nullptr) return false;
  const IxRGBQuad c = GetPaletteColor(idx);
  if (r != nullptr) *r = c.rgbRed;
  if (g != nullptr) *g = c.rgbGreen;
  if (b != nullptr) *b = c.rgbBlue;
  return true;
}

void IxImage::SetPaletteColor(uint8_t idx, uint8_t r, uint8_t g, uint8_t b, uint8_t alpha) {
  SetPaletteColor(idx, IxRGBQuad{b, g, r, alpha});
}

void IxImage::SetPaletteColor(uint8_t idx, IxRGBQuad c) {
  IxRGBQuad* pal = GetPalette();
  if (pal == nullptr || idx >= head.biClrUsed) return;
  pal[idx] = c;
  info.last_c_isvalid = 0;
}

void IxImage::SetPalette(const IxRGBQuad* pPal, uint32_t nColors) {
  IxRGBQuad* pal = GetPalette();
  if (pPal == nullptr || pal == nullptr) return;
  const uint64_t bytes = std::min<uint64_t>(uint64_t{nColors} * 4, GetPaletteSize());
  memcpy(pal, pPal, static_cast<size_t>(bytes));
  info.last_c_isvalid = 0;
}

void IxImage::SetPalette(uint32_t n, const uint8_t* r, const uint8_t* g, const uint8_t* b) {
  IxRGBQuad* pal = GetPalette();
  if (r == nullptr || pal == nullptr) return;
  if (g == nullptr) g = r;
  if (b == nullptr) b = g;
  n = std::min(n, head.biClrUsed);
  n = std::min(n, GetPaletteSize() / 4);
  for (uint32_t i = 0; i < n; ++i) {
    pal[i].rgbRed = r[i];
    pal[i].rgbGreen = g[i];
    pal[i].rgbBlue = b[i];
  }
  info.last_c_isvalid = 0;
}

void IxImage::SetPaletteRGB(const uint8_t* rgb, uint32_t nColors) {
  IxRGBQuad* pal = GetPalette();
  if (rgb == nullptr || pal == nullptr) return;
  nColors = std::min(nColors, head.biClrUsed);
  nColors = std::min(nColors, GetPaletteSize() / 4);
  for (uint32_t i = 0; i < nColors; ++i) {
    pal[i].rgbRed = rgb[3 * i];
    pal[i].rgbGreen = rgb[3 * i + 1];
    pal[i].rgbBlue = rgb[3 * i + 2];
  }
  info.last_c_isvalid = 0;
}

void IxImage::SetGrayPalette() {
  IxRGBQuad* pal = GetPalette();
  if (pal == nullptr || head.biClrUsed < 2) return;
  const uint32_t n = std::min(head.biClrUsed, GetPaletteSize() / 4);
  const uint32_t step = 255 / (n - 1);
  for (uint32_t i = 0; i < n; ++i) {
    const uint8_t v = static_cast<uint8_t>(i * step);
    pal[i].rgbBlue = pal[i].rgbGreen = pal[i].rgbRed = v;
  }
  info.last_c_isvalid = 0;
}

bool IxImage::IsGrayScale() const {
  const IxRGBQuad* pal = GetPalette();
  if (pal == nullptr) return false;
  const uint32_t n = std::min(head.biClrUsed, GetPaletteSize() / 4);
  for (uint32_t i = 0; i < n; ++i) {
    if (pal[i].rgbBlue != i || pal[i].rgbGreen != i || pal[i].rgbRed != i) return false;
  }
  return true;
}

void IxImage::SwapIndex(uint8_t idx1, uint8_t idx2) {
  IxRGBQuad* pal = GetPalette();
  if (pal == nullptr) return;
  // An index beyond the colour count names no entry (a transparent index taken from a file can
  // be any byte): nothing to swap.
  if (idx1 >= head.biClrUsed || idx2 >= head.biClrUsed) return;
  std::swap(pal[idx1], pal[idx2]);
  info.last_c_isvalid = 0;
  for (int64_t y = 0; y < head.biHeight; ++y) {
    for (int64_t x = 0; x < head.biWidth; ++x) {
      const uint8_t idx = BlindGetPixelIndex(x, y);
      if (idx == idx1)
        SetPixelIndex(x, y, idx2);
      else if (idx == idx2)
        SetPixelIndex(x, y, idx1);
    }
  }
}

uint8_t IxImage::GetNearestIndex(IxRGBQuad c) {
  const IxRGBQuad* pal = GetPalette();
  if (pal == nullptr) return 0;
  if (info.last_c_isvalid && info.last_c.rgbBlue == c.rgbBlue && info.last_c.rgbGreen == c.rgbGreen &&
      info.last_c.rgbRed == c.rgbRed) {
    return info.last_c_index;
  }
  info.last_c = c;
  info.last_c_isvalid = 1;

  // "Colours important" may come from a file: never search past the colours used or the palette.
  uint32_t n = head.biClrUsed;
  if (head.biClrImportant != 0) n = std::min(n, head.biClrImportant);
  n = std::min(n, GetPaletteSize() / 4);

  int32_t best = 200000;
  uint8_t found = 0;
  for (uint32_t i = 0; i < n; ++i) {
    const int32_t db = pal[i].rgbBlue - c.rgbBlue;
    const int32_t dg = pal[i].rgbGreen - c.rgbGreen;
    const int32_t dr = pal[i].rgbRed - c.rgbRed;
    const int32_t d = db * db + dg * dg + dr * dr;
    if (d == 0) {
      found = static_cast<uint8_t>(i);
      break;
    }
    if (d < best) {
      best = d;
      found = static_cast<uint8_t>(i);
    }
  }
  info.last_c_index = found;
  return found;
}

uint8_t IxImage::GetPixelIndex(int64_t x, int64_t y) const {
  if (pDib == nullptr || head.biClrUsed == 0) return 0;
  if (!IsInside(x, y)) {
    if (info.nBkgndIndex >= 0) return static_cast<uint8_t>(info.nBkgndIndex);
    return *GetBits(0);
  }
  return BlindGetPixelIndex(x, y);
}

uint8_t IxImage::BlindGetPixelIndex(int64_t x, int64_t y) const {
  const uint8_t* row = GetBits(0) + static_cast<size_t>(y) * info.dwEffWidth;
  switch (head.biBitCount) {
    case 8:
      return row[x];
    case 4: {
      const uint8_t pos = row[x >> 1];
      return (x & 1) ? (pos & 0x0F) : (pos >> 4);
    }
    case 1:
      return (row[x >> 3] >> (7 - (x & 7))) & 1;
    default:
      return 0;
  }
}

void IxImage::SetPixelIndex(int64_t x, int64_t y, uint8_t i) {
  if (pDib == nullptr || head.biClrUsed == 0 || head.biBitCount > 8 || !IsInside(x, y)) return;
  uint8_t* row = GetBits(0) + static_cast<size_t>(y) * info.dwEffWidth;
  switch (head.biBitCount) {
    case 8:
      row[x] = i;
      break;
    case 4: {
      uint8_t& b = row[x >> 1];
      if (x & 1)
        b = static_cast<uint8_t>((b & 0xF0) | (i & 0x0F));
      else
        b = static_cast<uint8_t>((b & 0x0F) | ((i & 0x0F) << 4));
      break;
    }
    case 1: {
      uint8_t& b = row[x >> 3];
      const uint8_t bit = static_cast<uint8_t>(0x80 >> (x & 7));
      b = (i & 1) ? static_cast<uint8_t>(b | bit) : static_cast<uint8_t>(b & ~bit);
      break;
    }
    default:
      break;
  }
}

IxRGBQuad IxImage::GetPixelColor(int64_t x, int64_t y, bool bGetAlpha) const {
  IxRGBQuad rgb = info.nBkgndColor;
  if (pDib == nullptr || !IsInside(x, y)) {
    if (info.nBkgndIndex >= 0) {
      if (head.biBitCount < 24 && info.nBkgndIndex < 256) {
        return GetPaletteColor(static_cast<uint8_t>(info.nBkgndIndex));
      }
      return info.nBkgndColor;
    }
    if (pDib != nullptr) return GetPixelColor(0, 0, true);
    return rgb;
  }
  if (head.biClrUsed != 0) {
    rgb = GetPaletteColor(BlindGetPixelIndex(x, y));
  } else {
    const uint8_t* p = BlindGetPixelPointer(x, y);
    rgb.rgbBlue = p[0];
    rgb.rgbGreen = p[1];
    rgb.rgbRed = p[2];
  }
  rgb.rgbReserved = info.nBkgndColor.rgbReserved;
  if (pAlpha != nullptr && bGetAlpha) rgb.rgbReserved = BlindAlphaGet(x, y);
  return rgb;
}

void IxImage::SetPixelColor(int64_t x, int64_t y, IxRGBQuad c, bool bSetAlpha) {
  if (pDib == nullptr || !IsInside(x, y)) return;
  if (head.biClrUsed != 0) {
    SetPixelIndex(x, y, GetNearestIndex(c));
    return;
  }
  uint8_t* p = BlindGetPixelPointer(x, y);
  p[0] = c.rgbBlue;
  p[1] = c.rgbGreen;
  p[2] = c.rgbRed;
  if (bSetAlpha) AlphaSet(x, y, c.rgbReserved);
}

void IxImage::SetPixelColor(int64_t x, int64_t y, IxColorRef cr) {
  SetPixelColor(x, y, RGBtoRGBQUAD(cr), false);
}

uint8_t* IxImage::BlindGetPixelPointer(int64_t x, int64_t y) const {
  if (pDib == nullptr || head.biClrUsed != 0 || head.biBitCount != 24) return nullptr;
  return GetBits(0) + static_cast<size_t>(y) * info.dwEffWidth + static_cast<size_t>(x) * 3;
}

IxRGBQuad IxImage::RGBtoRGBQUAD(IxColorRef cr) {
  return IxRGBQuad{static_cast<uint8_t>(cr >> 16), static_cast<uint8_t>(cr >> 8), static_cast<uint8_t>(cr),
                   0};
}

void IxImage::RGBtoBGR(uint8_t* buffer, size_t length) const {
  if (buffer == nullptr || head.biClrUsed != 0) return;
  length = std::min<size_t>(length, info.dwEffWidth);
  for (size_t i = 0; i + 3 <= length; i += 3) std::swap(buffer[i], buffer[i + 2]);
}

void IxImage::Bitfield2RGB(const uint8_t* src, size_t srcLength, uint32_t redmask, uint32_t greenmask,
                           uint32_t bluemask, uint8_t bpp, uint32_t alphamask) {
  if (pDib == nullptr || src == nullptr || head.biBitCount != 24) return;
  const size_t width = static_cast<size_t>(head.biWidth);
  const size_t height = static_cast<size_t>(head.biHeight);
  const size_t dstRow = info.dwEffWidth;
  uint8_t* dst = GetBits(0);
  uint8_t* alpha = alphamask != 0 ? pAlpha : nullptr;

  if (bpp == 16) {
    const size_t srcRow = ((width + 1) / 2) * 4;
    // Backwards: each 24-bit pixel lies at or after its 16-bit source, so an in-place
    // conversion never overwrites a word it has still to read.
    for (size_t y = height; y-- > 0;) {
      for (size_t x = width; x-- > 0;) {
        const size_t at = y * srcRow + 2 * x;
        uint32_t w = 0;
        if (at + 2 <= srcLength) w = static_cast<uint32_t>(src[at] | (src[at + 1] << 8));
        uint8_t* p = dst + y * dstRow + 3 * x;
        p[0] = ScaleMasked(w, bluemask);
        p[1] = ScaleMasked(w, greenmask);
        p[2] = ScaleMasked(w, redmask);
        if (alpha != nullptr) alpha[y * width + x] = ScaleMasked(w, alphamask);
      }
    }
  } else if (bpp == 32) {
    const size_t srcRow = 4 * width;
    const bool bytes = redmask == 0 && greenmask == 0 && bluemask == 0;
    // Forwards: a 32-bit source pixel lies at or after its 24-bit destination.
    for (size_t y = 0; y < height; ++y) {
      for (size_t x = 0; x < width; ++x) {
        const size_t at = y * srcRow + 4 * x;
        uint8_t b = 0, g = 0, r = 0, a = 0;
        if (at + 4 <= srcLength) {
          if (bytes) {
            b = src[at];
            g = src[at + 1];
            r = src[at + 2];
          } else {
            const uint32_t w = static_cast<uint32_t>(src[at]) | (static_cast<uint32_t>(src[at + 1]) << 8) |
                               (static_cast<uint32_t>(src[at + 2]) << 16) |
                               (static_cast<uint32_t>(src[at + 3]) << 24);
            b = ScaleMasked(w, bluemask);
            g = ScaleMasked(w, greenmask);
            r = ScaleMasked(w, redmask);
            a = ScaleMasked(w, alphamask);
          }
        }
        uint8_t* p = dst + y * dstRow + 3 * x;
        p[0] = b;
        p[1] = g;
        p[2] = r;
        if (alpha != nullptr) alpha[y * width + x] = a;
      }
    }
  }
  // An alpha mask over bytes that are all 0 is a writer's habit, not a transparent picture.
  if (alpha != nullptr && std::all_of(alpha, alpha + width * height, [](uint8_t v) { return v == 0; })) {
    AlphaDelete();
  }
}

int32_t IxImage::CompareColors(const IxRGBQuad& a, const IxRGBQuad& b) {
  const int32_t ga = (117 * a.rgbBlue + 601 * a.rgbGreen + 306 * a.rgbRed) >> 10;
  const int32_t gb = (117 * b.rgbBlue + 601 * b.rgbGreen + 306 * b.rgbRed) >> 10;
  return ga - gb;
}

void IxImage::AlphaCreate() {
  if (pAlpha != nullptr || pDib == nullptr) return;
  const size_t plane = static_cast<size_t>(head.biWidth) * static_cast<size_t>(head.biHeight);
  pAlpha = static_cast<uint8_t*>(malloc(plane));
  if (pAlpha != nullptr) memset(pAlpha, 255, plane);
}

void IxImage::AlphaDelete() {
  free(pAlpha);
  pAlpha = nullptr;
}

void IxImage::AlphaSet(int64_t x, int64_t y, uint8_t a) {
  if (pAlpha != nullptr && IsInside(x, y)) pAlpha[x + y * static_cast<int64_t>(head.biWidth)] = a;
}

uint8_t IxImage::AlphaGet(int64_t x, int64_t y) const {
  if (pAlpha != nullptr && IsInside(x, y)) return pAlpha[x + y * static_cast<int64_t>(head.biWidth)];
  return 0;
}

uint8_t IxImage::BlindAlphaGet(int64_t x, int64_t y) const {
  return pAlpha[x + y * static_cast<int64_t>(head.biWidth)];
}

bool IxImage::AlphaPaletteIsValid() const {
  const IxRGBQuad* pal = GetPalette();
  if (pal == nullptr) return false;
  const uint32_t n = std::min(head.biClrUsed, GetPaletteSize() / 4);
  for (uint32_t i = 0; i < n; ++i) {
    if (pal[i].rgbReserved != 0) return true;
  }
  return false;
}

bool IxImage::AlphaFlip() {
  if (pAlpha == nullptr) return false;
  const size_t w = static_cast<size_t>(head.biWidth);
  const size_t h = static_cast<size_t>(head.biHeight);
  uint8_t* flipped = static_cast<uint8_t*>(malloc(w * h));
  if (flipped == nullptr) return false;
  for (size_t y = 0; y < h; ++y) memcpy(flipped + (h - 1 - y) * w, pAlpha + y * w, w);
  free(pAlpha);
  pAlpha = flipped;
  return true;
}

bool IxImage::AlphaMirror() {
  if (pAlpha == nullptr) return false;
  const size_t w = static_cast<size_t>(head.biWidth);
  const size_t h = static_cast<size_t>(head.biHeight);
  uint8_t* mirrored = static_cast<uint8_t*>(malloc(w * h));
  if (mirrored == nullptr) return false;
  for (size_t y = 0; y < h; ++y) {
    for (size_t x = 0; x < w; ++x) mirrored[y * w + x] = pAlpha[y * w + (w - 1 - x)];
  }
  free(pAlpha);
  pAlpha = mirrored;
  return true;
}

void IxImage::SelectionDelete() {
  free(pSelection);
  pSelection = nullptr;
  info.rSelectionBox.left = head.biWidth;
  info.rSelectionBox.top = 0;
  info.rSelectionBox.right = 0;
  info.rSelectionBox.bottom = head.biHeight;
}

bool IxImage::SelectionIsInside(int64_t x, int64_t y) const {
  if (!IsInside(x, y)) return false;
  if (pSelection == nullptr) return true;
  return pSelection[x + y * static_cast<int64_t>(head.biWidth)] != 0;
}
