// Arbitrary pixels through colour reduction: the bytes give a small bitmap's size, pixel format
// and pixels, a reduction (unknown values included), a dither mode, reduction bits and, for
// rmPalette, a palette. ReduceColors and the quantizer's palettes run on it, and the 8-bit result
// becomes a GIF frame that is saved with both coders.
#include <cstdint>
#include <memory>
#include <vector>

#include "pictures/color/ColorReduction.h"
#include "pictures/gif/TGIFImage.h"
#include "pictures/gif/TGIFSubImage.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/TMemoryStream.h"

namespace {

class Bytes {
 public:
  Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint8_t Next() { return at_ < size_ ? data_[at_++] : 0; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

int RowBytes(TPixelFormat format, int width) {
  switch (format) {
    case pf1bit:
      return (width + 7) / 8;
    case pf4bit:
      return (width + 1) / 2;
    case pf8bit:
      return width;
    case pf15bit:
    case pf16bit:
      return width * 2;
    case pf24bit:
      return width * 3;
    default:
      return width * 4;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Bytes in(data, size);
  const int width = in.Next() % 12 + 1, height = in.Next() % 12 + 1;
  static const TPixelFormat formats[] = {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit};
  const TPixelFormat format = formats[in.Next() % 7];
  const auto reduction = TColorReduction(in.Next() % 11);
  const auto mode = TDitherMode(in.Next() % 8);
  const int bits = in.Next() % 10;
  const int paletteSize = in.Next() % 257;
  std::vector<BYTE> memory(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * 257);
  auto* logical = reinterpret_cast<LOGPALETTE*>(memory.data());
  logical->palVersion = 0x300;
  logical->palNumEntries = WORD(paletteSize);
  for (int i = 0; i < paletteSize; ++i)
    logical->palPalEntry[i] = PALETTEENTRY{in.Next(), in.Next(), in.Next(), 0};
  HPALETTE palette = paletteSize > 0 ? CreatePalette(logical) : nullptr;

  TBitmap bitmap;
  bitmap.SetPixelFormat(format);
  bitmap.SetSize(width, height);
  for (int y = 0; y < height; ++y) {
    auto* row = static_cast<uint8_t*>(bitmap.ScanLine(y));
    for (int x = 0; x < RowBytes(format, width); ++x) row[x] = in.Next();
  }

  try {
    std::unique_ptr<TBitmap> reduced(ReduceColors(&bitmap, reduction, mode, bits, palette));
    HPALETTE optimized = CreateOptimizedPaletteFromSingleBitmap(&bitmap, bits * 29, bits, bits & 1);
    DeleteObject(optimized);
    if (reduced && !reduced->Empty() && reduced->PixelFormat() == pf8bit) {
      TGIFImage image;
      auto* frame = new TGIFSubImage(&image);
      frame->ColorMap()->ImportPalette(reduced->Palette());
      frame->DoSetBounds(0, 0, reduced->Width(), reduced->Height());
      for (int y = 0; y < reduced->Height(); ++y) {
        const auto* row = static_cast<const BYTE*>(reduced->ScanLine(y));
        std::copy_n(row, reduced->Width(), frame->GetScanline(y));
      }
      image.Add(frame);
      for (TGIFCompression coder : {gcLZW, gcRLE}) {
        image.SetCompression(coder);
        TMemoryStream out;
        image.SaveToStream(&out);
        out.SetPosition(0);
        TGIFImage back;
        back.LoadFromStream(&out);
        if (back.Images()->GetImage(0)->Pixels() != frame->Pixels()) __builtin_trap();
      }
    }
  } catch (const Exception&) {
    // A pixel the frame's table does not hold ("Color not in color table") is refused.
  }
  if (palette) DeleteObject(palette);
  return 0;
}
