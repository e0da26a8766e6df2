#include "imagelib/IxImageBMP.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

#include "imagelib/IxIOFile.h"
#include "imagelib/IxStreamCursor.h"

namespace {

constexpr uint32_t kRGB = 0, kRLE8 = 1, kRLE4 = 2, kBitFields = 3, kAlphaBitFields = 6;

// A header larger than this much pixel area must come with data in some proportion to it:
// a few bytes of file may not make us allocate gigabytes.
constexpr uint64_t kUncheckedPixelArea = 16ull << 20;
constexpr uint64_t kMaxExpansion = 256;

uint64_t StoredRowSize(uint64_t width, uint64_t bpp) { return ((bpp * width + 31) / 32) * 4; }

// Reads up to `want` bytes, stopping at the end of the stream; grows in steps, so a stream of
// unknown size does not make us allocate all of `want` at once.
std::vector<uint8_t> ReadUpTo(IxStreamCursor& in, uint64_t want) {
  std::vector<uint8_t> out;
  constexpr size_t kChunk = 1 << 16;
  while (out.size() < want) {
    const size_t n = static_cast<size_t>(std::min<uint64_t>(kChunk, want - out.size()));
    const size_t at = out.size();
    out.resize(at + n);
    const size_t got = static_cast<size_t>(in.ReadSome(out.data() + at, n));
    out.resize(at + got);
    if (got < n) break;
  }
  return out;
}

}  // namespace

bool IxImageBMP::ReadBitmapInfo(IxStreamCursor& in, IxBitmapInfoHeader* pdib, uint32_t masks[4]) {
  if (pdib == nullptr) return false;
  masks[0] = masks[1] = masks[2] = masks[3] = 0;
  uint8_t raw[IX_BITMAPINFOHEADER_SIZE] = {};
  if (!in.Read(raw, 4)) return false;
  const uint32_t size = IxStreamCursor::LE32(raw);

  IxBitmapInfoHeader h;
  if (size == 12) {
    // OS/2 core header: 16-bit fields, 3-byte palette entries; the rest reads as zero.
    if (!in.Read(raw + 4, 8)) return false;
    memset(&h, 0, sizeof(h));
    h.biSize = 12;
    h.biWidth = IxStreamCursor::LE16(raw + 4);
    h.biHeight = IxStreamCursor::LE16(raw + 6);
    h.biPlanes = IxStreamCursor::LE16(raw + 8);
    h.biBitCount = IxStreamCursor::LE16(raw + 10);
  } else {
    if (size < IX_BITMAPINFOHEADER_SIZE || !in.Read(raw + 4, sizeof(raw) - 4)) return false;
    h = ReadInfoHeader(raw);
    // Skipping past the end leaves nothing to read: what the picture lacks then reads as missing.
    if (size == 64) {
      in.Skip(24);
    } else if (size > IX_BITMAPINFOHEADER_SIZE) {
      // Later Windows headers (52, 56, 108 and 124 bytes) carry the colour masks after the first
      // 40 bytes: red, green, blue, then alpha from 56 bytes on. Colour spaces and profiles that
      // follow are not used. The headers hold at most 124 bytes of known fields.
      if (size > (uint32_t{1} << 16)) return false;
      uint8_t extra[16] = {};
      const size_t want = std::min<size_t>(size - IX_BITMAPINFOHEADER_SIZE, sizeof(extra));
      if (!in.Read(extra, want)) return false;
      if (want >= 12) {
        masks[0] = IxStreamCursor::LE32(extra);
        masks[1] = IxStreamCursor::LE32(extra + 4);
        masks[2] = IxStreamCursor::LE32(extra + 8);
      }
      if (want >= 16) masks[3] = IxStreamCursor::LE32(extra + 12);
      in.Skip(size - IX_BITMAPINFOHEADER_SIZE - want);
    }
  }

  // Sizes and depths nothing can be made of.
  if (h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == std::numeric_limits<int32_t>::min()) return false;
  switch (h.biBitCount) {
    case 1:
    case 2:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
      break;
    default:
      return false;
  }

  const uint64_t absHeight = h.biHeight < 0 ? -static_cast<int64_t>(h.biHeight) : h.biHeight;
  if (h.biSizeImage == 0) {
    const uint64_t computed = StoredRowSize(static_cast<uint64_t>(h.biWidth), h.biBitCount) * absHeight;
    h.biSizeImage = static_cast<uint32_t>(std::min<uint64_t>(computed, std::numeric_limits<uint32_t>::max()));
  }
  if (h.biClrUsed == 0 && h.biBitCount <= 8) h.biClrUsed = 1u << h.biBitCount;
  *pdib = h;
  return true;
}

bool IxImageBMP::Decode(FILE* hFile) {
  IxIOFile file(hFile);
  return Decode(hFile != nullptr ? &file : nullptr);
}

bool IxImageBMP::Encode(FILE* hFile) {
  IxIOFile file(hFile);
  return Encode(hFile != nullptr ? &file : nullptr);
}

bool IxImageBMP::Decode(IxFile* hFile) {
  if (hFile == nullptr) return false;
  IxStreamCursor in(hFile);

  uint8_t fileHeader[14];
  if (!in.Read(fileHeader, sizeof(fileHeader))) return Fail("Not a BMP");
  uint32_t offBits = 0;
  if (fileHeader[0] == 'B' && fileHeader[1] == 'M') {
    offBits = IxStreamCursor::LE32(fileHeader + 10);
  } else if (!in.SeekTo(0)) {
    return Fail("Not a BMP");
  }

  IxBitmapInfoHeader bmp;
  uint32_t masks[4];
  if (!ReadBitmapInfo(in, &bmp, masks)) return Fail("Error reading BMP info");

  const bool topDown = bmp.biHeight < 0;
  const int32_t width = bmp.biWidth;
  const int32_t height = topDown ? -bmp.biHeight : bmp.biHeight;

  if (info.nEscape == -1) {
    head.biWidth = width;
    head.biHeight = height;
    SetLastError("output dimensions returned");
    return true;
  }

  // The picture is stored at 24 bits when the file holds 16 or 32, at 4 when it holds 2.
  const uint32_t bpp = bmp.biBitCount;
  const uint32_t pictureBpp = bpp > 8 ? 24 : (bpp == 2 ? 4 : bpp);
  const uint64_t pixelArea = StoredRowSize(static_cast<uint64_t>(width), pictureBpp) * height;
  if (pixelArea > kUncheckedPixelArea && pixelArea / kMaxExpansion > in.Remaining()) {
    return Fail("Can't allocate memory");
  }

  if (Create(width, height, pictureBpp, IXIMAGE_FORMAT_BMP) == nullptr) return Fail("Can't allocate memory");
  SetXDPI(
      static_cast<int32_t>(std::clamp(std::floor(bmp.biXPelsPerMeter * 0.0254 + 0.5), -1.0, 2147483647.0)));
  SetYDPI(
      static_cast<int32_t>(std::clamp(std::floor(bmp.biYPelsPerMeter * 0.0254 + 0.5), -1.0, 2147483647.0)));

  if (info.nEscape != 0) return Fail("Cancelled");

  if (IsIndexed()) {
    // A palette cut short keeps the entries it has.
    const uint32_t layoutEntries = std::min<uint32_t>(GetPaletteSize() / 4, 1u << bpp);
    const uint32_t entries = std::min(bmp.biClrUsed, layoutEntries);
    uint8_t* pal = reinterpret_cast<uint8_t*>(GetPalette());
    if (bmp.biSize == 12) {
      uint8_t triples[256 * 3] = {};
      in.ReadSome(triples, 3ull * entries);
      for (uint32_t i = entries; i-- > 0;) {
        pal[4 * i] = triples[3 * i];
        pal[4 * i + 1] = triples[3 * i + 1];
        pal[4 * i + 2] = triples[3 * i + 2];
        pal[4 * i + 3] = 0;
      }
    } else {
      in.ReadSome(pal, 4ull * entries);
      for (uint32_t i = 0; i < entries; ++i) pal[4 * i + 3] = 0;
    }
    info.last_c_isvalid = 0;
  }

  if (info.nEscape != 0) return Fail("Cancelled");

  // Bit fields: after a 40-byte header the masks follow it (three, or four with an alpha mask);
  // the later headers hold them. Alpha counts only with bit fields.
  const bool bitFields = bmp.biCompression == kBitFields || bmp.biCompression == kAlphaBitFields;
  if (bitFields && (bpp == 16 || bpp == 32) && bmp.biSize == IX_BITMAPINFOHEADER_SIZE) {
    uint8_t raw[16];
    const size_t count = bmp.biCompression == kAlphaBitFields ? 16 : 12;
    if (!in.Read(raw, count)) return Fail("Error reading BMP info");
    masks[0] = IxStreamCursor::LE32(raw);
    masks[1] = IxStreamCursor::LE32(raw + 4);
    masks[2] = IxStreamCursor::LE32(raw + 8);
    masks[3] = count == 16 ? IxStreamCursor::LE32(raw + 12) : 0;
  }
  if (!bitFields) masks[0] = masks[1] = masks[2] = masks[3] = 0;

  // Pixel data said to start past the end is missing: the picture stays blank.
  if (offBits != 0 && !in.SeekTo(std::min<uint64_t>(offBits, in.Position() + in.Remaining()))) {
    return Fail("Error reading BMP info");
  }

  uint8_t* bits = GetBits(0);
  const uint32_t bitsSize = head.biSizeImage;
  switch (bpp) {
    case 1:
    case 4:
    case 8:
      if (bmp.biCompression == kRGB) {
        // The file's image size is often wrong: the pixel area is what the header's size says.
        // Rows the file lacks stay blank.
        in.ReadSome(bits, bitsSize);
      } else if ((bpp == 8 && bmp.biCompression == kRLE8) || (bpp == 4 && bmp.biCompression == kRLE4)) {
        // Enough for any sound coding of this picture; a longer stream holds nothing of it.
        const uint64_t cap = 4ull * bitsSize + 8ull * static_cast<uint64_t>(height) + 4096;
        const std::vector<uint8_t> data = ReadUpTo(in, cap);
        DecodeRLE(data.data(), data.size(), bpp == 4);
      } else {
        return Fail("compression type not supported");
      }
      break;
    case 2: {
      if (bmp.biCompression != kRGB) return Fail("compression type not supported");
      // Four pixels to a byte in the file, two in the picture: each row is widened.
      const uint64_t stored = StoredRowSize(static_cast<uint64_t>(width), 2);
      const std::vector<uint8_t> data = ReadUpTo(in, stored * static_cast<uint64_t>(height));
      for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
          const uint64_t at = static_cast<uint64_t>(y) * stored + static_cast<uint64_t>(x) / 4;
          if (at >= data.size()) break;
          SetPixelIndex(x, y, static_cast<uint8_t>((data[at] >> (6 - 2 * (x & 3))) & 3));
        }
      }
      break;
    }
    case 16:
    case 32: {
      if (bmp.biCompression != kRGB && !bitFields) return Fail("unknown compression");
      if (bpp == 16 && bmp.biCompression == kRGB) {
        masks[0] = 0x7C00;
        masks[1] = 0x03E0;
        masks[2] = 0x001F;
      }
      // No room for bytes the stream does not hold.
      const uint64_t stored = std::min<uint64_t>(
          bpp == 16 ? static_cast<uint64_t>(height) * ((static_cast<uint64_t>(width) + 1) / 2) * 4
                    : static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 4,
          in.Remaining());
      std::vector<uint8_t> temp;
      try {
        temp.resize(static_cast<size_t>(stored));
      } catch (const std::bad_alloc&) {
        return Fail("can't allocate memory");
      }
      const size_t got = static_cast<size_t>(in.ReadSome(temp.data(), temp.size()));
      if (masks[3] != 0) {
        AlphaCreate();
        if (!AlphaIsValid()) return Fail("can't allocate memory");
      }
      // At 32 bits without masks, bytes 0, 1, 2 are blue, green, red.
      Bitfield2RGB(temp.data(), got, masks[0], masks[1], masks[2], static_cast<uint8_t>(bpp), masks[3]);
      break;
    }
    case 24:
      if (bmp.biCompression != kRGB) return Fail("unknown compression");
      in.ReadSome(bits, bitsSize);
      break;
    default:
      return Fail("Error reading BMP info");
  }

  if (topDown && !Flip()) return Fail("Can't allocate memory");
  return true;
}

bool IxImageBMP::DecodeRLE(const uint8_t* data, size_t length, bool rle4) {
  const uint64_t rowSize = info.dwEffWidth;
  const uint64_t height = static_cast<uint64_t>(head.biHeight);
  // Columns count pixels; at 4 bits two share a byte, the even one in the high nibble.
  const uint64_t rowPixels = rle4 ? 2 * rowSize : rowSize;
  uint8_t* bits = GetBits(0);
  size_t pos = 0;
  uint64_t x = 0;
  uint64_t y = 0;

  // Codes pointing outside the picture write nothing.
  auto put = [&](uint8_t value) {
    if (y < height && x < rowPixels) {
      if (!rle4) {
        bits[y * rowSize + x] = value;
      } else {
        uint8_t& b = bits[y * rowSize + x / 2];
        if (x & 1)
          b = static_cast<uint8_t>((b & 0xF0) | (value & 0x0F));
        else
          b = static_cast<uint8_t>((b & 0x0F) | (value << 4));
      }
    }
    ++x;
  };

  while (pos + 1 < length && y < height) {
    const uint8_t count = data[pos++];
    const uint8_t second = data[pos++];
    if (count > 0) {
      // A run that starts beyond the row ends the picture.
      if (x >= rowPixels) return true;
      // At 4 bits a run alternates the colour byte's two nibbles, high first.
      for (uint32_t i = 0; i < count; ++i) put(!rle4 ? second : ((i & 1) ? (second & 0x0F) : (second >> 4)));
      continue;
    }
    switch (second) {
      case 0:  // end of line
        x = 0;
        ++y;
        break;
      case 1:  // end of bitmap
        return true;
      case 2:  // delta: columns right, rows up
        if (pos + 1 >= length) return true;
        x += data[pos];
        y += data[pos + 1];
        pos += 2;
        break;
      default: {  // literal, padded to a whole 16-bit word
        const uint32_t pixels = second;
        const uint32_t bytes = rle4 ? (pixels + 1) / 2 : pixels;
        for (uint32_t i = 0; i < pixels; ++i) {
          const size_t at = pos + (rle4 ? i / 2 : i);
          if (at >= length) return true;
          put(!rle4 ? data[at] : ((i & 1) ? (data[at] & 0x0F) : (data[at] >> 4)));
        }
        pos += bytes + (bytes & 1);
        break;
      }
    }
  }
  return true;
}

bool IxImageBMP::Encode(IxFile* hFile) {
  if (EncodeSafeCheck(hFile)) return false;

  const uint32_t dibSize = GetSize();
  uint8_t fileHeader[14] = {'B', 'M'};
  const uint32_t fileSize = dibSize + 14;
  const uint32_t offBits = 14 + IX_BITMAPINFOHEADER_SIZE + GetPaletteSize();
  for (int i = 0; i < 4; ++i) {
    fileHeader[2 + i] = static_cast<uint8_t>(fileSize >> (8 * i));
    fileHeader[10 + i] = static_cast<uint8_t>(offBits >> (8 * i));
  }

  // The block's own header may be stale: resolution and colours may have changed since Create.
  WriteInfoHeader(head, static_cast<uint8_t*>(pDib));
  if (hFile->Write(fileHeader, 1, sizeof(fileHeader)) != sizeof(fileHeader) ||
      hFile->Write(pDib, 1, dibSize) != dibSize) {
    SetLastError("Write Error");
    return false;
  }
  return true;
}
