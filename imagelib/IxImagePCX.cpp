#include "imagelib/IxImagePCX.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "imagelib/IxFile.h"
#include "imagelib/IxStreamCursor.h"

namespace {

// One header byte of count and a value give at most 63 bytes.
constexpr uint64_t kMaxRunExpansion = 32;

void PutLE16(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

// Run-length codes `n` values: runs of up to 63 equal values as (count | 0xC0) and the value,
// a single value below 192 alone. With `padOdd`, an odd count of values is followed by a 0.
void EncodeLine(const uint8_t* values, size_t n, bool padOdd, std::vector<uint8_t>& out) {
  size_t i = 0;
  while (i < n) {
    size_t run = 1;
    while (i + run < n && run < 63 && values[i + run] == values[i]) ++run;
    if (run == 1 && values[i] < 0xC0) {
      out.push_back(values[i]);
    } else {
      out.push_back(static_cast<uint8_t>(0xC0 | run));
      out.push_back(values[i]);
    }
    i += run;
  }
  if (padOdd && (n & 1) != 0) out.push_back(0);
}

}  // namespace

bool IxImagePCX::Decode(IxFile* hFile) {
  if (hFile == nullptr) return false;
  IxStreamCursor in(hFile);
  uint8_t h[128];
  if (!in.Read(h, sizeof(h))) return Fail("Can't read PCX image");
  if (h[0] != 10) return Fail("Error: Not a PCX file");
  if (h[2] != 1) return Fail("PCX file has unknown encoding scheme");
  const uint32_t bits = h[3];
  const int64_t xMin = IxStreamCursor::LE16(h + 4);
  const int64_t yMin = IxStreamCursor::LE16(h + 6);
  const int64_t xMax = IxStreamCursor::LE16(h + 8);
  const int64_t yMax = IxStreamCursor::LE16(h + 10);
  const uint32_t planes = h[65];
  const uint64_t bytesPerLine = IxStreamCursor::LE16(h + 66);
  if (planes > 4) return Fail("Can't handle image with more than 4 planes");

  const int64_t width = xMax - xMin + 1;
  const int64_t height = yMax - yMin + 1;
  if (width <= 0 || height <= 0 || planes == 0) return Fail("corrupted PCX");
  const bool rgb = bits == 8 && (planes == 3 || planes == 4);
  if (planes > 1 && !rgb) {
    if (bits == 2 || bits == 4) return Fail("Can't handle packed pixels with more than 1 plane.");
    if (bits != 1) return Fail("Can't handle more than 1 bit per pixel");
  }
  if (planes == 1 && bits != 1 && bits != 2 && bits != 4 && bits != 8) return Fail("corrupted PCX");
  // Each plane line must hold the whole width.
  if (bytesPerLine < (static_cast<uint64_t>(width) * bits + 7) / 8) return Fail("corrupted PCX");

  const uint32_t depth = rgb ? 24 : (bits == 1 && planes > 1) ? 4 : bits;
  const uint64_t lineBytes = bytesPerLine * planes;
  if (!in.CanYield(lineBytes * static_cast<uint64_t>(height), kMaxRunExpansion)) return Fail("corrupted PCX");
  if (Create(static_cast<int32_t>(width), static_cast<int32_t>(height), depth, IXIMAGE_FORMAT_PCX) ==
      nullptr) {
    return Fail("Can't allocate memory");
  }
  info.xDPI = IxStreamCursor::LE16(h + 12);
  info.yDPI = IxStreamCursor::LE16(h + 14);
  if (planes == 4 && rgb) {
    AlphaCreate();
    if (!AlphaIsValid()) return Fail("Can't allocate memory");
  }
  if (info.nEscape != 0) return Fail("Cancelled");

  std::vector<uint8_t> line(static_cast<size_t>(lineBytes));
  uint64_t left = lineBytes * static_cast<uint64_t>(height);
  uint32_t runCount = 0;
  uint8_t runValue = 0;
  for (int64_t top = 0; top < height; ++top) {
    if (info.nEscape != 0) return Fail("Cancelled");
    // A run may go on into the next line; it may not go past the picture.
    for (uint64_t i = 0; i < lineBytes; ++i) {
      // A count of 0 stands for nothing: read on.
      while (runCount == 0) {
        const int c = in.ReadByte();
        if (c < 0) return Fail("corrupted PCX");
        if (c < 0xC0) {
          runCount = 1;
          runValue = static_cast<uint8_t>(c);
          break;
        }
        runCount = static_cast<uint32_t>(c & 0x3F);
        const int v = in.ReadByte();
        if (v < 0) return Fail("corrupted PCX");
        runValue = static_cast<uint8_t>(v);
        if (runCount > left) return Fail("repeat count spans end of image");
      }
      line[i] = runValue;
      --runCount;
      --left;
    }

    const int64_t y = height - 1 - top;
    if (rgb) {
      uint8_t* dst = GetBits(0) + static_cast<uint64_t>(y) * GetEffWidth();
      for (int64_t x = 0; x < width; ++x) {
        dst[3 * x + 2] = line[x];
        dst[3 * x + 1] = line[bytesPerLine + x];
        dst[3 * x] = line[2 * bytesPerLine + x];
        if (planes == 4) AlphaSet(x, y, line[3 * bytesPerLine + x]);
      }
    } else if (planes == 1) {
      const uint32_t perByte = 8 / bits;
      const uint8_t mask = static_cast<uint8_t>((1u << bits) - 1);
      for (int64_t x = 0; x < width; ++x) {
        const uint32_t shift = 8 - bits * (1 + static_cast<uint32_t>(x) % perByte);
        SetPixelIndex(x, y, static_cast<uint8_t>((line[x / perByte] >> shift) & mask));
      }
    } else {
      for (int64_t x = 0; x < width; ++x) {
        uint8_t index = 0;
        for (uint32_t p = 0; p < planes; ++p) {
          index |= static_cast<uint8_t>(((line[p * bytesPerLine + x / 8] >> (7 - (x & 7))) & 1) << p);
        }
        SetPixelIndex(x, y, index);
      }
    }
  }

  if (rgb) return true;
  if (bits == 8) {
    uint8_t palette[769];
    if (!in.Read(palette, sizeof(palette)) || palette[0] != 12) return Fail("bad color map signature");
    SetPaletteRGB(palette + 1, 256);
  } else if (bits == 1 && planes == 1) {
    SetPaletteColor(0, 0, 0, 0);
    SetPaletteColor(1, 255, 255, 255);
  } else {
    SetPaletteRGB(h + 16, 16);
  }
  return true;
}

bool IxImagePCX::Encode(IxFile* hFile) {
  if (EncodeSafeCheck(hFile)) return false;
  const uint32_t bpp = GetBpp();
  const uint64_t width = GetWidth();
  const uint64_t height = GetHeight();
  const bool withAlpha = bpp == 24 && AlphaIsValid();
  const uint32_t planes = bpp == 24 ? (withAlpha ? 4 : 3) : bpp == 4 ? 4 : 1;
  uint64_t bytesPerLine = bpp >= 8 ? width : (width + 7) / 8;
  bytesPerLine += bytesPerLine & 1;

  uint8_t h[128] = {};
  h[0] = 10;
  h[1] = 5;
  h[2] = 1;
  h[3] = bpp >= 8 ? 8 : 1;
  PutLE16(h + 8, static_cast<uint32_t>(width - 1));
  PutLE16(h + 10, static_cast<uint32_t>(height - 1));
  PutLE16(h + 12, static_cast<uint32_t>(GetXDPI()));
  PutLE16(h + 14, static_cast<uint32_t>(GetYDPI()));
  h[65] = static_cast<uint8_t>(planes);
  PutLE16(h + 66, static_cast<uint32_t>(bytesPerLine));
  if (bpp == 1) {
    h[19] = h[20] = h[21] = 255;
  } else if (bpp == 4) {
    for (uint8_t i = 0; i < 16; ++i) {
      const IxRGBQuad c = GetPaletteColor(i);
      h[16 + 3 * i] = c.rgbRed;
      h[17 + 3 * i] = c.rgbGreen;
      h[18 + 3 * i] = c.rgbBlue;
    }
  }
  if (width > 0x10000 || height > 0x10000 || bytesPerLine > 0xFFFF ||
      hFile->Write(h, 1, sizeof(h)) != sizeof(h)) {
    SetLastError("cannot write PCX header");
    return false;
  }

  std::vector<uint8_t> data;
  std::vector<uint8_t> values(static_cast<size_t>(std::max<uint64_t>(width, bytesPerLine * 8)));
  std::vector<uint8_t> plane(static_cast<size_t>(bytesPerLine));
  // A 1-bit picture whose entry 0 is the brighter is written inverted, so that 0 is black under
  // the header's black-and-white palette; only the line written is inverted, never the picture.
  const bool invert = bpp == 1 && CompareColors(GetPaletteColor(0), GetPaletteColor(1)) > 0;
  for (uint64_t top = 0; top < height; ++top) {
    const int64_t y = static_cast<int64_t>(height - 1 - top);
    if (bpp == 24) {
      const uint8_t* src = GetBits(0) + static_cast<uint64_t>(y) * GetEffWidth();
      for (uint32_t p = 0; p < planes; ++p) {
        for (uint64_t x = 0; x < width; ++x) {
          values[x] = p == 3 ? BlindAlphaGet(static_cast<int64_t>(x), y) : src[3 * x + (2 - p)];
        }
        EncodeLine(values.data(), width, true, data);
      }
    } else if (bpp == 8) {
      for (uint64_t x = 0; x < width; ++x) values[x] = BlindGetPixelIndex(static_cast<int64_t>(x), y);
      EncodeLine(values.data(), width, true, data);
    } else {
      for (uint64_t x = 0; x < width; ++x) {
        const uint8_t v = BlindGetPixelIndex(static_cast<int64_t>(x), y);
        values[x] = invert ? static_cast<uint8_t>(v ^ 1) : v;
      }
      for (uint32_t p = 0; p < planes; ++p) {
        std::fill(plane.begin(), plane.end(), 0);
        for (uint64_t x = 0; x < width; ++x) {
          if ((values[x] >> p) & 1) plane[x / 8] |= static_cast<uint8_t>(0x80 >> (x & 7));
        }
        EncodeLine(plane.data(), plane.size(), false, data);
      }
    }
  }
  if (bpp == 8) {
    data.push_back(12);
    for (int i = 0; i < 256; ++i) {
      const IxRGBQuad c = GetPaletteColor(static_cast<uint8_t>(i));
      data.push_back(c.rgbRed);
      data.push_back(c.rgbGreen);
      data.push_back(c.rgbBlue);
    }
  }
  if (hFile->Write(data.data(), 1, data.size()) != data.size()) {
    SetLastError("Write Error");
    return false;
  }
  return true;
}
