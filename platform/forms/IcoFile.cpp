#include "platform/forms/IcoFile.h"

#include <cstdlib>
#include <cstring>

#include "platform/forms/LittleEndianReader.h"
#include "platform/rtl/Exceptions.h"

namespace {

[[noreturn]] void Invalid() { throw EInvalidGraphic("Icon image is not valid"); }

class Cursor : public LittleEndianReader {
 public:
  Cursor(const std::uint8_t* data, std::size_t size)
      : LittleEndianReader(data, size, "Icon image is not valid") {}
};

struct Entry {
  int width, height, bits;
  std::uint32_t size, offset;
};

bool IsPng(const std::uint8_t* data, std::size_t size, const Entry& e) {
  static const std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  return std::uint64_t(e.offset) + 8 <= size && std::memcmp(data + e.offset, signature, 8) == 0;
}

// One image: a BITMAPINFOHEADER, the colour table, the colour rows, then the AND mask rows,
// both bottom-up.
TIcoImage DecodeEntry(const std::uint8_t* file, std::size_t fileSize, const Entry& e) {
  if (std::uint64_t(e.offset) + e.size > fileSize) Invalid();
  Cursor c(file + e.offset, e.size);
  std::uint32_t headerSize = c.U32();
  if (headerSize < 40 || headerSize > e.size) Invalid();
  std::int32_t width = c.I32();
  std::int32_t doubleHeight = c.I32();
  c.U16();  // planes
  int bits = c.U16();
  std::uint32_t compression = c.U32();
  c.U32();  // image size
  c.I32();
  c.I32();
  std::uint32_t colorsUsed = c.U32();
  if (compression != 0) Invalid();
  if (width <= 0 || width > 256 || doubleHeight <= 0 || doubleHeight > 512 || doubleHeight % 2) Invalid();
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) Invalid();
  const int height = doubleHeight / 2;
  c.Seek(headerSize);
  std::vector<std::uint32_t> palette;
  if (bits <= 8) {
    std::uint64_t count = colorsUsed ? colorsUsed : (1u << bits);
    if (count > (1u << bits)) Invalid();
    const std::uint8_t* p = c.Take(count * 4);
    for (std::uint64_t i = 0; i < count; ++i)
      palette.push_back((std::uint32_t(p[i * 4 + 2]) << 16) | (std::uint32_t(p[i * 4 + 1]) << 8) | p[i * 4]);
    palette.resize(std::size_t(1) << bits, 0);
  }
  const std::uint64_t stride = ((std::uint64_t(width) * std::uint64_t(bits) + 31) / 32) * 4;
  const std::uint64_t maskStride = ((std::uint64_t(width) + 31) / 32) * 4;
  const std::uint8_t* colour = c.Take(stride * std::uint64_t(height));
  // Some 32-bit images leave the mask out and rely on their alpha channel.
  const bool hasMask = (e.size - c.Pos()) >= maskStride * std::uint64_t(height);
  if (bits != 32 && !hasMask) Invalid();
  const std::uint8_t* mask = hasMask ? c.Take(maskStride * std::uint64_t(height)) : nullptr;

  TIcoImage out;
  out.Width = width;
  out.Height = height;
  out.Pixels.assign(std::size_t(width) * std::size_t(height), 0);
  out.Opaque.assign(out.Pixels.size(), 0);
  bool anyAlpha = false;
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = colour + std::uint64_t(height - 1 - y) * stride;
    for (int x = 0; x < width; ++x) {
      std::uint32_t px = 0;
      switch (bits) {
        case 1:
          px = palette[(row[x / 8] >> (7 - x % 8)) & 1];
          break;
        case 4:
          px = palette[(row[x / 2] >> (x % 2 ? 0 : 4)) & 0xF];
          break;
        case 8:
          px = palette[row[x]];
          break;
        case 24:
          px = (std::uint32_t(row[x * 3 + 2]) << 16) | (std::uint32_t(row[x * 3 + 1]) << 8) | row[x * 3];
          break;
        case 32: {
          const std::uint8_t* p = row + x * 4;
          px = (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[1]) << 8) | p[0];
          if (p[3]) anyAlpha = true;
          break;
        }
      }
      out.Pixels[std::size_t(y) * width + x] = px;
    }
  }
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::size_t i = std::size_t(y) * width + x;
      bool opaque = true;
      if (bits == 32 && anyAlpha) {
        // Half-transparent pixels count as covered: there is no blending here.
        opaque = colour[std::uint64_t(height - 1 - y) * stride + std::uint64_t(x) * 4 + 3] >= 128;
      } else if (mask) {
        const std::uint8_t* m = mask + std::uint64_t(height - 1 - y) * maskStride;
        opaque = !((m[x / 8] >> (7 - x % 8)) & 1);
      }
      out.Opaque[i] = opaque ? 1 : 0;
    }
  }
  return out;
}

}  // namespace

TIcoImage DecodeIco(const std::uint8_t* data, std::size_t size, int want) {
  if (!data) Invalid();
  Cursor c(data, size);
  if (c.U16() != 0) Invalid();
  std::uint16_t type = c.U16();
  if (type != 1 && type != 2) Invalid();
  std::uint16_t count = c.U16();
  if (count == 0) Invalid();
  std::vector<Entry> entries;
  for (int i = 0; i < count; ++i) {
    const std::uint8_t* p = c.Take(16);
    Entry e{};
    e.width = p[0] ? p[0] : 256;
    e.height = p[1] ? p[1] : 256;
    e.bits = p[6] | (p[7] << 8);
    e.size = std::uint32_t(p[8]) | (std::uint32_t(p[9]) << 8) | (std::uint32_t(p[10]) << 16) |
             (std::uint32_t(p[11]) << 24);
    e.offset = std::uint32_t(p[12]) | (std::uint32_t(p[13]) << 8) | (std::uint32_t(p[14]) << 16) |
               (std::uint32_t(p[15]) << 24);
    if (std::uint64_t(e.offset) + e.size > size || e.size < 40) continue;
    if (IsPng(data, size, e)) continue;
    entries.push_back(e);
  }
  if (entries.empty()) Invalid();
  const Entry* best = nullptr;
  for (const Entry& e : entries) {
    if (!best) {
      best = &e;
      continue;
    }
    int d = std::abs(e.width - want) + std::abs(e.height - want);
    int bd = std::abs(best->width - want) + std::abs(best->height - want);
    if (d < bd || (d == bd && e.bits > best->bits)) best = &e;
  }
  return DecodeEntry(data, size, *best);
}
