#include "platform/forms/BmpFile.h"

#include <cstring>

#include "platform/forms/LittleEndianReader.h"
#include "platform/rtl/Exceptions.h"

namespace {

// Pictures larger than this are refused before anything is allocated for them.
constexpr std::int64_t kMaxPixels = std::int64_t(1) << 28;
// A run-length picture above this many bytes must have at least one byte of data for every
// kMaxRleExpansion bytes of pixels (a run fills at most 255 pixels from two bytes, a delta skips
// at most 255 rows with four): a short file naming a huge picture is refused before its pixels
// are allocated and cleared.
constexpr std::uint64_t kUncheckedRleBytes = std::uint64_t(16) << 20;
constexpr std::uint64_t kMaxRleExpansion = 256;

[[noreturn]] void Invalid() { throw EInvalidGraphic("Bitmap image is not valid"); }

class Reader : public LittleEndianReader {
 public:
  Reader(const std::uint8_t* data, std::size_t size)
      : LittleEndianReader(data, size, "Bitmap image is not valid") {}
};

void SetIndex(TDibImage& img, int x, int y, int index) {
  if (x < 0 || x >= img.Width || y < 0 || y >= img.Height) return;
  std::uint8_t* row = img.Bits.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(img.Stride());
  if (img.BitCount == 8) {
    row[x] = static_cast<std::uint8_t>(index);
  } else {
    std::uint8_t& b = row[x / 2];
    if (x % 2 == 0)
      b = static_cast<std::uint8_t>((b & 0x0F) | (index << 4));
    else
      b = static_cast<std::uint8_t>((b & 0xF0) | (index & 0x0F));
  }
}

// RLE runs count rows from the bottom; `img` holds top-down rows.
void DecodeRle(Reader& in, TDibImage& img, bool four) {
  int x = 0, y = 0;
  auto put = [&](int index) {
    SetIndex(img, x, img.Height - 1 - y, index);
    ++x;
  };
  while (in.Left() >= 2) {
    int count = in.U8();
    int value = in.U8();
    if (count > 0) {
      for (int i = 0; i < count; ++i) put(four ? ((i % 2 == 0) ? value >> 4 : value & 0x0F) : value);
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++y;
    } else if (value == 1) {  // end of picture
      return;
    } else if (value == 2) {  // delta
      x += in.U8();
      y += in.U8();
    } else {  // an absolute run of `value` pixels, padded to a 16-bit boundary
      int bytes = four ? (value + 1) / 2 : value;
      const std::uint8_t* p = in.Take(static_cast<std::size_t>(bytes));
      for (int i = 0; i < value; ++i) put(four ? ((i % 2 == 0) ? p[i / 2] >> 4 : p[i / 2] & 0x0F) : p[i]);
      if (bytes % 2) in.Take(1);
    }
    if (y >= img.Height) return;
  }
}

std::uint8_t Channel(std::uint32_t v, std::uint32_t mask) {
  if (!mask) return 0;
  int shift = __builtin_ctz(mask);
  int bits = __builtin_popcount(mask);
  std::uint32_t c = (v & mask) >> shift;
  if (bits >= 8) return static_cast<std::uint8_t>(c >> (bits - 8));
  return static_cast<std::uint8_t>(c * 255 / ((1u << bits) - 1));
}

// 32-bit pictures with their own channel masks become plain blue-green-red-x pixels, which is
// what the drawing layer and scan-line users expect of 32 bits.
void NormalizeBitFields32(TDibImage& img) {
  if (img.BitCount != 32 || !img.BitFields) return;
  for (std::size_t i = 0; i + 4 <= img.Bits.size(); i += 4) {
    std::uint8_t* p = img.Bits.data() + i;
    std::uint32_t v = std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
                      (std::uint32_t(p[3]) << 24);
    p[0] = Channel(v, img.Masks[2]);
    p[1] = Channel(v, img.Masks[1]);
    p[2] = Channel(v, img.Masks[0]);
    p[3] = 0;
  }
  img.BitFields = false;
  img.Masks[0] = img.Masks[1] = img.Masks[2] = 0;
}

}  // namespace

TDibImage ReadBmpFile(const std::uint8_t* data, std::size_t size) {
  Reader in(data, size);
  if (in.U16() != 0x4D42) Invalid();  // "BM"
  in.Take(8);
  std::uint32_t offBits = in.U32();
  std::size_t headerStart = in.Pos();
  std::uint32_t headerSize = in.U32();
  TDibImage img;
  std::int64_t width = 0, height = 0;
  std::uint32_t compression = 0, clrUsed = 0;
  bool core = headerSize == 12;
  if (core) {
    width = in.U16();
    height = static_cast<std::int16_t>(in.U16());
    in.U16();
    img.BitCount = in.U16();
  } else if (headerSize >= 40 && headerSize <= 124) {
    width = static_cast<std::int32_t>(in.U32());
    height = static_cast<std::int32_t>(in.U32());
    in.U16();
    img.BitCount = in.U16();
    compression = in.U32();
    in.Take(12);
    clrUsed = in.U32();
    in.U32();
    if (headerSize >= 52) {
      img.Masks[0] = in.U32();
      img.Masks[1] = in.U32();
      img.Masks[2] = in.U32();
    }
  } else {
    Invalid();
  }
  in.Seek(headerStart + headerSize);
  bool topDown = height < 0;
  if (topDown) height = -height;
  if (width <= 0 || height <= 0 || width * height > kMaxPixels) Invalid();
  img.Width = static_cast<int>(width);
  img.Height = static_cast<int>(height);
  int bpp = img.BitCount;
  bool validDepth = bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
  if (!validDepth) Invalid();
  if (compression == BI_RLE8 && bpp != 8) Invalid();
  if (compression == BI_RLE4 && bpp != 4) Invalid();
  if (compression == BI_BITFIELDS) {
    if (bpp != 16 && bpp != 32) Invalid();
    if (headerSize == 40) {
      img.Masks[0] = in.U32();
      img.Masks[1] = in.U32();
      img.Masks[2] = in.U32();
    }
    img.BitFields = true;
  } else if (compression > BI_BITFIELDS) {
    Invalid();
  }
  if ((compression == BI_RLE4 || compression == BI_RLE8) && topDown) Invalid();
  if (bpp <= 8) {
    std::uint32_t entries = clrUsed == 0 || clrUsed > (1u << bpp) ? (1u << bpp) : clrUsed;
    std::size_t entrySize = core ? 3 : 4;
    // Some writers leave out the table's tail; take what is there before the pixels.
    if (offBits >= in.Pos() && offBits <= size) {
      std::size_t room = (offBits - in.Pos()) / entrySize;
      if (room < entries) entries = static_cast<std::uint32_t>(room);
    }
    for (std::uint32_t i = 0; i < entries; ++i) {
      const std::uint8_t* p = in.Take(entrySize);
      img.Table.push_back(RGBQUAD{p[0], p[1], p[2], 0});
    }
  }
  if (offBits != 0) in.Seek(offBits);

  std::size_t stride = static_cast<std::size_t>(img.Stride());
  if (compression == BI_RLE8 || compression == BI_RLE4) {
    const std::uint64_t area = std::uint64_t(stride) * std::uint64_t(img.Height);
    if (area > kUncheckedRleBytes && area / kMaxRleExpansion > in.Left()) Invalid();
    img.Bits.assign(stride * static_cast<std::size_t>(img.Height), 0);
    DecodeRle(in, img, compression == BI_RLE4);
    return img;
  }
  // The pixels must all be there before anything is allocated for them.
  const std::uint8_t* pixels = in.Take(stride * static_cast<std::size_t>(img.Height));
  img.Bits.assign(stride * static_cast<std::size_t>(img.Height), 0);
  for (int y = 0; y < img.Height; ++y) {
    int src = topDown ? y : img.Height - 1 - y;
    std::memcpy(img.Bits.data() + stride * static_cast<std::size_t>(y),
                pixels + stride * static_cast<std::size_t>(src), stride);
  }
  NormalizeBitFields32(img);
  return img;
}

std::vector<std::uint8_t> WriteBmpFile(const TDibImage& img) {
  std::vector<std::uint8_t> out;
  auto u16 = [&](std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
  };
  auto u32 = [&](std::uint32_t v) {
    u16(v & 0xFFFF);
    u16(v >> 16);
  };
  std::size_t stride = static_cast<std::size_t>(img.Stride());
  std::size_t tableSize = img.BitCount <= 8 ? img.Table.size() * 4 : 0;
  std::size_t masksSize = img.BitFields ? 12 : 0;
  std::size_t offBits = 14 + 40 + masksSize + tableSize;
  std::size_t imageSize = stride * static_cast<std::size_t>(img.Height);
  u16(0x4D42);
  u32(static_cast<std::uint32_t>(offBits + imageSize));
  u32(0);
  u32(static_cast<std::uint32_t>(offBits));
  u32(40);
  u32(static_cast<std::uint32_t>(img.Width));
  u32(static_cast<std::uint32_t>(img.Height));
  u16(1);
  u16(static_cast<std::uint32_t>(img.BitCount));
  u32(img.BitFields ? BI_BITFIELDS : BI_RGB);
  u32(static_cast<std::uint32_t>(imageSize));
  u32(3780);  // 96 pixels per inch
  u32(3780);
  u32(img.BitCount <= 8 ? static_cast<std::uint32_t>(img.Table.size()) : 0);
  u32(0);
  if (img.BitFields)
    for (DWORD m : img.Masks) u32(m);
  if (img.BitCount <= 8)
    for (const RGBQUAD& q : img.Table) {
      out.push_back(q.rgbBlue);
      out.push_back(q.rgbGreen);
      out.push_back(q.rgbRed);
      out.push_back(0);
    }
  for (int y = img.Height - 1; y >= 0; --y) {
    const std::uint8_t* row = img.Bits.data() + stride * static_cast<std::size_t>(y);
    out.insert(out.end(), row, row + stride);
  }
  return out;
}
