#include "imagelib/IxImageTGA.h"

#include <cstring>
#include <vector>

#include "imagelib/IxFile.h"
#include "imagelib/IxStreamCursor.h"

namespace {

// A run packet of 128 pixels from a header byte and one pixel value.
constexpr uint64_t kMaxRunExpansion = 3 * 128 / 2;

// A 5-bit channel over the whole 8-bit range: 31 is 255.
uint8_t Widen5(uint32_t v) { return static_cast<uint8_t>((v & 0x1F) * 255 / 31); }

// One colour of 15 or 16 bits: five bits each of red, green and blue, blue lowest.
IxRGBQuad From555(uint16_t w) { return IxRGBQuad{Widen5(w), Widen5(w >> 5u), Widen5(w >> 10u), 0}; }

// Pixel values in a run-length coded stream: a packet may end inside a row or span rows, and a
// run's value is carried in memory from row to row.
class TgaPacketReader {
 public:
  TgaPacketReader(IxStreamCursor& in, uint32_t pixelBytes, bool rle)
      : in_(in), size_(pixelBytes), rle_(rle) {}

  bool Next(uint8_t* out) {
    if (!rle_) return in_.Read(out, size_);
    if (left_ == 0) {
      const int h = in_.ReadByte();
      if (h < 0) return false;
      run_ = h >= 128;
      left_ = run_ ? static_cast<uint32_t>(h - 127) : static_cast<uint32_t>(h + 1);
      if (run_ && !in_.Read(value_, size_)) return false;
    }
    --left_;
    if (run_) {
      memcpy(out, value_, size_);
      return true;
    }
    return in_.Read(out, size_);
  }

 private:
  IxStreamCursor& in_;
  uint32_t size_;
  bool rle_;
  bool run_ = false;
  uint32_t left_ = 0;
  uint8_t value_[4] = {};
};

void PutLE16(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

}  // namespace

bool IxImageTGA::Decode(IxFile* hFile) {
  if (hFile == nullptr) return false;
  IxStreamCursor in(hFile);
  uint8_t h[18];
  if (!in.Read(h, sizeof(h))) return Fail("Not a TGA");
  const uint8_t idLength = h[0];
  const uint8_t mapType = h[1];
  const uint8_t imageType = h[2];
  const uint16_t mapFirst = IxStreamCursor::LE16(h + 3);
  const uint16_t mapLength = IxStreamCursor::LE16(h + 5);
  const uint8_t mapEntryBits = h[7];
  const uint16_t width = IxStreamCursor::LE16(h + 12);
  const uint16_t height = IxStreamCursor::LE16(h + 14);
  const uint8_t depth = h[16];
  const uint8_t descriptor = h[17];

  const bool rle = imageType >= 9 && imageType <= 11;
  if (!rle && (imageType < 1 || imageType > 3)) return Fail("Unknown TGA image type");
  const uint32_t kind = imageType & 3;  // 1 colour-mapped, 2 true colour, 3 grey
  bool headerOk = width != 0 && height != 0 && mapLength < 257 && mapType <= 1 &&
                  (depth == 8 || depth == 15 || depth == 16 || depth == 24 || depth == 32);
  // The format has no signature: combinations no writer makes are refused, so that other
  // files do not pass for TGA.
  if (mapType == 1) {
    headerOk =
        headerOk && (mapEntryBits == 15 || mapEntryBits == 16 || mapEntryBits == 24 || mapEntryBits == 32);
  }
  if (kind == 1) headerOk = headerOk && mapType == 1 && depth == 8;
  if (kind == 2) headerOk = headerOk && depth != 8;
  if (kind == 3) headerOk = headerOk && (depth == 8 || depth == 16);
  if (!headerOk) return Fail("bad TGA header");
  const bool greyAlpha = kind == 3 && depth == 16;

  if (!in.Skip(idLength)) return Fail("corrupted TGA");
  const uint32_t pixelBytes = (depth + 7) / 8;
  const uint64_t pixels = uint64_t{width} * height;
  if (!in.CanYield(pixels * 3, rle ? kMaxRunExpansion : 3)) return Fail("corrupted TGA");

  const uint32_t bpp = depth == 8 || greyAlpha ? 8 : 24;
  if (Create(width, height, bpp, IXIMAGE_FORMAT_TGA) == nullptr) return Fail("TGA Create failed");
  if (depth == 32 || greyAlpha) {
    AlphaCreate();
    if (!AlphaIsValid()) return Fail("TGA Create failed");
  }
  if (info.nEscape != 0) return Fail("Cancelled");

  if (mapType == 1) {
    const uint32_t entryBytes = (mapEntryBits + 7) / 8;
    std::vector<uint8_t> map(static_cast<size_t>(mapLength) * entryBytes);
    if (!in.Read(map.data(), map.size())) return Fail("corrupted TGA");
    for (uint32_t i = 0; i < mapLength && mapFirst + i < 256; ++i) {
      const uint8_t* e = &map[i * entryBytes];
      const IxRGBQuad c = entryBytes == 2 ? From555(IxStreamCursor::LE16(e)) : IxRGBQuad{e[0], e[1], e[2], 0};
      SetPaletteColor(static_cast<uint8_t>(mapFirst + i), c);
    }
  }
  if (kind == 3) SetGrayPalette();

  const bool rightToLeft = (descriptor & 0x10) != 0;
  const bool topDown = (descriptor & 0x20) != 0;
  TgaPacketReader reader(in, pixelBytes, rle);
  uint8_t* bits = GetBits(0);
  uint8_t* alpha = AlphaGetPointer();
  uint8_t px[4];
  for (uint32_t i = 0; i < height; ++i) {
    if (info.nEscape != 0) return Fail("Cancelled");
    const uint64_t y = topDown ? height - 1 - i : i;
    uint8_t* row = bits + y * GetEffWidth();
    for (uint32_t n = 0; n < width; ++n) {
      if (!reader.Next(px)) return Fail("corrupted TGA");
      const uint64_t x = rightToLeft ? width - 1 - n : n;
      switch (depth) {
        case 8:
          row[x] = px[0];
          break;
        case 15:
        case 16: {
          if (greyAlpha) {
            row[x] = px[0];
            alpha[y * width + x] = px[1];
            break;
          }
          const IxRGBQuad c = From555(IxStreamCursor::LE16(px));
          row[3 * x] = c.rgbBlue;
          row[3 * x + 1] = c.rgbGreen;
          row[3 * x + 2] = c.rgbRed;
          break;
        }
        default:
          memcpy(row + 3 * x, px, 3);
          if (depth == 32) alpha[y * width + x] = px[3];
          break;
      }
    }
  }
  return true;
}

bool IxImageTGA::Encode(IxFile* hFile) {
  if (EncodeSafeCheck(hFile)) return false;
  if (GetBpp() < 8) {
    SetLastError("Bit depth must be 8 or 24");
    return false;
  }
  const bool indexed = GetBpp() == 8;
  const bool withAlpha = !indexed && AlphaIsValid();
  const uint32_t width = GetWidth();
  const uint32_t height = GetHeight();
  uint8_t h[18] = {};
  h[1] = IsIndexed() ? 1 : 0;
  h[2] = indexed ? 1 : 2;
  PutLE16(h + 5, indexed ? 256 : 0);
  h[7] = indexed ? 24 : 0;
  PutLE16(h + 12, width);
  PutLE16(h + 14, height);
  h[16] = static_cast<uint8_t>(withAlpha ? 32 : GetBpp());
  std::vector<uint8_t> out(h, h + sizeof(h));
  if (width > 0xFFFF || height > 0xFFFF) {
    SetLastError("Write Error");
    return false;
  }
  if (indexed) {
    const IxRGBQuad* pal = GetPalette();
    for (int i = 0; i < 256; ++i) {
      out.push_back(pal[i].rgbBlue);
      out.push_back(pal[i].rgbGreen);
      out.push_back(pal[i].rgbRed);
    }
  }
  bool ok = hFile->Write(out.data(), 1, out.size()) == out.size();
  std::vector<uint8_t> row(static_cast<size_t>(width) * 4);
  for (uint32_t y = 0; ok && y < height; ++y) {
    const uint8_t* src = GetBits(0) + static_cast<uint64_t>(y) * GetEffWidth();
    size_t n = static_cast<size_t>(width) * (GetBpp() / 8);
    if (withAlpha) {
      for (uint32_t x = 0; x < width; ++x) {
        memcpy(&row[4 * x], src + 3 * x, 3);
        row[4 * x + 3] = static_cast<uint8_t>(BlindAlphaGet(x, y) * info.nAlphaMax / 255);
      }
      n = static_cast<size_t>(width) * 4;
      src = row.data();
    }
    ok = hFile->Write(src, 1, n) == n;
  }
  if (!ok) SetLastError("Write Error");
  return ok;
}
