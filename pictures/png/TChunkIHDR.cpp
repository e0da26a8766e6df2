#include "pictures/png/TChunkIHDR.h"

#include <cstddef>
#include <cstring>
#include <new>

#include "pictures/png/PngCrc.h"
#include "pictures/png/PngExceptions.h"
#include "pictures/png/TChunktRNS.h"
#include "pictures/png/TPNGObject.h"
#include "platform/forms/TCanvas.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/ScopeExit.h"

std::uint64_t TChunkIHDR::PixelLimit = std::uint64_t(1) << 28;

bool ValidColorTypeAndDepth(std::uint8_t colorType, std::uint8_t bitDepth) {
  switch (colorType) {
    case COLOR_GRAYSCALE:
      return bitDepth == 1 || bitDepth == 2 || bitDepth == 4 || bitDepth == 8 || bitDepth == 16;
    case COLOR_PALETTE:
      return bitDepth == 1 || bitDepth == 2 || bitDepth == 4 || bitDepth == 8;
    case COLOR_RGB:
    case COLOR_GRAYSCALEALPHA:
    case COLOR_RGBALPHA:
      return bitDepth == 8 || bitDepth == 16;
    default:
      return false;
  }
}

TChunkIHDR::~TChunkIHDR() { FreeImageData(); }

bool TChunkIHDR::LoadFromStream(TStream* stream, const TChunkName& name, std::uint32_t size) {
  // A second header would remake the storage under the image data already read.
  if (owner_ && owner_->Chunks()->FindChunk<TChunkIHDR>() != this)
    RaiseError<EPngInvalidIHDR>(pngtext::InvalidIHDR);
  TChunk::LoadFromStream(stream, name, size);
  if (dataSize_ < 13) RaiseError<EPngInvalidIHDR>(pngtext::InvalidIHDR);
  TIHDRData h;
  h.Width = ReadBigEndian32(data_.data());
  h.Height = ReadBigEndian32(data_.data() + 4);
  h.BitDepth = data_[8];
  h.ColorType = data_[9];
  h.CompressionMethod = data_[10];
  h.FilterMethod = data_[11];
  h.InterlaceMethod = data_[12];
  if (h.Width > 65535 || h.Height > 65535) RaiseError<EPNGSizeExceeds>(pngtext::SizeExceeds);
  if (h.Width == 0 || h.Height == 0) RaiseError<EPngInvalidIHDR>(pngtext::InvalidIHDR);
  if (h.CompressionMethod != 0) RaiseError<EPNGUnknownCompression>(pngtext::UnknownCompression);
  if (h.InterlaceMethod > 1) RaiseError<EPNGUnknownInterlace>(pngtext::UnknownInterlace);
  if (!ValidColorTypeAndDepth(h.ColorType, h.BitDepth)) RaiseError<EPngInvalidIHDR>(pngtext::InvalidIHDR);
  IHDRData = h;
  if (owner_) owner_->InterlaceMethod = h.InterlaceMethod == 1 ? imAdam7 : imNone;
  PrepareImageData();
  return true;
}

bool TChunkIHDR::SaveToStream(TStream* stream) {
  if (IHDRData.BitDepth == 2) {
    // The bitmap holds 2-bit images at 4 bits; a grey one holds v as 5v, and so must its
    // transparent sample.
    if (IHDRData.ColorType == COLOR_GRAYSCALE && owner_)
      if (auto* trns = owner_->Chunks()->FindChunk<TChunktRNS>()) trns->WidenGray2();
    IHDRData.BitDepth = 4;
  }
  const std::array<std::uint8_t, 13> saved = SavedData();
  ResizeData(13);
  std::memcpy(data_.data(), saved.data(), 13);
  return SaveData(stream);
}

std::array<std::uint8_t, 13> TChunkIHDR::SavedData() const {
  std::array<std::uint8_t, 13> d{};
  WriteBigEndian32(d.data(), IHDRData.Width);
  WriteBigEndian32(d.data() + 4, IHDRData.Height);
  d[8] = IHDRData.BitDepth == 2 ? 4 : IHDRData.BitDepth;
  d[9] = IHDRData.ColorType;
  d[10] = IHDRData.CompressionMethod;
  d[11] = IHDRData.FilterMethod;
  d[12] = owner_ ? std::uint8_t(owner_->InterlaceMethod == imAdam7 ? 1 : 0) : IHDRData.InterlaceMethod;
  return d;
}

void TChunkIHDR::FreeImageData() {
  if (owner_ && ImageDC && owner_->Canvas()->HandleAllocated() && owner_->Canvas()->Handle() == ImageDC)
    owner_->Canvas()->SetHandle(nullptr);
  if (ImageDC) DeleteDC(ImageDC);
  if (ImageHandle) DeleteObject(ImageHandle);
  if (ImagePalette) DeleteObject(ImagePalette);
  ImageDC = nullptr;
  ImageHandle = nullptr;
  ImagePalette = nullptr;
  ImageData = nullptr;
  std::vector<std::uint8_t>().swap(ImageAlpha);
  std::vector<std::uint8_t>().swap(ExtraImageData);
  std::vector<std::uint8_t>().swap(ExtraAlpha);
  if (owner_) owner_->ImageChanged();
}

HPALETTE TChunkIHDR::CreateLogPalette(const PALETTEENTRY* entries, UINT count) {
  std::vector<std::uint8_t> buffer(sizeof(LOGPALETTE) + 256 * sizeof(PALETTEENTRY), 0);
  auto* palette = reinterpret_cast<LOGPALETTE*>(buffer.data());
  palette->palVersion = 0x300;
  palette->palNumEntries = WORD(count);
  std::memcpy(buffer.data() + offsetof(LOGPALETTE, palPalEntry), entries, count * sizeof(PALETTEENTRY));
  return CreatePalette(palette);
}

HPALETTE TChunkIHDR::CreateGrayscalePalette(int bitCount) {
  if (bitCount > 8) bitCount = 8;
  const int n = 1 << bitCount;
  PALETTEENTRY entries[256];
  for (int i = 0; i < n; ++i) {
    const BYTE g = owner_ ? owner_->GammaTable[MulDiv(i, 255, n - 1)] : BYTE(MulDiv(i, 255, n - 1));
    entries[i] = PALETTEENTRY{g, g, g, 0};
  }
  return CreateLogPalette(entries, UINT(n));
}

void TChunkIHDR::PaletteToDIB(HPALETTE palette) {
  PALETTEENTRY entries[256];
  const UINT count = GetPaletteEntries(palette, 0, 256, entries);
  BitmapInfo.bmiHeader.biClrUsed = count;
  for (UINT i = 0; i < count; ++i)
    BitmapInfo.bmiColors[i] = RGBQUAD{entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
}

void TChunkIHDR::PrepareImageData() {
  // Without storage the header describes an empty image, so nothing reads past it.
  platform::ScopeExit emptied([this] {
    FreeImageData();
    IHDRData.Width = IHDRData.Height = 0;
  });
  MakeImageData();
  emptied.Release();
}

void TChunkIHDR::MakeImageData() {
  std::memset(&BitmapInfo, 0, sizeof(BitmapInfo));
  FreeImageData();
  const TIHDRData& h = IHDRData;
  if (!ValidColorTypeAndDepth(h.ColorType, h.BitDepth)) RaiseError<EPngInvalidIHDR>(pngtext::InvalidIHDR);
  const std::uint64_t pixels = std::uint64_t(h.Width) * h.Height;
  if (pixels == 0 || pixels > PixelLimit) RaiseError<EPNGOutMemory>(pngtext::OutMemory);

  int bitCount = 24;
  HasPalette =
      h.ColorType == COLOR_GRAYSCALE || h.ColorType == COLOR_PALETTE || h.ColorType == COLOR_GRAYSCALEALPHA;
  if (HasPalette) bitCount = h.BitDepth == 2 ? 4 : h.BitDepth == 16 ? 8 : h.BitDepth;
  BITMAPINFOHEADER& bi = BitmapInfo.bmiHeader;
  bi.biSize = sizeof(BITMAPINFOHEADER);
  bi.biWidth = LONG(h.Width);
  bi.biHeight = LONG(h.Height);
  bi.biPlanes = 1;
  bi.biBitCount = WORD(bitCount);
  bi.biCompression = BI_RGB;
  BytesPerRow = std::uint32_t(((std::uint64_t(bitCount) * h.Width + 31) >> 5) * 4);

  try {
    if (h.ColorType == COLOR_GRAYSCALEALPHA || h.ColorType == COLOR_RGBALPHA) ImageAlpha.assign(pixels, 0);
    if (h.BitDepth == 16) ExtraImageData.assign(ImageBytes(), 0);
    if (h.BitDepth == 16 && !ImageAlpha.empty()) ExtraAlpha.assign(pixels, 0);
  } catch (const std::bad_alloc&) {
    FreeImageData();
    RaiseError<EPNGOutMemory>(pngtext::OutMemory);
  }

  ImageDC = CreateCompatibleDC(nullptr);
  if (HasPalette) {
    ImagePalette =
        h.ColorType == COLOR_PALETTE ? CreateHalftonePalette(ImageDC) : CreateGrayscalePalette(bitCount);
    ResizePalette(ImagePalette, UINT(1) << bitCount);
    bi.biClrUsed = DWORD(1) << bitCount;
    SelectPalette(ImageDC, ImagePalette, FALSE);
    RealizePalette(ImageDC);
    PaletteToDIB(ImagePalette);
  }
  void* bits = nullptr;
  ImageHandle = CreateDIBSection(ImageDC, reinterpret_cast<BITMAPINFO*>(&BitmapInfo), DIB_RGB_COLORS, &bits,
                                 nullptr, 0);
  if (!ImageHandle || !bits) {
    FreeImageData();
    RaiseError<EPNGOutMemory>(pngtext::OutMemory);
  }
  SelectObject(ImageDC, ImageHandle);
  ImageData = static_cast<std::uint8_t*>(bits);
  std::memset(ImageData, 0, ImageBytes());
  if (owner_) owner_->Canvas()->SetHandle(ImageDC);
}

void TChunkIHDR::Assign(TChunk* source) {
  auto* other = dynamic_cast<TChunkIHDR*>(source);
  if (!other) RaiseError<EPngError>(pngtext::NotCompatible);
  IHDRData = other->IHDRData;
  PrepareImageData();
  if (other->ImageData) std::memcpy(ImageData, other->ImageData, ImageBytes());
  if (!ImageAlpha.empty() && other->ImageAlpha.size() == ImageAlpha.size()) ImageAlpha = other->ImageAlpha;
  // The low bytes of 16-bit samples are part of the image too.
  if (!ExtraImageData.empty() && other->ExtraImageData.size() == ExtraImageData.size())
    ExtraImageData = other->ExtraImageData;
  if (!ExtraAlpha.empty() && other->ExtraAlpha.size() == ExtraAlpha.size()) ExtraAlpha = other->ExtraAlpha;
  std::memcpy(BitmapInfo.bmiColors, other->BitmapInfo.bmiColors, sizeof(BitmapInfo.bmiColors));
  BitmapInfo.bmiHeader.biClrUsed = other->BitmapInfo.bmiHeader.biClrUsed;
  if (ImagePalette && other->ImagePalette) {
    PALETTEENTRY entries[256];
    const UINT count = GetPaletteEntries(other->ImagePalette, 0, 256, entries);
    if (count > 0) {
      ResizePalette(ImagePalette, count);
      SetPaletteEntries(ImagePalette, 0, count, entries);
    }
  }
  if (HasPalette && ImageDC)
    SetDIBColorTable(ImageDC, 0, BitmapInfo.bmiHeader.biClrUsed, BitmapInfo.bmiColors);
}
