// Pixel storage behind every bitmap handle: 32-bit top-down surfaces, monochrome bitmaps and DIB
// sections of 1/4/8/16/24/32 bits in either row order. Pixels are read and written as "raw"
// values in the bitmap's own domain (an index, a 1-bit value or 0x00RRGGBB / packed 16-bit),
// so raster operations can work on indices as the classic rules demand.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gdi/GdiTypes.h"

namespace platform::gdi {

class Bitmap {
 public:
  enum class Kind { Surface32, MonoDdb, DibSection };

  // A 32-bit top-down surface (window surfaces, compatible bitmaps); pixels start black.
  static std::shared_ptr<Bitmap> CreateSurface(int width, int height);
  // A monochrome bitmap: rows padded to 16 bits, most significant bit first; 0 black, 1 white.
  static std::shared_ptr<Bitmap> CreateMono(int width, int height);
  // A DIB section described by a header (and its colour table or bit masks); nullptr when the
  // format is not one we draw on. `external` makes a read-only view over caller memory.
  static std::shared_ptr<Bitmap> CreateDib(const BITMAPINFO* info, const void* external = nullptr);

  Kind kind() const { return kind_; }
  int width() const { return width_; }
  int height() const { return height_; }
  int bpp() const { return bpp_; }
  int stride() const { return stride_; }
  bool topDown() const { return topDown_; }
  bool isMonoDdb() const { return kind_ == Kind::MonoDdb; }
  bool indexed() const { return bpp_ <= 8; }
  uint8_t* bits() { return data_; }
  const uint8_t* bits() const { return data_; }
  size_t byteSize() const { return size_t(stride_) * size_t(height_); }

  // Row y counted from the top, whatever the storage order.
  uint8_t* Row(int y) { return data_ + size_t(topDown_ ? y : height_ - 1 - y) * size_t(stride_); }
  const uint8_t* Row(int y) const { return data_ + size_t(topDown_ ? y : height_ - 1 - y) * size_t(stride_); }

  uint32_t GetRaw(int x, int y) const;
  void SetRaw(int x, int y, uint32_t raw);
  // Bits of a raw value that carry meaning (the rest is forced to 0 after a raster operation).
  uint32_t RawMask() const { return rawMask_; }

  // Colour of a raw value as COLORREF (an index beyond the table draws black).
  COLORREF RawToColor(uint32_t raw) const;
  // Raw value for a colour: the nearest table entry for indexed bitmaps.
  uint32_t ColorToRaw(COLORREF color) const;
  // True when both bitmaps hold raw values with the same meaning.
  bool SameDomain(const Bitmap& other) const;

  std::vector<RGBQUAD>& colorTable() { return table_; }
  const std::vector<RGBQUAD>& colorTable() const { return table_; }
  const uint32_t* masks() const { return masks_; }
  const BITMAPINFOHEADER& header() const { return header_; }

  // The DC this bitmap is selected into (0 = none); a bitmap lives in at most one DC.
  uintptr_t selectedInto = 0;

 private:
  Bitmap() = default;
  void Allocate();
  void SetupMasks();

  Kind kind_ = Kind::Surface32;
  int width_ = 0, height_ = 0, bpp_ = 32, stride_ = 0;
  bool topDown_ = true;
  uint8_t* data_ = nullptr;
  std::vector<uint8_t> own_;
  std::vector<RGBQUAD> table_;
  uint32_t masks_[3] = {0, 0, 0};
  int shift_[3] = {0, 0, 0};
  int width5_[3] = {0, 0, 0};
  uint32_t rawMask_ = 0xFFFFFF;
  BITMAPINFOHEADER header_{};
};

// Index of the nearest colour (smallest squared RGB distance, first on ties).
int NearestIndex(const RGBQUAD* table, size_t count, COLORREF color);

}  // namespace platform::gdi
