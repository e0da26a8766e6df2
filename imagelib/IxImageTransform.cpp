// Turning and inverting a picture: Flip, Mirror, the two quarter turns and Negative. Decoders use
// them to bring what they read into the library's bottom-up layout.
#include <algorithm>
#include <cstring>

#include "imagelib/IxImage.h"

bool IxImage::Flip() {
  if (!IsValid()) return false;
  IxImage copy(*this, false, false, true);
  if (!copy.IsValid()) return false;
  const int32_t height = head.biHeight;
  for (int32_t i = 0; i < height; ++i) {
    memcpy(copy.GetBits(i), GetBits(height - 1 - i), info.dwEffWidth);
  }
  copy.AlphaFlip();
  return Transfer(copy);
}

bool IxImage::Mirror() {
  if (!IsValid()) return false;
  IxImage copy(*this, false, false, true);
  if (!copy.IsValid()) return false;
  const int64_t width = head.biWidth;
  const int64_t height = head.biHeight;
  for (int64_t y = 0; y < height; ++y) {
    const uint8_t* src = GetBits(static_cast<int32_t>(y));
    uint8_t* dst = copy.GetBits(static_cast<int32_t>(y));
    switch (head.biBitCount) {
      case 24:
        for (int64_t x = 0; x < width; ++x) memcpy(dst + 3 * (width - 1 - x), src + 3 * x, 3);
        break;
      case 8:
        for (int64_t x = 0; x < width; ++x) dst[width - 1 - x] = src[x];
        break;
      default:
        for (int64_t x = 0; x < width; ++x) copy.SetPixelIndex(width - 1 - x, y, BlindGetPixelIndex(x, y));
        break;
    }
  }
  copy.AlphaMirror();
  return Transfer(copy);
}

namespace {

constexpr int64_t kTile = 64;

}  // namespace

bool IxImage::RotateLeft(IxImage* iDst) { return Rotate90(iDst, false); }

bool IxImage::RotateRight(IxImage* iDst) { return Rotate90(iDst, true); }

bool IxImage::Rotate90(IxImage* iDst, bool clockwise) {
  if (!IsValid()) return false;
  const int64_t oldW = head.biWidth;
  const int64_t oldH = head.biHeight;
  const int64_t newW = oldH;
  const int64_t newH = oldW;
  IxImage dest;
  dest.CopyInfo(*this);
  if (dest.Create(static_cast<int32_t>(newW), static_cast<int32_t>(newH), head.biBitCount, info.dwType) ==
      nullptr) {
    return false;
  }
  dest.SetPalette(GetPalette(), 256);
  if (pAlpha != nullptr) dest.AlphaCreate();

  // Left:  destination (x, y) := source (y, oldH - 1 - x), progress by destination column.
  // Right: destination (x, y) := source (oldW - 1 - y, x), progress by destination row.
  // Walked in tiles so that source and destination rows stay in cache.
  const int64_t outer = clockwise ? newH : newW;
  const int64_t inner = clockwise ? newW : newH;
  for (int64_t os = 0; os < outer; os += kTile) {
    info.nProgress = static_cast<int32_t>(os * 100 / outer);
    for (int64_t is = 0; is < inner; is += kTile) {
      const int64_t xs = clockwise ? is : os, ys = clockwise ? os : is;
      const int64_t xe = std::min(xs + kTile, newW), ye = std::min(ys + kTile, newH);
      for (int64_t y = ys; y < ye; ++y) {
        for (int64_t x = xs; x < xe; ++x) {
          const int64_t sx = clockwise ? oldW - 1 - y : y;
          const int64_t sy = clockwise ? x : oldH - 1 - x;
          if (head.biBitCount == 24) {
            memcpy(dest.BlindGetPixelPointer(x, y), BlindGetPixelPointer(sx, sy), 3);
          } else {
            dest.SetPixelIndex(x, y, BlindGetPixelIndex(sx, sy));
          }
          if (dest.pAlpha != nullptr) dest.pAlpha[x + y * newW] = BlindAlphaGet(sx, sy);
        }
      }
    }
  }
  return iDst != nullptr ? iDst->Transfer(dest) : Transfer(dest);
}

bool IxImage::Negative() {
  if (!IsValid()) return false;
  const int64_t width = head.biWidth;
  const int64_t height = head.biHeight;
  // The selection box, clipped to the picture: rows bottom..top-1, columns left..right-1.
  const int64_t x0 = std::clamp<int64_t>(info.rSelectionBox.left, 0, width);
  const int64_t x1 = std::clamp<int64_t>(info.rSelectionBox.right, 0, width);
  const int64_t y0 = std::clamp<int64_t>(info.rSelectionBox.bottom, 0, height);
  const int64_t y1 = std::clamp<int64_t>(info.rSelectionBox.top, 0, height);

  if (head.biBitCount == 24) {
    if (pSelection != nullptr) {
      for (int64_t y = y0; y < y1; ++y) {
        for (int64_t x = x0; x < x1; ++x) {
          if (!SelectionIsInside(x, y)) continue;
          uint8_t* p = BlindGetPixelPointer(x, y);
          for (int k = 0; k < 3; ++k) p[k] = static_cast<uint8_t>(255 - p[k]);
        }
      }
    } else {
      uint8_t* bits = GetBits(0);
      for (uint32_t i = 0; i < head.biSizeImage; ++i) bits[i] = static_cast<uint8_t>(~bits[i]);
    }
    info.nBkgndColor.rgbBlue = static_cast<uint8_t>(255 - info.nBkgndColor.rgbBlue);
    info.nBkgndColor.rgbGreen = static_cast<uint8_t>(255 - info.nBkgndColor.rgbGreen);
    info.nBkgndColor.rgbRed = static_cast<uint8_t>(255 - info.nBkgndColor.rgbRed);
    return true;
  }

  if (!IsGrayScale()) {
    IxRGBQuad* pal = GetPalette();
    if (pal != nullptr) {
      const uint32_t n = std::min(head.biClrUsed, GetPaletteSize() / 4);
      for (uint32_t i = 0; i < n; ++i) {
        pal[i].rgbBlue = static_cast<uint8_t>(255 - pal[i].rgbBlue);
        pal[i].rgbGreen = static_cast<uint8_t>(255 - pal[i].rgbGreen);
        pal[i].rgbRed = static_cast<uint8_t>(255 - pal[i].rgbRed);
      }
      info.last_c_isvalid = 0;
    }
    return true;
  }

  const uint8_t top = static_cast<uint8_t>((1u << head.biBitCount) - 1);
  const bool masked = pSelection != nullptr;
  const int64_t ya = masked ? y0 : 0, yb = masked ? y1 : height;
  const int64_t xa = masked ? x0 : 0, xb = masked ? x1 : width;
  for (int64_t y = ya; y < yb; ++y) {
    for (int64_t x = xa; x < xb; ++x) {
      if (masked && !SelectionIsInside(x, y)) continue;
      SetPixelIndex(x, y, static_cast<uint8_t>(top - BlindGetPixelIndex(x, y)));
    }
  }
  return true;
}
