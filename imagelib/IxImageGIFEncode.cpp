// IxImageGIF: the encoder. An indexed picture is written as one image with a global colour
// table; a 24-bit picture as a mosaic of 17 x 15 tiles, each a frame with its own 256-colour
// table, which the decoder reads back as one 24-bit picture. Every file is built in memory and
// written in one go, so a write error is seen and reported.
#include <algorithm>
#include <cstring>

#include "imagelib/IxFile.h"
#include "imagelib/IxGifLzwEncoder.h"
#include "imagelib/IxGifRleEncoder.h"
#include "imagelib/IxImageGIF.h"

namespace {

constexpr int kTileWidth = 17;
constexpr int kTileHeight = 15;

void Put16(std::vector<uint8_t>& out, int v) {
  out.push_back(static_cast<uint8_t>(v & 0xFF));
  out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

void PutScreen(std::vector<uint8_t>& out, int width, int height, uint8_t flags) {
  const char* signature = "GIF89a";
  out.insert(out.end(), signature, signature + 6);
  Put16(out, width);
  Put16(out, height);
  out.push_back(flags);
  out.push_back(0);  // background
  out.push_back(0);  // aspect
}

}  // namespace

std::vector<uint8_t> IxImageGIF::IndicesTopDown() const {
  const int width = static_cast<int>(GetWidth());
  const int height = static_cast<int>(GetHeight());
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
  size_t i = 0;
  for (int y = height - 1; y >= 0; --y) {
    const uint8_t* row = GetBits(y);
    if (GetBpp() == 8) {
      std::copy(row, row + width, pixels.begin() + static_cast<std::ptrdiff_t>(i));
      i += static_cast<size_t>(width);
    } else {
      for (int x = 0; x < width; ++x) pixels[i++] = BlindGetPixelIndex(x, y);
    }
  }
  return pixels;
}

void IxImageGIF::AppendCodeStream(std::vector<uint8_t>& out, int initBits, Coder coder) const {
  const std::vector<uint8_t> pixels = IndicesTopDown();
  // No coder spends more than 12 bits a pixel, plus sub-block lengths and a few clear codes;
  // reserving that once avoids growing (and copying) the file buffer while it is written.
  out.reserve(out.size() + pixels.size() * 2 + 1024);
  switch (coder) {
    case Coder::kNone:
      IxGifLzwEncoder().CompressLiteral(pixels.data(), pixels.size(), initBits, out);
      break;
    case Coder::kRle:
      IxGifRleEncoder().Compress(pixels.data(), pixels.size(), initBits, out);
      break;
    case Coder::kLzw:
      IxGifLzwEncoder().Compress(pixels.data(), pixels.size(), initBits, out);
      break;
  }
}

bool IxImageGIF::WriteAll(IxFile* hFile, const std::vector<uint8_t>& bytes) {
  const bool written = bytes.empty() || hFile->Write(bytes.data(), 1, bytes.size()) == bytes.size();
  if (!written || !hFile->Flush() || hFile->Error() != 0) {
    SetLastError("Write Error in GIF file");
    return false;
  }
  return true;
}

bool IxImageGIF::WriteCodeStream(int initBits, IxFile* hFile, Coder coder) {
  if (EncodeSafeCheck(hFile)) return false;
  std::vector<uint8_t> out;
  AppendCodeStream(out, initBits, coder);
  return WriteAll(hFile, out);
}

bool IxImageGIF::CompressLZW(int initBits, IxFile* hFile) {
  return WriteCodeStream(initBits, hFile, Coder::kLzw);
}
bool IxImageGIF::CompressNone(int initBits, IxFile* hFile) {
  return WriteCodeStream(initBits, hFile, Coder::kNone);
}
bool IxImageGIF::CompressRLE(int initBits, IxFile* hFile) {
  return WriteCodeStream(initBits, hFile, Coder::kRle);
}

void IxImageGIF::AppendGraphicControl(std::vector<uint8_t>& out) const {
  const bool transparent = info.nBkgndIndex >= 0;
  out.insert(out.end(), {0x21, 0xF9, 0x04});
  out.push_back(static_cast<uint8_t>((disposal_ << 2) | (transparent ? 1 : 0)));
  Put16(out, static_cast<int>(info.dwFrameDelay));
  out.push_back(transparent ? static_cast<uint8_t>(info.nBkgndIndex) : 0xFF);
  out.push_back(0);
}

void IxImageGIF::AppendComment(std::vector<uint8_t>& out) const {
  const size_t length = strnlen(comment_, 255);
  if (length == 0) return;
  out.insert(out.end(), {0x21, 0xFE, static_cast<uint8_t>(length)});
  out.insert(out.end(), comment_, comment_ + length);
  out.push_back(0);
}

bool IxImageGIF::Encode(IxFile* hFile) {
  if (EncodeSafeCheck(hFile)) return false;
  if (GetWidth() > 0xFFFF || GetHeight() > 0xFFFF) {
    SetLastError("Picture too large for GIF");
    return false;
  }
  if (GetBpp() > 8) return EncodeRGB(hFile);

  const int bpp = GetBpp();
  std::vector<uint8_t> out;
  PutScreen(out, static_cast<int>(GetWidth()), static_cast<int>(GetHeight()),
            static_cast<uint8_t>(0x80 | ((bpp - 1) << 4) | (bpp - 1)));
  // The table the header announces: 2^bpp entries, whatever number of colours is in use.
  const IxRGBQuad* palette = GetPalette();
  const uint32_t used = GetNumColors();
  for (uint32_t k = 0; k < (1u << bpp); ++k) {
    if (palette != nullptr && k < used) {
      out.insert(out.end(), {palette[k].rgbRed, palette[k].rgbGreen, palette[k].rgbBlue});
    } else {
      out.insert(out.end(), {0, 0, 0});
    }
  }
  AppendGraphicControl(out);
  AppendComment(out);

  out.push_back(0x2C);
  Put16(out, info.xOffset);
  Put16(out, info.yOffset);
  Put16(out, static_cast<int>(GetWidth()));
  Put16(out, static_cast<int>(GetHeight()));
  out.push_back(0);  // no local table, not interlaced
  const int minCodeSize = bpp < 2 ? 2 : bpp;
  out.push_back(static_cast<uint8_t>(minCodeSize));
  const uint32_t option = GetCodecOption(IXIMAGE_FORMAT_GIF);
  AppendCodeStream(out, minCodeSize + 1,
                   option == 1 ? Coder::kNone : (option == 2 ? Coder::kRle : Coder::kLzw));
  out.push_back(0);
  out.push_back(0x3B);
  return WriteAll(hFile, out);
}

bool IxImageGIF::EncodeRGB(IxFile* hFile) {
  if (EncodeSafeCheck(hFile)) return false;
  const int width = static_cast<int>(GetWidth());
  const int height = static_cast<int>(GetHeight());
  if (width > 0xFFFF || height > 0xFFFF) {
    SetLastError("Picture too large for GIF");
    return false;
  }
  std::vector<uint8_t> out;
  PutScreen(out, width, height, 0x11);
  AppendComment(out);

  IxImageGIF tile;
  for (int y = 0; y < height; y += kTileHeight) {
    for (int x = 0; x < width; x += kTileWidth) {
      const int w = width - x < kTileWidth ? width - x : kTileWidth;
      const int h = height - y < kTileHeight ? height - y : kTileHeight;
      if (static_cast<int>(tile.GetWidth()) != w || static_cast<int>(tile.GetHeight()) != h) {
        if (tile.Create(w, h, 8, IXIMAGE_FORMAT_UNKNOWN) == nullptr) {
          SetLastError("Can't allocate memory");
          return false;
        }
      }
      if (IsTransparent()) {
        tile.SetTransIndex(0);
        tile.SetPaletteColor(0, GetTransColor());
      } else {
        tile.SetTransIndex(-1);
      }
      // Entry 1 + 17 i + j holds the colour of tile pixel (j, i), so every colour of the tile is
      // in its table and the nearest entry is an exact one (the first that holds the colour).
      for (int i = 0; i < h; ++i) {
        for (int j = 0; j < w; ++j) {
          const IxRGBQuad c = GetPixelColor(x + j, height - y - h + i);
          tile.SetPaletteColor(static_cast<uint8_t>(1 + kTileWidth * i + j), c);
          tile.SetPixelIndex(j, i, tile.GetNearestIndex(c));
        }
      }
      tile.AppendGraphicControl(out);
      out.push_back(0x2C);
      Put16(out, x);
      Put16(out, y);
      Put16(out, w);
      Put16(out, h);
      out.push_back(0x87);
      const IxRGBQuad* palette = tile.GetPalette();
      for (int k = 0; k < 256; ++k)
        out.insert(out.end(), {palette[k].rgbRed, palette[k].rgbGreen, palette[k].rgbBlue});
      out.push_back(8);
      tile.AppendCodeStream(out, 9, Coder::kLzw);
      out.push_back(0);
    }
  }
  out.push_back(0x3B);
  return WriteAll(hFile, out);
}
