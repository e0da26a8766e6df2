#include "imagelib/IxImageICO.h"

#include <cstring>
#include <vector>

#include "imagelib/IxFile.h"
#include "imagelib/IxImagePNG.h"
#include "imagelib/IxStreamCursor.h"

namespace {

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

void PutLE16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(static_cast<uint8_t>(x));
  v.push_back(static_cast<uint8_t>(x >> 8));
}

void PutLE32(std::vector<uint8_t>& v, uint32_t x) {
  for (int i = 0; i < 4; ++i) v.push_back(static_cast<uint8_t>(x >> (8 * i)));
}

}  // namespace

bool IxImageICO::Decode(IxFile* hFile) {
  if (hFile == nullptr) return false;
  IxStreamCursor in(hFile);
  uint8_t header[6];
  if (!in.Read(header, sizeof(header))) return false;
  const uint16_t reserved = IxStreamCursor::LE16(header);
  const uint16_t type = IxStreamCursor::LE16(header + 2);
  const uint16_t count = IxStreamCursor::LE16(header + 4);
  if (reserved != 0 || (type != 1 && type != 2)) return false;
  info.nNumFrames = count;
  if (info.nFrame < 0 || info.nFrame >= count) return false;

  uint8_t entry[16];
  if (!in.Skip(16ull * static_cast<uint64_t>(info.nFrame)) || !in.Read(entry, sizeof(entry))) return false;
  if (!in.Skip(16ull * (count - 1 - static_cast<uint64_t>(info.nFrame)))) return false;
  // A size byte of 0 stands for 256.
  int32_t width = entry[0] == 0 ? 256 : entry[0];
  int32_t height = entry[1] == 0 ? 256 : entry[1];
  const uint32_t offset = IxStreamCursor::LE32(entry + 12);
  if (!in.SeekTo(offset)) return false;

  uint8_t raw[40];
  if (!in.Read(raw, sizeof(raw))) return false;
  if (memcmp(raw, kPngSignature, sizeof(kPngSignature)) == 0) {
    // Large icons are stored as whole PNG files.
    if (!in.SeekTo(offset)) return false;
    IxImagePNG png;
    png.CopyInfo(*this);
    if (!png.Decode(hFile)) {
      SetLastError(png.GetLastError());
      return false;
    }
    Transfer(png);
    info.dwType = IXIMAGE_FORMAT_ICO;
    info.nNumFrames = count;
    return true;
  }

  const IxBitmapInfoHeader bih = ReadInfoHeader(raw);
  const uint32_t bpp = bih.biBitCount;
  if (bih.biSize < 40 || (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32)) return false;
  if (bih.biSize > 40 && !in.Skip(bih.biSize - 40)) return false;
  // The bitmap's own header (twice the height: picture and mask) describes the data that
  // follows; writers are known to put other sizes in the directory.
  if (bih.biWidth > 0 && bih.biWidth <= 256 && bih.biHeight > 1 && bih.biHeight <= 512) {
    width = bih.biWidth;
    height = bih.biHeight / 2;
  }

  const uint64_t stride = ((uint64_t{bpp} * static_cast<uint64_t>(width) + 31) / 32) * 4;
  const uint64_t maskRow = ((static_cast<uint64_t>(width) + 31) / 32) * 4;
  if (Create(width, height, bpp, IXIMAGE_FORMAT_ICO) == nullptr) {
    SetLastError("Can't allocate memory");
    return false;
  }

  if (bpp <= 8) {
    const uint32_t full = 1u << bpp;
    const uint32_t colors = bih.biClrUsed != 0 && bih.biClrUsed < full ? bih.biClrUsed : full;
    uint8_t palette[256 * 4];
    if (!in.Read(palette, 4ull * colors)) return false;
    for (uint32_t i = 0; i < colors; ++i) palette[4 * i + 3] = 0;
    SetPalette(reinterpret_cast<const IxRGBQuad*>(palette), colors);
  }

  bool hadAlpha = false;
  if (bpp == 32) {
    AlphaCreate();
    if (!AlphaIsValid()) {
      SetLastError("Can't allocate memory");
      return false;
    }
    hadAlpha = true;
    std::vector<uint8_t> row(static_cast<size_t>(stride));
    for (int32_t y = 0; y < height; ++y) {
      if (!in.Read(row.data(), stride)) return false;
      for (int32_t x = 0; x < width; ++x) {
        memcpy(BlindGetPixelPointer(x, y), &row[4 * static_cast<size_t>(x)], 3);
        AlphaSet(x, y, row[4 * static_cast<size_t>(x) + 3]);
      }
    }
  } else {
    if (!in.Read(GetBits(0), stride * static_cast<uint64_t>(height))) return false;
  }

  std::vector<uint8_t> mask(static_cast<size_t>(maskRow * static_cast<uint64_t>(height)));
  if (in.Read(mask.data(), mask.size())) ApplyMask(mask.data(), maskRow, hadAlpha);
  return true;
}

void IxImageICO::ApplyMask(const uint8_t* mask, uint64_t maskRow, bool hadAlpha) {
  const int64_t width = GetWidth();
  const int64_t height = GetHeight();
  const uint64_t maskBytes = maskRow * static_cast<uint64_t>(height);
  bool allSet = true;
  for (uint64_t i = 0; i < maskBytes && allSet; ++i) allSet = mask[i] == 0xFF;
  if (allSet) {
    SetTransIndex(0);
    Negative();
    return;
  }
  auto masked = [&](int64_t x, int64_t y) {
    return (mask[static_cast<uint64_t>(y) * maskRow + static_cast<uint64_t>(x >> 3)] >> (7 - (x & 7))) & 1;
  };

  AlphaCreate();
  if (!AlphaIsValid()) return;
  bool anyMasked = false;
  for (int64_t y = 0; y < height; ++y) {
    for (int64_t x = 0; x < width; ++x) {
      if (masked(x, y)) {
        AlphaSet(x, y, 0);
        anyMasked = true;
      }
    }
  }
  if (!anyMasked) {
    if (!hadAlpha) AlphaDelete();
    return;
  }

  if (GetBpp() == 24) {
    // A 32-bit icon's own alpha says more than one transparent colour could.
    if (hadAlpha) return;
    bool same = true, first = true;
    IxRGBQuad colour{0, 0, 0, 0};
    for (int64_t y = 0; y < height && same; ++y) {
      for (int64_t x = 0; x < width && same; ++x) {
        if (!masked(x, y)) continue;
        const IxRGBQuad c = GetPixelColor(x, y, false);
        if (first) {
          colour = c;
          first = false;
        } else {
          same = c.rgbRed == colour.rgbRed && c.rgbGreen == colour.rgbGreen && c.rgbBlue == colour.rgbBlue;
        }
      }
    }
    if (same) {
      SetTransColor(colour);
      SetTransIndex(0);
      AlphaDelete();
    }
    return;
  }

  bool used[256] = {};
  for (int64_t y = 0; y < height; ++y) {
    for (int64_t x = 0; x < width; ++x) used[BlindGetPixelIndex(x, y)] = true;
  }
  const uint32_t colors = 1u << GetBpp();
  for (uint32_t i = 0; i < colors; ++i) {
    if (used[i]) continue;
    for (int64_t y = 0; y < height; ++y) {
      for (int64_t x = 0; x < width; ++x) {
        if (masked(x, y)) SetPixelIndex(x, y, static_cast<uint8_t>(i));
      }
    }
    SetTransIndex(static_cast<int32_t>(i));
    AlphaDelete();
    return;
  }
}

bool IxImageICO::Encode(IxFile* hFile) {
  if (EncodeSafeCheck(hFile)) return false;
  const uint32_t width = GetWidth();
  const uint32_t height = GetHeight();
  if (width > 255 || height > 255) {
    SetLastError("Can't save this image as icon");
    return false;
  }
  const bool alpha32 = GetBpp() == 24 && AlphaIsValid();
  const uint32_t bitCount = alpha32 ? 32 : GetBpp();
  const uint32_t imageSize = alpha32 ? width * height * 4 : head.biSizeImage;
  const uint32_t colors = GetNumColors();
  const uint32_t maskRow = ((width + 31) / 32) * 4;
  const uint32_t maskSize = maskRow * height;

  std::vector<uint8_t> out;
  out.reserve(22 + 40 + colors * 4 + imageSize + maskSize);
  PutLE16(out, 0);
  PutLE16(out, 1);
  PutLE16(out, 1);
  out.push_back(static_cast<uint8_t>(width));
  out.push_back(static_cast<uint8_t>(height));
  out.push_back(static_cast<uint8_t>(colors));
  out.push_back(0);
  PutLE16(out, 0);
  PutLE16(out, bitCount);
  PutLE32(out, 40 + colors * 4 + imageSize + maskSize);
  PutLE32(out, 22);
  IxBitmapInfoHeader bih{};
  bih.biSize = 40;
  bih.biWidth = static_cast<int32_t>(width);
  bih.biHeight = static_cast<int32_t>(height * 2);
  bih.biPlanes = 1;
  bih.biBitCount = static_cast<uint16_t>(bitCount);
  bih.biSizeImage = imageSize;
  const size_t at = out.size();
  out.resize(at + 40);
  WriteInfoHeader(bih, out.data() + at);
  if (colors != 0) {
    const uint8_t* pal = reinterpret_cast<const uint8_t*>(GetPalette());
    out.insert(out.end(), pal, pal + colors * 4);
  }
  if (alpha32) {
    for (uint32_t y = 0; y < height; ++y) {
      for (uint32_t x = 0; x < width; ++x) {
        const uint8_t* p = BlindGetPixelPointer(x, y);
        out.insert(out.end(), p, p + 3);
        out.push_back(BlindAlphaGet(x, y));
      }
    }
  } else {
    out.insert(out.end(), GetBits(0), GetBits(0) + imageSize);
  }

  const size_t maskAt = out.size();
  out.resize(maskAt + maskSize, 0);
  const bool paletteAlpha = AlphaPaletteIsValid();
  const IxRGBQuad trans = GetTransColor();
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      bool hidden = AlphaIsValid() && BlindAlphaGet(x, y) == 0;
      if (!hidden && (paletteAlpha || IsTransparent())) {
        const IxRGBQuad c = GetPixelColor(x, y, false);
        if (paletteAlpha && IsIndexed() && GetPaletteColor(BlindGetPixelIndex(x, y)).rgbReserved == 0)
          hidden = true;
        if (IsTransparent() && c.rgbRed == trans.rgbRed && c.rgbGreen == trans.rgbGreen &&
            c.rgbBlue == trans.rgbBlue) {
          hidden = true;
        }
      }
      if (hidden) out[maskAt + y * maskRow + x / 8] |= static_cast<uint8_t>(0x80 >> (x & 7));
    }
  }
  if (hFile->Write(out.data(), 1, out.size()) != out.size()) {
    SetLastError("Write Error");
    return false;
  }
  return true;
}
