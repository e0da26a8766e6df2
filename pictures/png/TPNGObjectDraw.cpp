// Drawing of the PNG picture: opaque images through StretchDIBits, transparent ones blended
// over the target pixel by pixel.
#include <algorithm>
#include <cmath>

#include "pictures/png/PngExceptions.h"
#include "pictures/png/TChunktRNS.h"
#include "pictures/png/TPNGObject.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/OwnedGdiObject.h"
#include "platform/gdi/SelectedObject.h"

bool TPNGObject::GammaIsIdentity() const {
  for (int i = 0; i < 256; ++i)
    if (GammaTable[i] != i) return false;
  return true;
}

const std::uint8_t* TPNGObject::DisplayBits() {
  TChunkIHDR* header = GetHeader();
  const std::uint8_t type = header->IHDRData.ColorType;
  if ((type != COLOR_RGB && type != COLOR_RGBALPHA) || GammaIsIdentity()) return header->ImageData;
  if (!displayValid_) {
    const std::uint64_t size = header->ImageBytes();
    displayBits_.resize(size);
    for (std::uint64_t i = 0; i < size; ++i) displayBits_[i] = GammaTable[header->ImageData[i]];
    displayValid_ = true;
  }
  return displayBits_.data();
}

std::uint8_t TPNGObject::StoredIndex(std::uint32_t x, std::uint32_t y) {
  TChunkIHDR* header = GetHeader();
  const int bits = header->BitmapInfo.bmiHeader.biBitCount;
  const std::uint8_t* row =
      header->ImageData + std::uint64_t(header->BytesPerRow) * (header->IHDRData.Height - 1 - y);
  const std::uint32_t bit = x * std::uint32_t(bits);
  return std::uint8_t((row[bit >> 3] >> (8 - bits - int(bit & 7))) & ((1 << bits) - 1));
}

bool TPNGObject::IsTransparentSample(std::uint32_t x, std::uint32_t y, TChunktRNS* trns) {
  TChunkIHDR* header = GetHeader();
  const TIHDRData& h = header->IHDRData;
  const std::uint64_t rowOffset = std::uint64_t(header->BytesPerRow) * (h.Height - 1 - y);
  switch (h.ColorType) {
    case COLOR_GRAYSCALE: {
      std::uint32_t sample = trns->Sample(0);
      if (h.BitDepth == 16) {
        const std::uint8_t* row = header->ImageData + rowOffset;
        const std::uint8_t* low = header->ExtraImageData.data() + rowOffset;
        return (std::uint32_t(row[x]) << 8 | low[x]) == sample;
      }
      if (h.BitDepth == 2) sample *= 5;
      return StoredIndex(x, y) == sample;
    }
    case COLOR_RGB: {
      const std::uint8_t* p = header->ImageData + rowOffset + 3 * std::uint64_t(x);
      if (h.BitDepth == 16) {
        const std::uint8_t* e = header->ExtraImageData.data() + rowOffset + 3 * std::uint64_t(x);
        return (std::uint32_t(p[2]) << 8 | e[2]) == trns->Sample(0) &&
               (std::uint32_t(p[1]) << 8 | e[1]) == trns->Sample(1) &&
               (std::uint32_t(p[0]) << 8 | e[0]) == trns->Sample(2);
      }
      return p[2] == trns->Sample(0) && p[1] == trns->Sample(1) && p[0] == trns->Sample(2);
    }
    case COLOR_PALETTE:
      return trns->PaletteValues()[StoredIndex(x, y)] == 0;
    default:
      return false;
  }
}

void TPNGObject::Draw(TCanvas* canvas, const RECT& rect) {
  if (GetEmpty() || !HeaderPresent()) return;
  TChunkIHDR* header = GetHeader();
  if (!header->ImageData) return;
  HDC dc = canvas->Handle();
  switch (GetTransparencyMode()) {
    case ptmNone:
      SetStretchBltMode(dc, COLORONCOLOR);
      StretchDIBits(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, 0, 0,
                    int(header->IHDRData.Width), int(header->IHDRData.Height), DisplayBits(),
                    reinterpret_cast<const BITMAPINFO*>(&header->BitmapInfo), DIB_RGB_COLORS, SRCCOPY);
      break;
    case ptmBit:
      DrawTransparent(dc, rect, true);
      break;
    case ptmPartial:
      DrawTransparent(dc, rect, false);
      break;
  }
}

void TPNGObject::DrawTransparent(HDC dc, RECT rect, bool bitMode) {
  if (rect.right == rect.left || rect.bottom == rect.top) return;
  if (rect.left > rect.right) std::swap(rect.left, rect.right);
  if (rect.top > rect.bottom) std::swap(rect.top, rect.bottom);
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  TChunkIHDR* header = GetHeader();
  const TIHDRData& ih = header->IHDRData;
  const bool stretch = std::uint32_t(w) != ih.Width || std::uint32_t(h) != ih.Height;
  const double factorX = double(w) / ih.Width, factorY = double(h) / ih.Height;

  // The target's pixels, to blend over, in a 32-bit top-down buffer.
  OwnedMemoryDC buffer(nullptr);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  OwnedGdiObject<HBITMAP> bitmap(buffer ? CreateDIBSection(buffer, &info, DIB_RGB_COLORS, &bits, nullptr, 0)
                                        : nullptr);
  if (!bitmap || !bits) RaiseError<EPNGOutMemory>(pngtext::OutMemory);
  SelectedObject bitmapIn(buffer, bitmap);
  BitBlt(buffer, 0, 0, w, h, dc, rect.left, rect.top, SRCCOPY);

  auto* trns = Chunks()->FindChunk<TChunktRNS>();
  const std::uint8_t type = ih.ColorType;
  const bool packed = type == COLOR_GRAYSCALE || type == COLOR_PALETTE;
  const std::uint32_t tableSize = std::min<std::uint32_t>(header->BitmapInfo.bmiHeader.biClrUsed, 256);
  auto* out = static_cast<std::uint8_t*>(bits);
  for (int j = 0; j < h; ++j) {
    std::uint32_t sy = stretch ? std::uint32_t(std::trunc(j / factorY)) : std::uint32_t(j);
    if (sy >= ih.Height) sy = ih.Height - 1;
    const std::uint8_t* row = header->ImageData + std::uint64_t(header->BytesPerRow) * (ih.Height - 1 - sy);
    const std::uint8_t* alphaRow =
        header->AlphaData() ? header->AlphaData() + std::uint64_t(ih.Width) * sy : nullptr;
    std::uint8_t* dst = out + std::uint64_t(w) * 4 * j;
    for (int i = 0; i < w; ++i, dst += 4) {
      std::uint32_t sx = stretch ? std::uint32_t(std::trunc(i / factorX)) : std::uint32_t(i);
      if (sx >= ih.Width) sx = ih.Width - 1;
      int a = 255;
      std::uint8_t src[3];  // blue, green, red as displayed
      if (packed) {
        const std::uint8_t index = StoredIndex(sx, sy);
        // An index past the colour table draws black.
        const RGBQUAD c = index < tableSize ? header->BitmapInfo.bmiColors[index] : RGBQUAD{0, 0, 0, 0};
        src[0] = c.rgbBlue, src[1] = c.rgbGreen, src[2] = c.rgbRed;
        if (bitMode) {
          a = IsTransparentSample(sx, sy, trns) ? 0 : 255;
        } else if (trns) {
          a = trns->PaletteValues()[index];
        }
      } else if (type == COLOR_GRAYSCALEALPHA) {
        src[0] = src[1] = src[2] = row[sx];
        a = alphaRow[sx];
      } else {
        const std::uint8_t* p = row + 3 * std::uint64_t(sx);
        src[0] = GammaTable[p[0]], src[1] = GammaTable[p[1]], src[2] = GammaTable[p[2]];
        a = bitMode ? (IsTransparentSample(sx, sy, trns) ? 0 : 255) : alphaRow[sx];
      }
      if (a == 0) continue;
      for (int k = 0; k < 3; ++k)
        dst[k] = a == 255 ? src[k] : std::uint8_t((a * src[k] + (255 - a) * dst[k] + 255) >> 8);
    }
  }
  BitBlt(dc, rect.left, rect.top, w, h, buffer, 0, 0, SRCCOPY);
}
