// Pixel storage and raw-value access for every bitmap format the layer draws on.
#include "platform/gdi/Bitmap.h"

#include <bit>
#include <cstring>

namespace platform::gdi {

namespace {

int BitsOf(uint32_t mask) { return std::popcount(mask); }
int ShiftOf(uint32_t mask) { return mask ? std::countr_zero(mask) : 0; }

// Expands an n-bit channel value to 8 bits the usual way (replicating the high bits).
uint32_t Expand(uint32_t v, int bits) {
  if (bits >= 8) return v >> (bits - 8);
  if (bits <= 0) return 0;
  uint32_t out = v << (8 - bits);
  out |= out >> bits;
  return out & 0xFF;
}

}  // namespace

int NearestIndex(const RGBQUAD* table, size_t count, COLORREF color) {
  int best = 0;
  long bestDist = -1;
  const int r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
  for (size_t i = 0; i < count; ++i) {
    const long dr = table[i].rgbRed - r, dg = table[i].rgbGreen - g, db = table[i].rgbBlue - b;
    const long d = dr * dr + dg * dg + db * db;
    if (bestDist < 0 || d < bestDist) {
      bestDist = d;
      best = int(i);
    }
  }
  return best;
}

std::shared_ptr<Bitmap> Bitmap::CreateSurface(int width, int height) {
  std::shared_ptr<Bitmap> b(new Bitmap());
  b->kind_ = Kind::Surface32;
  b->width_ = width;
  b->height_ = height;
  b->bpp_ = 32;
  b->stride_ = width * 4;
  b->topDown_ = true;
  b->rawMask_ = 0xFFFFFF;
  b->Allocate();
  b->header_ = {40, width, -height, 1, 32, BI_RGB, DWORD(b->byteSize()), 0, 0, 0, 0};
  return b;
}

std::shared_ptr<Bitmap> Bitmap::CreateMono(int width, int height) {
  std::shared_ptr<Bitmap> b(new Bitmap());
  b->kind_ = Kind::MonoDdb;
  b->width_ = width;
  b->height_ = height;
  b->bpp_ = 1;
  b->stride_ = ((width + 15) / 16) * 2;
  b->topDown_ = true;
  b->rawMask_ = 1;
  b->table_ = {{0, 0, 0, 0}, {255, 255, 255, 0}};
  b->Allocate();
  b->header_ = {40, width, -height, 1, 1, BI_RGB, DWORD(b->byteSize()), 0, 0, 2, 0};
  return b;
}

std::shared_ptr<Bitmap> Bitmap::CreateDib(const BITMAPINFO* info, const void* external) {
  if (!info) return nullptr;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biWidth <= 0 || h.biHeight == 0 || h.biPlanes != 1)
    return nullptr;
  const int bpp = h.biBitCount;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return nullptr;
  if (h.biCompression != BI_RGB && !(h.biCompression == BI_BITFIELDS && (bpp == 16 || bpp == 32)))
    return nullptr;
  const int64_t absHeight = h.biHeight < 0 ? -int64_t(h.biHeight) : int64_t(h.biHeight);
  const int64_t stride = ((int64_t(h.biWidth) * bpp + 31) / 32) * 4;
  if (absHeight > 0x7FFF'FFFF || stride * absHeight > (int64_t(1) << 31)) return nullptr;

  std::shared_ptr<Bitmap> b(new Bitmap());
  b->kind_ = Kind::DibSection;
  b->width_ = h.biWidth;
  b->height_ = int(absHeight);
  b->bpp_ = bpp;
  b->stride_ = int(stride);
  b->topDown_ = h.biHeight < 0;
  const RGBQUAD* colors = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const uint8_t*>(info) + h.biSize);
  if (bpp <= 8) {
    size_t used = h.biClrUsed ? h.biClrUsed : (size_t(1) << bpp);
    if (used > (size_t(1) << bpp)) used = size_t(1) << bpp;
    b->table_.assign(colors, colors + used);
    b->rawMask_ = (1u << bpp) - 1;
  } else if (h.biCompression == BI_BITFIELDS) {
    const uint32_t* m = reinterpret_cast<const uint32_t*>(colors);
    b->masks_[0] = m[0];
    b->masks_[1] = m[1];
    b->masks_[2] = m[2];
  } else if (bpp == 16) {
    b->masks_[0] = 0x7C00;
    b->masks_[1] = 0x03E0;
    b->masks_[2] = 0x001F;
  } else {
    b->masks_[0] = 0xFF0000;
    b->masks_[1] = 0x00FF00;
    b->masks_[2] = 0x0000FF;
  }
  b->SetupMasks();
  if (bpp == 16) b->rawMask_ = b->masks_[0] | b->masks_[1] | b->masks_[2];
  if (bpp >= 24 && h.biCompression == BI_RGB) b->rawMask_ = 0xFFFFFF;
  b->header_ = h;
  b->header_.biSize = 40;
  b->header_.biSizeImage = DWORD(stride * absHeight);
  if (external) {
    b->data_ = const_cast<uint8_t*>(static_cast<const uint8_t*>(external));
  } else {
    b->Allocate();
  }
  return b;
}

void Bitmap::SetupMasks() {
  for (int i = 0; i < 3; ++i) {
    shift_[i] = ShiftOf(masks_[i]);
    width5_[i] = BitsOf(masks_[i]);
  }
}

void Bitmap::Allocate() {
  own_.assign(size_t(stride_) * size_t(height_), 0);
  data_ = own_.data();
}

uint32_t Bitmap::GetRaw(int x, int y) const {
  const uint8_t* row = Row(y);
  switch (bpp_) {
    case 1:
      return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
      return (x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4);
    case 8:
      return row[x];
    case 16:
      return uint32_t(row[x * 2]) | (uint32_t(row[x * 2 + 1]) << 8);
    case 24:
      return uint32_t(row[x * 3]) | (uint32_t(row[x * 3 + 1]) << 8) | (uint32_t(row[x * 3 + 2]) << 16);
    default: {
      uint32_t v;
      std::memcpy(&v, row + x * 4, 4);
      return v;
    }
  }
}

void Bitmap::SetRaw(int x, int y, uint32_t raw) {
  uint8_t* row = Row(y);
  switch (bpp_) {
    case 1: {
      const uint8_t bit = uint8_t(0x80 >> (x & 7));
      if (raw & 1)
        row[x >> 3] |= bit;
      else
        row[x >> 3] &= uint8_t(~bit);
      break;
    }
    case 4:
      if (x & 1)
        row[x >> 1] = uint8_t((row[x >> 1] & 0xF0) | (raw & 0x0F));
      else
        row[x >> 1] = uint8_t((row[x >> 1] & 0x0F) | ((raw & 0x0F) << 4));
      break;
    case 8:
      row[x] = uint8_t(raw);
      break;
    case 16:
      row[x * 2] = uint8_t(raw);
      row[x * 2 + 1] = uint8_t(raw >> 8);
      break;
    case 24:
      row[x * 3] = uint8_t(raw);
      row[x * 3 + 1] = uint8_t(raw >> 8);
      row[x * 3 + 2] = uint8_t(raw >> 16);
      break;
    default:
      std::memcpy(row + x * 4, &raw, 4);
      break;
  }
}

COLORREF Bitmap::RawToColor(uint32_t raw) const {
  if (bpp_ <= 8) {
    if (raw >= table_.size()) return RGB(0, 0, 0);
    const RGBQUAD& q = table_[raw];
    return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
  }
  if (kind_ == Kind::Surface32 ||
      (bpp_ >= 24 && masks_[0] == 0xFF0000 && masks_[1] == 0xFF00 && masks_[2] == 0xFF))
    return RGB(BYTE(raw >> 16), BYTE(raw >> 8), BYTE(raw));
  const uint32_t r = Expand((raw & masks_[0]) >> shift_[0], width5_[0]);
  const uint32_t g = Expand((raw & masks_[1]) >> shift_[1], width5_[1]);
  const uint32_t b = Expand((raw & masks_[2]) >> shift_[2], width5_[2]);
  return RGB(BYTE(r), BYTE(g), BYTE(b));
}

uint32_t Bitmap::ColorToRaw(COLORREF color) const {
  if (bpp_ <= 8) return uint32_t(NearestIndex(table_.data(), table_.size(), color));
  const uint32_t r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
  if (kind_ == Kind::Surface32 || (masks_[0] == 0xFF0000 && masks_[1] == 0xFF00 && masks_[2] == 0xFF))
    return (r << 16) | (g << 8) | b;
  auto pack = [&](uint32_t v, int i) -> uint32_t {
    if (width5_[i] == 0) return 0;
    const uint32_t scaled = width5_[i] >= 8 ? v << (width5_[i] - 8) : v >> (8 - width5_[i]);
    return (scaled << shift_[i]) & masks_[i];
  };
  return pack(r, 0) | pack(g, 1) | pack(b, 2);
}

bool Bitmap::SameDomain(const Bitmap& other) const {
  if (bpp_ != other.bpp_) return false;
  if (bpp_ <= 8) {
    if (isMonoDdb() != other.isMonoDdb()) return false;
    if (table_.size() != other.table_.size()) return false;
    for (size_t i = 0; i < table_.size(); ++i) {
      if (table_[i].rgbRed != other.table_[i].rgbRed || table_[i].rgbGreen != other.table_[i].rgbGreen ||
          table_[i].rgbBlue != other.table_[i].rgbBlue)
        return false;
    }
    return true;
  }
  if (bpp_ == 32 && (kind_ == Kind::Surface32 || other.kind_ == Kind::Surface32)) {
    const uint32_t* a = kind_ == Kind::Surface32 ? nullptr : masks_;
    const uint32_t* b = other.kind_ == Kind::Surface32 ? nullptr : other.masks_;
    auto standard = [](const uint32_t* m) {
      return !m || (m[0] == 0xFF0000 && m[1] == 0xFF00 && m[2] == 0xFF);
    };
    return standard(a) && standard(b);
  }
  return masks_[0] == other.masks_[0] && masks_[1] == other.masks_[1] && masks_[2] == other.masks_[2];
}

}  // namespace platform::gdi
