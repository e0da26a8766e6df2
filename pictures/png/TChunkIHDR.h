// TChunkIHDR: the header chunk. It owns the image storage: a bottom-up DIB section in a memory
// context (1, 4 or 8 bits with a colour table for grey and palette images, 24 bits BGR for
// truecolour), the alpha plane (top-down, one byte a pixel) and the plane of the low bytes of
// 16-bit samples (the bitmap's row layout).
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "pictures/png/TChunk.h"
#include "platform/gdi/GdiTypes.h"

struct TIHDRData {
  std::uint32_t Width = 0;
  std::uint32_t Height = 0;
  std::uint8_t BitDepth = 0;
  std::uint8_t ColorType = 0;
  std::uint8_t CompressionMethod = 0;
  std::uint8_t FilterMethod = 0;
  std::uint8_t InterlaceMethod = 0;
};

struct TMAXBITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[256];
};

constexpr std::uint8_t COLOR_GRAYSCALE = 0, COLOR_RGB = 2, COLOR_PALETTE = 3, COLOR_GRAYSCALEALPHA = 4,
                       COLOR_RGBALPHA = 6;

// True for the colour type and bit depth pairs the format defines.
bool ValidColorTypeAndDepth(std::uint8_t colorType, std::uint8_t bitDepth);

class TChunkIHDR : public TChunk {
 public:
  static constexpr const char* kChunkName = "IHDR";
  explicit TChunkIHDR(TPNGObject* owner) : TChunk(owner, kChunkName) {}
  ~TChunkIHDR() override;
  const char* GetName() const override { return kChunkName; }

  bool LoadFromStream(TStream* stream, const TChunkName& name, std::uint32_t size) override;
  bool SaveToStream(TStream* stream) override;
  void Assign(TChunk* source) override;
  // The 13 data bytes saving writes (a bit depth of 2 is saved as 4).
  std::array<std::uint8_t, 13> SavedData() const;

  // Makes the storage for the header's size and type, cleared (EPNGOutMemory when too large).
  void PrepareImageData();
  void FreeImageData();
  // A grey palette of 2^bitCount entries through the owner's gamma table.
  HPALETTE CreateGrayscalePalette(int bitCount);
  // Copies up to 256 entries of the palette into the colour table of the description.
  void PaletteToDIB(HPALETTE palette);
  // A logical palette (version 0x300) of `count` entries, 1 .. 256.
  static HPALETTE CreateLogPalette(const PALETTEENTRY* entries, UINT count);

  // Where storage stops: an image of more pixels is refused (the fuzzer lowers it).
  static std::uint64_t PixelLimit;

  TIHDRData IHDRData;
  HBITMAP ImageHandle = nullptr;
  HDC ImageDC = nullptr;
  HPALETTE ImagePalette = nullptr;
  bool HasPalette = false;
  TMAXBITMAPINFO BitmapInfo{};
  std::uint8_t* ImageData = nullptr;         // the DIB section's bits
  std::vector<std::uint8_t> ImageAlpha;      // colour types 4 and 6
  std::vector<std::uint8_t> ExtraImageData;  // bit depth 16
  std::vector<std::uint8_t> ExtraAlpha;      // the low alpha bytes of colour types 4 and 6 at 16 bits
  std::uint32_t BytesPerRow = 0;

  std::uint8_t* AlphaData() { return ImageAlpha.empty() ? nullptr : ImageAlpha.data(); }
  std::uint8_t* ExtraData() { return ExtraImageData.empty() ? nullptr : ExtraImageData.data(); }
  std::uint8_t* ExtraAlphaData() { return ExtraAlpha.empty() ? nullptr : ExtraAlpha.data(); }
  std::uint64_t ImageBytes() const { return std::uint64_t(BytesPerRow) * IHDRData.Height; }

 private:
  void MakeImageData();
};
