#include "pictures/png/TChunkPLTE.h"

#include "pictures/png/PngExceptions.h"
#include "pictures/png/TChunkIHDR.h"
#include "pictures/png/TPNGObject.h"
#include "platform/gdi/Gdi.h"

bool TChunkPLTE::LoadFromStream(TStream* stream, const TChunkName& name, std::uint32_t size) {
  TChunk::LoadFromStream(stream, name, size);
  if (dataSize_ % 3 != 0 || dataSize_ > 768) RaiseError<EPNGInvalidPalette>(pngtext::InvalidPalette);
  count_ = dataSize_ / 3;
  TChunkIHDR* header = GetHeader();
  // Only a palette image shows its palette: grey images keep their grey table.
  if (!owner_ || !header || header->IHDRData.ColorType != COLOR_PALETTE || count_ == 0) return true;
  PALETTEENTRY entries[256];
  for (std::uint32_t i = 0; i < count_; ++i)
    entries[i] = PALETTEENTRY{owner_->GammaTable[data_[i * 3]], owner_->GammaTable[data_[i * 3 + 1]],
                              owner_->GammaTable[data_[i * 3 + 2]], 0};
  owner_->SetPalette(TChunkIHDR::CreateLogPalette(entries, count_));
  return true;
}

std::uint32_t TChunkPLTE::GetPaletteItem(std::uint32_t index) {
  TChunkIHDR* header = GetHeader();
  if (index >= count_ || index >= 256 || !header) RaiseError<EPngError>(pngtext::NoSuchPaletteEntry);
  const RGBQUAD& c = header->BitmapInfo.bmiColors[index];
  return std::uint32_t(c.rgbBlue) | std::uint32_t(c.rgbGreen) << 8 | std::uint32_t(c.rgbRed) << 16;
}

COLORREF TChunkPLTE::FileColor(std::uint32_t index) const {
  if (index >= count_ || std::uint64_t(index) * 3 + 3 > dataSize_) return 0;
  return RGB(data_[index * 3], data_[index * 3 + 1], data_[index * 3 + 2]);
}

void TChunkPLTE::BuildEntries() {
  TChunkIHDR* header = GetHeader();
  if (!header) return;
  if (count_ == 0) count_ = header->BitmapInfo.bmiHeader.biClrUsed;
  if (count_ > 256) count_ = 256;
  if (std::uint64_t(count_) * 3 == dataSize_) return;
  PALETTEENTRY entries[256] = {};
  if (header->ImagePalette) GetPaletteEntries(header->ImagePalette, 0, count_, entries);
  ResizeData(count_ * 3);
  for (std::uint32_t i = 0; i < count_; ++i) {
    data_[i * 3] = owner_->InverseGamma[entries[i].peRed];
    data_[i * 3 + 1] = owner_->InverseGamma[entries[i].peGreen];
    data_[i * 3 + 2] = owner_->InverseGamma[entries[i].peBlue];
  }
}

bool TChunkPLTE::SaveToStream(TStream* stream) {
  BuildEntries();
  return SaveData(stream);
}

void TChunkPLTE::Assign(TChunk* source) {
  auto* other = dynamic_cast<TChunkPLTE*>(source);
  if (!other) RaiseError<EPngError>(pngtext::NotCompatible);
  TChunk::Assign(source);
  count_ = other->count_;
}
