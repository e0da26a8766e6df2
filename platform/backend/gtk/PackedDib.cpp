// Packed DIB reading through one bounded cursor over the block, and writing.
#include "platform/backend/gtk/PackedDib.h"

#include <algorithm>
#include <cstring>

namespace platform::desktop {

namespace {

class Cursor {
 public:
  Cursor(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool Has(uint64_t offset, uint64_t length) const { return offset <= size_ && length <= size_ - offset; }
  uint32_t U32(size_t at) const {
    return uint32_t(data_[at]) | uint32_t(data_[at + 1]) << 8 | uint32_t(data_[at + 2]) << 16 |
           uint32_t(data_[at + 3]) << 24;
  }
  uint16_t U16(size_t at) const { return uint16_t(data_[at] | data_[at + 1] << 8); }
  uint8_t U8(size_t at) const { return data_[at]; }

 private:
  const uint8_t* data_;
  size_t size_;
};

bool Fail(std::string* error, const char* why) {
  if (error) *error = why;
  return false;
}

// Spreads a masked field over 8 bits.
uint32_t Field(uint32_t value, uint32_t mask) {
  if (!mask) return 0;
  int shift = 0;
  while (!((mask >> shift) & 1)) ++shift;
  const uint32_t bits = mask >> shift;
  const uint64_t v = (value & mask) >> shift;
  return uint32_t(v * 255 / bits);
}

}  // namespace

bool ReadPackedDib(const uint8_t* data, size_t size, DibPixels& out, std::string* error) {
  const Cursor c(data, size);
  if (!data || !c.Has(0, 40)) return Fail(error, "the block is shorter than a bitmap header");
  const uint32_t headerSize = c.U32(0);
  const int32_t width = int32_t(c.U32(4)), height = int32_t(c.U32(8));
  const uint16_t bits = c.U16(14);
  const uint32_t compression = c.U32(16), used = c.U32(32);
  if (headerSize < 40 || !c.Has(0, headerSize)) return Fail(error, "the bitmap header size is wrong");
  if (width <= 0 || height == 0 || height == INT32_MIN) return Fail(error, "the bitmap has no pixels");
  const uint64_t w = uint64_t(width), h = uint64_t(height < 0 ? -int64_t(height) : height);
  if (w * h > (uint64_t(1) << 28)) return Fail(error, "the bitmap is too large");
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    return Fail(error, "the bitmap's bit count is not supported");
  if (compression != 0 && !(compression == 3 && (bits == 16 || bits == 32)))
    return Fail(error, "compressed bitmaps are not supported");
  uint64_t offset = headerSize;
  uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
  if (bits == 32) masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
  if (compression == 3) {
    const uint64_t at = headerSize == 40 ? offset : 40;  // version 4/5 headers hold them inside
    if (!c.Has(at, 12)) return Fail(error, "the bit-field masks are missing");
    for (int i = 0; i < 3; ++i) masks[i] = c.U32(size_t(at + 4 * uint64_t(i)));
    if (headerSize == 40) offset += 12;
  }
  std::vector<uint32_t> palette;
  if (bits <= 8) {
    const uint64_t count = used ? used : (uint64_t(1) << bits);
    if (count > 256 || !c.Has(offset, count * 4)) return Fail(error, "the colour table is cut short");
    for (uint64_t i = 0; i < count; ++i) palette.push_back(c.U32(size_t(offset + 4 * i)) & 0xFFFFFF);
    offset += count * 4;
  }
  const uint64_t stride = (w * bits + 31) / 32 * 4;
  if (!c.Has(offset, stride * h)) return Fail(error, "the pixel rows are cut short");
  out.width = width;
  out.height = int(h);
  out.pixels.assign(size_t(w * h), 0);
  for (uint64_t y = 0; y < h; ++y) {
    const uint64_t row = offset + (height < 0 ? y : h - 1 - y) * stride;
    for (uint64_t x = 0; x < w; ++x) {
      uint32_t p = 0;
      if (bits <= 8) {
        const uint64_t bit = x * bits;
        const unsigned index = (c.U8(size_t(row + bit / 8)) >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
        p = index < palette.size() ? palette[index] : 0;
      } else if (bits == 24) {
        const size_t at = size_t(row + x * 3);
        p = uint32_t(c.U8(at)) | uint32_t(c.U8(at + 1)) << 8 | uint32_t(c.U8(at + 2)) << 16;
      } else {
        const uint32_t v = bits == 16 ? c.U16(size_t(row + x * 2)) : c.U32(size_t(row + x * 4));
        p = Field(v, masks[0]) << 16 | Field(v, masks[1]) << 8 | Field(v, masks[2]);
      }
      out.pixels[size_t(y * w + x)] = p;
    }
  }
  return true;
}

std::vector<uint8_t> WritePackedDib(const DibPixels& in) {
  const size_t w = size_t(std::max(0, in.width)), h = size_t(std::max(0, in.height));
  std::vector<uint8_t> out(40 + w * h * 4, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + size_t(i)] = uint8_t(v >> (8 * i));
  };
  put32(0, 40);
  put32(4, uint32_t(w));
  put32(8, uint32_t(h));
  out[12] = 1;
  out[14] = 32;
  put32(20, uint32_t(w * h * 4));
  for (size_t y = 0; y < h; ++y)
    for (size_t x = 0; x < w; ++x) put32(40 + ((h - 1 - y) * w + x) * 4, in.pixels[y * w + x] & 0xFFFFFF);
  return out;
}

}  // namespace platform::desktop
